#include "ui/win32/windows/DiskPicture.h"

namespace vnt {

namespace {

// Coordinates are given on a 48 by 48 grid.
struct TGrid {
  int Size;
  int operator()(int v) const { return MulDiv(v, Size, 48); }
};

void FillBox(HDC dc, const TGrid& g, int left, int top, int right, int bottom, COLORREF color) {
  RECT r{g(left), g(top), g(right), g(bottom)};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// The body: a square whose top-right corner is cut off.
void DrawBody(HDC dc, const TGrid& g, int dx, int dy, COLORREF fill, COLORREF edge) {
  POINT corners[] = {{g(5 + dx), g(4 + dy)},  {g(38 + dx), g(4 + dy)},  {g(43 + dx), g(9 + dy)},
                     {g(43 + dx), g(44 + dy)}, {g(5 + dx), g(44 + dy)}};
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, 1, edge);
  HGDIOBJ oldBrush = SelectObject(dc, brush), oldPen = SelectObject(dc, pen);
  Polygon(dc, corners, 5);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void DrawDisk(HDC dc, const TGrid& g) {
  DrawBody(dc, g, 2, 2, RGB(128, 128, 128), RGB(128, 128, 128));  // shadow
  DrawBody(dc, g, 0, 0, RGB(36, 64, 150), RGB(16, 32, 90));
  FillBox(dc, g, 14, 4, 34, 18, RGB(200, 202, 210));  // shutter
  FillBox(dc, g, 27, 7, 31, 15, RGB(60, 60, 70));     // its window
  FillBox(dc, g, 10, 23, 38, 43, RGB(250, 250, 250)); // label
  for (int y : {28, 33, 38}) FillBox(dc, g, 13, y, 35, y + 1, RGB(150, 160, 190));
}

}  // namespace

TBitmapHandle DrawDiskPicture(int size, COLORREF background) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen, size, size));
  ReleaseDC(nullptr, screen);
  if (!dc || !bitmap) {
    if (dc) DeleteDC(dc);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, bitmap.get());
  TGrid g{size};
  FillBox(dc, g, 0, 0, 48, 48, background);
  DrawDisk(dc, g);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace vnt
