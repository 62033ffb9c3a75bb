// TVNEdit: a single-line text box with a read-only switch; every change of its text fires
// its event.
#pragma once

#include "ui/win32/controls/VNControl.h"
#include "ui/win32/controls/VNPaint.h"

namespace vnt {

class TVNEdit : public TVNControl {
public:
  // Read-only boxes take the button-face colour, editable ones the window colour.
  void SetReadOnly(bool on);
  bool ReadOnly() const { return IsReadOnly; }
  // A colour value of the font record kind (system colours with the top bit).
  void SetColor(int32_t color);
  int32_t Color() const { return BackColor; }

protected:
  const char* ClassName() const override { return "EDIT"; }
  DWORD Style() const override { return WS_TABSTOP | ES_AUTOHSCROLL; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  std::string DefaultText() const override { return "Text Box"; }
  SIZE DefaultSize() const override { return {121, 21}; }
  void Command(WORD code) override;
  HBRUSH ControlColor(HDC dc, UINT msg) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  bool IsReadOnly = false;
  int32_t BackColor = int32_t(0x80000005);
  TBrushHandle Brush;
};

}  // namespace vnt
