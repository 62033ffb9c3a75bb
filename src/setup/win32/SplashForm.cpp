#include "setup/win32/SplashForm.h"

#include "platform/win32/ScreenDpi.h"

namespace vnt {

namespace {
constexpr char SplashClass[] = "TfrmSplashBitmapForm";
}

TfrmSplashBitmapForm::TfrmSplashBitmapForm(const std::string& bitmapFile) {
  Bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, bitmapFile.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!Bitmap) return;
  BITMAP info{};
  GetObjectA(Bitmap, sizeof info, &info);
  // The package's picture is drawn for 96 DPI: it grows with the screen as the pages do.
  Width = info.bmWidth;
  Height = info.bmHeight;
  if (Scaled(Width) == Width && Scaled(Height) == Height) return;
  if (HBITMAP stretched = StretchedCopy(Bitmap, Scaled(Width), Scaled(Height))) {
    DeleteObject(Bitmap);
    Bitmap = stretched;
    Width = Scaled(Width);
    Height = Scaled(Height);
  }
}

TfrmSplashBitmapForm::~TfrmSplashBitmapForm() {
  Destroy();
  if (Bitmap) DeleteObject(Bitmap);
}

void TfrmSplashBitmapForm::ShowCentred(const std::string& caption) { ShowAt(caption, CentredOnScreen(Width, Height)); }

void TfrmSplashBitmapForm::ShowAbove(const std::string& caption, int windowTop) {
  ShowAt(caption, {GetSystemMetrics(SM_CXSCREEN) / 2 - Width / 2, windowTop - Height - Scaled(32)});
}

void TfrmSplashBitmapForm::ShowAt(const std::string& caption, POINT at) {
  if (!Bitmap) return;
  RegisterWindowClass(SplashClass, LoadCursor(nullptr, IDC_WAIT), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!Handle())
    CreateWindowOf(SplashClass, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, caption, at.x, at.y, Width,
                   Height);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
}

LRESULT TfrmSplashBitmapForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return TWindow::HandleMessage(msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, Bitmap);
  BitBlt(dc, 0, 0, Width, Height, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  EndPaint(Handle(), &ps);
  return 0;
}

}  // namespace vnt
