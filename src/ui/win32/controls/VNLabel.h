// TVNLabel: a word-wrapping label, opaque in the container's colour or transparent over
// what lies behind it. Clicks fire its event.
#pragma once

#include "ui/win32/controls/VNPainted.h"

namespace vnt {

class TVNLabel : public TVNBackdropControl {
public:
  void SetTransparent(bool on);
  bool Transparent() const override { return IsTransparent; }
  bool IsGraphic() const override { return true; }

protected:
  const char* ClassName() const override { return "STATIC"; }
  DWORD Style() const override { return SS_LEFT | SS_NOTIFY; }
  std::string DefaultText() const override { return "Label"; }
  SIZE DefaultSize() const override { return {65, 13}; }
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Command(WORD code) override;

private:
  bool IsTransparent = false;
};

}  // namespace vnt
