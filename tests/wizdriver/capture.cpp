#include "capture.hpp"

#include <memory>
#include <type_traits>

#include "common.hpp"
#include "winmsg.hpp"

namespace wzd {
namespace {

struct DcReleaser {
  void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
  void operator()(HGDIOBJ obj) const { DeleteObject(obj); }
};

// A 32-bit top-down DIB selected into a memory DC: what both methods draw into.
class Canvas {
 public:
  Canvas(HDC screen, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_.reset(CreateCompatibleDC(screen));
    bitmap_.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!dc_ || !bitmap_ || !bits_) fail("cannot make a " + std::to_string(width) + "x" + std::to_string(height) + " bitmap");
    previous_ = SelectObject(dc_.get(), bitmap_.get());
  }
  ~Canvas() { SelectObject(dc_.get(), previous_); }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_.get(); }

  Image image() const {
    GdiFlush();
    Image out{width_, height_, {}};
    out.rgb.reserve(static_cast<size_t>(width_) * height_ * 3);
    const auto* p = static_cast<const std::uint8_t*>(bits_);
    for (int i = 0; i < width_ * height_; ++i, p += 4) out.rgb.insert(out.rgb.end(), {p[2], p[1], p[0]});
    return out;
  }

 private:
  int width_, height_;
  std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc_;
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter> bitmap_;
  void* bits_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

void bring_to_top(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  send_sync(hwnd, WM_NULL, 0, 0);  // let it finish painting
  Sleep(200);                      // and the display catch up
}

}  // namespace

Capture capture_window(HWND hwnd) {
  if (!IsWindow(hwnd)) fail("the window to snap is gone");
  if (!IsWindowVisible(hwnd) || IsIconic(hwnd)) fail("the window to snap is not shown");
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) fail("the window to snap has no size");

  std::unique_ptr<std::remove_pointer_t<HDC>, DcReleaser> screen(GetDC(nullptr));
  {
    Canvas canvas(screen.get(), width, height);
    if (PrintWindow(hwnd, canvas.dc(), 0)) {
      Image image = canvas.image();
      if (!image.uniform()) return {std::move(image), "printwindow"};
    }
  }
  bring_to_top(hwnd);
  GetWindowRect(hwnd, &r);
  Canvas canvas(screen.get(), width, height);
  if (!BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY | CAPTUREBLT))
    fail("cannot copy the window from the screen");
  return {canvas.image(), "screen"};
}

}  // namespace wzd
