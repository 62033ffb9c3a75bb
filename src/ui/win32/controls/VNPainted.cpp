#include "ui/win32/controls/VNPainted.h"

#include "ui/win32/controls/VNPaint.h"

namespace vnt {

bool TVNPaintedControl::PrepareClass() {
  WNDCLASSA wc{};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoA(instance, ClassName(), &wc)) return true;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = ClassName();
  return RegisterClassA(&wc) != 0;
}

LRESULT TVNPaintedControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  RECT client;
  switch (msg) {
    case WM_PAINT: {
      TBufferedPaint paint(Handle());
      GetClientRect(Handle(), &client);
      PaintBehind(Handle(), paint.Dc());
      Paint(paint.Dc(), client.right, client.bottom);
      return 0;
    }
    case WM_PRINTCLIENT:
      GetClientRect(Handle(), &client);
      PaintBehind(Handle(), reinterpret_cast<HDC>(wParam));
      Paint(reinterpret_cast<HDC>(wParam), client.right, client.bottom);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      if (!Clickable()) return HTTRANSPARENT;
      break;
    case WM_LBUTTONDOWN:
      Pressed = true;
      SetCapture(Handle());
      return 0;
    case WM_LBUTTONUP: {
      if (!Pressed) return 0;
      Pressed = false;
      ReleaseCapture();
      POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
      GetClientRect(Handle(), &client);
      if (PtInRect(&client, at)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      Pressed = false;
      break;
    case BM_CLICK:
      if (Clickable() && IsWindowEnabled(Handle())) Click();
      return 0;
  }
  return TVNControl::HandleMessage(msg, wParam, lParam);
}

LRESULT TVNBackdropControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      TBufferedPaint paint(Handle());
      PaintInto(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintInto(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
  }
  return TVNControl::HandleMessage(msg, wParam, lParam);
}

void TVNBackdropControl::PaintInto(HDC dc) {
  if (Transparent()) PaintBehind(Handle(), dc);
  else PaintParentBackground(Handle(), dc);
  Painting = true;
  DefaultMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  Painting = false;
}

HBRUSH TVNBackdropControl::ControlColor(HDC dc, UINT) {
  SetTextColor(dc, TextColor());
  SetBkMode(dc, TRANSPARENT);
  // The control drew straight on the screen (a click's state change): paint it whole again.
  if (!Painting) InvalidateRect(Handle(), nullptr, FALSE);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

}  // namespace vnt
