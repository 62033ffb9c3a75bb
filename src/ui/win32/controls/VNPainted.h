// Two ways a page control paints: as a drawing of its own over what lies behind it (line,
// shape, frame, pictures), or as a standard control whose background is what lies behind
// it (labels, check boxes, radio buttons).
#pragma once

#include "ui/win32/controls/VNControl.h"

namespace vnt {

// A window of its own class that paints itself; clicks go through it unless it is
// clickable.
class TVNPaintedControl : public TVNControl {
public:
  bool IsGraphic() const override { return true; }

protected:
  const char* ClassName() const override = 0;
  bool PrepareClass() override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Paints the whole client area; what lies behind is not painted yet.
  virtual void Paint(HDC dc, int width, int height) = 0;
  virtual bool Clickable() const { return false; }
  // Fires OnEvent; the picture button adds its own click event.
  virtual void Click() { Fire(); }

private:
  bool Pressed = false;
};

// A standard control painted off-screen over what lies behind it (transparent) or over the
// container's background only (opaque), so that nothing is painted twice.
class TVNBackdropControl : public TVNControl {
protected:
  virtual bool Transparent() const = 0;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  HBRUSH ControlColor(HDC dc, UINT msg) override;

private:
  void PaintInto(HDC dc);
  bool Painting = false;
};

}  // namespace vnt
