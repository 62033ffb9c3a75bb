#include "ui/win32/controls/VNPaint.h"

#include <string>
#include <vector>

#include "ui/ControlRules.h"

namespace vnt {

namespace {

// Above zero while PaintBehind lets the layers beneath a control print themselves.
int CaptureDepth = 0;

// A memory DC with a bitmap selected, released in reverse order.
class TMemoryDc {
public:
  TMemoryDc(HDC like, HBITMAP bitmap) : Dc(CreateCompatibleDC(like)), Previous(SelectObject(Dc, bitmap)) {}
  ~TMemoryDc() {
    SelectObject(Dc, Previous);
    DeleteDC(Dc);
  }
  TMemoryDc(const TMemoryDc&) = delete;
  TMemoryDc& operator=(const TMemoryDc&) = delete;
  HDC Dc;

private:
  HGDIOBJ Previous;
};

}  // namespace

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

TBitmapHandle LoadBitmapFile(const std::string& path) {
  DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
  return TBitmapHandle(static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
}

void PaintParentBackground(HWND wnd, HDC dc) {
  HWND parent = GetParent(wnd);
  POINT at{0, 0};
  MapWindowPoints(wnd, parent, &at, 1);
  int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, -at.x, -at.y, nullptr);
  SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
}

void PaintBehind(HWND wnd, HDC dc) {
  if (CaptureDepth > 0) return;
  ++CaptureDepth;
  PaintParentBackground(wnd, dc);
  RECT mine;
  GetWindowRect(wnd, &mine);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  std::vector<HWND> beneath;
  for (HWND w = GetWindow(wnd, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) beneath.push_back(w);
  for (auto it = beneath.rbegin(); it != beneath.rend(); ++it) {  // bottom-most first
    RECT r, overlap;
    GetWindowRect(*it, &r);
    // The window's own flag: a hidden panel's layers still paint into an off-screen copy.
    bool shown = GetWindowLongA(*it, GWL_STYLE) & WS_VISIBLE;
    if (!shown || !IntersectRect(&overlap, &r, &mine)) continue;
    int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, r.left - origin.x, r.top - origin.y, nullptr);
    IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    SendMessageA(*it, WM_PRINT, reinterpret_cast<WPARAM>(dc),
                 PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    RestoreDC(dc, saved);
  }
  --CaptureDepth;
}

TBufferedPaint::TBufferedPaint(HWND wnd) : Wnd(wnd) {
  Screen = BeginPaint(wnd, &Paint);
  RECT r;
  GetClientRect(wnd, &r);
  Width = r.right;
  Height = r.bottom;
  if (Width <= 0 || Height <= 0) return;
  Memory = CreateCompatibleDC(Screen);
  Bitmap = CreateCompatibleBitmap(Screen, Width, Height);
  if (!Memory || !Bitmap) {  // out of GDI resources: paint directly
    if (Memory) DeleteDC(Memory);
    if (Bitmap) DeleteObject(Bitmap);
    Memory = nullptr;
    Bitmap = nullptr;
    return;
  }
  Previous = SelectObject(Memory, Bitmap);
}

TBufferedPaint::~TBufferedPaint() {
  if (Memory) {
    BitBlt(Screen, 0, 0, Width, Height, Memory, 0, 0, SRCCOPY);
    SelectObject(Memory, Previous);
    DeleteDC(Memory);
    DeleteObject(Bitmap);
  }
  EndPaint(Wnd, &Paint);
}

void DrawEdgeStyle(HDC dc, RECT r, int style) {
  TEdgeStyle e = EdgeStyle(style);
  UINT edge = (e.RaisedOuter ? BDR_RAISEDOUTER : 0) | (e.SunkenOuter ? BDR_SUNKENOUTER : 0) |
              (e.RaisedInner ? BDR_RAISEDINNER : 0) | (e.SunkenInner ? BDR_SUNKENINNER : 0);
  if (edge) DrawEdge(dc, &r, edge, BF_RECT | (e.Soft ? BF_SOFT : 0));
}

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, bool transparent) {
  COLORREF key = 0;
  if (transparent && bitmap) {
    TMemoryDc picture(dc, bitmap);
    key = GetPixel(picture.Dc, 0, BitmapSize(bitmap).cy - 1);
  }
  DrawBitmapKeyed(dc, bitmap, dest, source, transparent, key);
}

void DrawBitmapKeyed(HDC dc, HBITMAP bitmap, const RECT& dest, const RECT& source, bool transparent, COLORREF key) {
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  int sw = source.right - source.left, sh = source.bottom - source.top;
  if (!bitmap || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  TMemoryDc picture(dc, bitmap);
  // A picture grown (a 96-DPI picture on a finer screen) is smoothed; the transparent one's
  // mask must keep its exact colours.
  bool smooth = !transparent && (dw > sw || dh > sh);
  int oldMode = SetStretchBltMode(dc, smooth ? HALFTONE : COLORONCOLOR);
  POINT oldOrigin{};
  if (smooth) SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  if (!transparent) {
    StretchBlt(dc, dest.left, dest.top, dw, dh, picture.Dc, source.left, source.top, sw, sh, SRCCOPY);
    if (smooth) SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
    return;
  }
  TBitmapHandle maskBitmap(CreateBitmap(sw, sh, 1, 1, nullptr));
  TBitmapHandle imageBitmap(CreateCompatibleBitmap(dc, sw, sh));
  if (!maskBitmap || !imageBitmap) return;
  TMemoryDc mask(dc, maskBitmap.get()), image(dc, imageBitmap.get());
  // Mask: white where the key colour is. Image: the picture with the key colour black.
  SetBkColor(picture.Dc, key);
  BitBlt(mask.Dc, 0, 0, sw, sh, picture.Dc, source.left, source.top, SRCCOPY);
  BitBlt(image.Dc, 0, 0, sw, sh, picture.Dc, source.left, source.top, SRCCOPY);
  SetBkColor(image.Dc, RGB(255, 255, 255));
  SetTextColor(image.Dc, RGB(0, 0, 0));
  constexpr DWORD DestAndNotSource = 0x00220326;
  BitBlt(image.Dc, 0, 0, sw, sh, mask.Dc, 0, 0, DestAndNotSource);
  COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255)), oldText = SetTextColor(dc, RGB(0, 0, 0));
  StretchBlt(dc, dest.left, dest.top, dw, dh, mask.Dc, 0, 0, sw, sh, SRCAND);
  StretchBlt(dc, dest.left, dest.top, dw, dh, image.Dc, 0, 0, sw, sh, SRCPAINT);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
  SetStretchBltMode(dc, oldMode);
}

}  // namespace vnt
