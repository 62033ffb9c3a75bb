// Painting shared by the page controls: off-screen painting, what shows through a control
// that is transparent, edges and bitmaps with a transparent colour.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace vnt {

struct TGdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using TBitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, TGdiObjectDeleter>;
using TBrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, TGdiObjectDeleter>;

SIZE BitmapSize(HBITMAP bitmap);
// Loads a .bmp file; null when it is missing or no bitmap.
TBitmapHandle LoadBitmapFile(const std::string& path);

// Paints the container's background under the window into dc (origin at the window's
// top-left corner).
void PaintParentBackground(HWND wnd, HDC dc);
// Paints what lies behind the window: the container's background and the sibling windows
// beneath it in Z order. Nested calls, made while those siblings print themselves, do
// nothing: the outer call paints every layer once.
void PaintBehind(HWND wnd, HDC dc);

// WM_PAINT into an off-screen bitmap of the client size, copied to the window at the end.
class TBufferedPaint {
public:
  explicit TBufferedPaint(HWND wnd);
  ~TBufferedPaint();
  TBufferedPaint(const TBufferedPaint&) = delete;
  TBufferedPaint& operator=(const TBufferedPaint&) = delete;
  HDC Dc() const { return Memory ? Memory : Screen; }

private:
  HWND Wnd;
  PAINTSTRUCT Paint{};
  HDC Screen = nullptr, Memory = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Previous = nullptr;
  int Width = 0, Height = 0;
};

// Edge styles 0..5 of the painted controls around the rectangle.
void DrawEdgeStyle(HDC dc, RECT r, int style);
// Draws the source part of the bitmap into dest, stretched when the sizes differ; with
// transparent set, pixels of the bitmap's bottom-left colour are left out.
void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, bool transparent);
// As DrawBitmap, with the colour left out given: with transparent set, pixels of key.
void DrawBitmapKeyed(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, bool transparent, COLORREF key);

}  // namespace vnt
