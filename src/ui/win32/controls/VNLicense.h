// TVNLicense: the read-only rich-text viewer for licence and other text files. Links are
// detected and opened with the shell when clicked.
#pragma once

#include <functional>

#include "ui/win32/controls/VNControl.h"

namespace vnt {

class TVNLicense : public TVNControl {
public:
  ~TVNLicense() override;
  // Off: a plain multi-line edit. Each switch recreates the window.
  void SetUseRichEdit(bool on);
  bool UseRichEdit() const { return UseRich; }
  // 2 with RICHED20.DLL, 1 with RICHED32.DLL, 0 without rich edit.
  int RichEditVersion() const { return Library; }
  // Shows the file, as rich text when it is rich text; empty and false when unreadable.
  bool LoadFile(const std::string& path);
  void SetText(const std::string& text);
  void ClearLines() { SetText(""); }
  // Opens a clicked link; empty means the shell's "open" verb.
  std::function<void(const std::string& link)> OpenLink;

protected:
  const char* ClassName() const override;
  DWORD Style() const override { return WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  SIZE DefaultSize() const override { return {185, 89}; }
  bool PrepareClass() override;
  void AfterCreate() override;
  LRESULT Notify(NMHDR& header) override;

private:
  void Release();
  bool UseRich = true;
  int Library = 0;
};

}  // namespace vnt
