// The splash picture window: a borderless, topmost window that shows one bitmap file.
#pragma once

#include <string>

#include "platform/win32/Window.h"

namespace vnt {

class TfrmSplashBitmapForm : public TWindow {
public:
  // Loads the bitmap file; Loaded() tells whether there is a picture to show.
  explicit TfrmSplashBitmapForm(const std::string& bitmapFile);
  ~TfrmSplashBitmapForm() override;

  bool Loaded() const { return Bitmap != nullptr; }
  // Shows the picture centred on the screen with the caption given.
  void ShowCentred(const std::string& caption);
  // Shows it centred across the screen, its bottom 32 pixels above windowTop.
  void ShowAbove(const std::string& caption, int windowTop);

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  void ShowAt(const std::string& caption, POINT at);

  HBITMAP Bitmap = nullptr;
  int Width = 0, Height = 0;
};

}  // namespace vnt
