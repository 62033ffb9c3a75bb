#include "platform/win32/ScreenDpi.h"

#include "platform/ScreenScale.h"

namespace vnt {

namespace {
int ReadScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : DesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : DesignDpi;
}
}  // namespace

int ScreenDpi() {
  static const int dpi = ReadScreenDpi();
  return dpi;
}

int Scaled(int value) { return ScaleLength(value, ScreenDpi()); }

RECT ScaledBounds(int left, int top, int width, int height) {
  TScaledSpan x = ScaleSpan(left, width, ScreenDpi()), y = ScaleSpan(top, height, ScreenDpi());
  return {x.Start, y.Start, x.Start + x.Length, y.Start + y.Length};
}

HBITMAP StretchedCopy(HBITMAP source, int width, int height) {
  BITMAP info{};
  if (!source || !GetObjectA(source, sizeof info, &info) || width <= 0 || height <= 0) return nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (copy && from && to) {
    HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, copy);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, width, height, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  if (from) DeleteDC(from);
  if (to) DeleteDC(to);
  return copy;
}

}  // namespace vnt
