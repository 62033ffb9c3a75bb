// Building blocks of the fixed windows (directory selection, next disk, replace question,
// copying and connection windows): their controls are made at fixed places in one font.
// Places and sizes are given in pixels of a 96-DPI screen; these blocks scale them to the
// screen's DPI, and only they do.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/ScreenDpi.h"
#include "ui/win32/controls/VNButtons.h"
#include "ui/win32/controls/VNLabel.h"

namespace vnt {

// The font of the fixed windows unless their caller gives one: Arial 8 points.
inline TFontRecord FixedFormFont() { return {"Arial", 8, int32_t(0x80000008), 0, 1}; }

// The size a one-line text needs in the font.
SIZE TextSize(const TFontRecord& font, const std::string& text);

// A hidden control on the form, named and placed (96-DPI pixels).
template <class T>
std::unique_ptr<T> MakeControl(HWND form, const char* name, const TFontRecord& font, int left, int top, int width,
                               int height) {
  auto control = std::make_unique<T>();
  if (!control->Create(form)) return nullptr;
  control->SetName(name);
  control->SetFont(font);
  control->SetBounds(ScaledBounds(left, top, width, height));
  return control;
}

// The form's client size given in 96-DPI pixels, on this screen.
SIZE ScaledClientSize(int width, int height);

// A label as wide and high as its one-line text: its place is scaled, its size measured in
// the font, which follows the screen's DPI already.
std::unique_ptr<TVNLabel> MakeLabel(HWND form, const char* name, const TFontRecord& font, const std::string& text,
                                    int left, int top);
// A push button of the usual 75 by 25 (or the height given); type 1 cancel (Esc), 2 default (Enter).
std::unique_ptr<TVNButton> MakeButton(HWND form, const char* name, const TFontRecord& font, const std::string& text,
                                      int left, int top, int type, int height = 25);

// A picture of the system's or the shell's: a static control showing an icon that its
// owner keeps alive while it shows.
class TIconPicture {
public:
  TIconPicture() = default;
  ~TIconPicture();
  TIconPicture(const TIconPicture&) = delete;
  TIconPicture& operator=(const TIconPicture&) = delete;
  // The hidden control on the form, named and placed.
  bool Create(HWND form, const char* name, int left, int top, int size);
  void SetIcon(HICON icon);
  void SetVisible(bool on);
  HWND Handle() const { return Wnd; }

private:
  HWND Wnd = nullptr;
};
std::unique_ptr<TIconPicture> MakeIconPicture(HWND form, const char* name, int left, int top, int size);

// The font record with the style bit for bold added.
TFontRecord BoldFont(TFontRecord font);

}  // namespace vnt
