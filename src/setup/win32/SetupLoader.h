// The loader window shown while start-up restores the support files: the setup's title and
// a message over the program's own picture. The user cannot close it.
#pragma once

#include <memory>
#include <string>

#include "platform/win32/Window.h"

namespace vnt {

class TfrmSetupLoader : public TWindow {
public:
  // At 96 DPI; the window, its labels and its picture grow with the screen's DPI.
  static constexpr int ClientWidth = 300, ClientHeight = 110;

  // font: the setup font, or the program's own when the package keeps its own fonts; the
  // loader shows it white, bold, 8 points.
  TfrmSetupLoader(const std::string& caption, const std::string& title, const std::string& message,
                  const TFontRecord& font, bool splash);
  ~TfrmSetupLoader() override;

  void ShowAndPaint();

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  void Paint();
  void DrawLabel(HDC dc, HWND label, UINT alignment);
  HWND MakeLabel(const std::string& text, const char* name, int left, int top, int width, int height);

  HBITMAP Picture = nullptr;  // at the window's size on this screen
  int Width = 0, Height = 0;
  std::unique_ptr<TFont> Font;
  HWND lblTitle = nullptr, lblMessage = nullptr;
};

}  // namespace vnt
