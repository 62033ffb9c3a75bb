#include "ui/win32/controls/VNImages.h"

#include "platform/win32/ScreenDpi.h"
#include "platform/win32/VisualStyles.h"

namespace vnt {

void TVNPictureControl::SetFile(const std::string& name) {
  if (name == FileName) return;
  FileName = name;
  Reload();
}

void TVNPictureControl::Reload() {
  std::string path = ResolveImageFile && !FileName.empty() ? ResolveImageFile(FileName) : "";
  Picture = LoadBitmapFile(path);
  FromFile = true;
  Repaint();
}

void TVNPictureControl::SetBitmap(TBitmapHandle bitmap) {
  FileName.clear();
  Picture = std::move(bitmap);
  FromFile = false;
  Repaint();
}

SIZE TVNPictureControl::ShownSize() const {
  SIZE size = BitmapSize(Bitmap());
  if (FromFile) size = {Scaled(size.cx), Scaled(size.cy)};
  return size;
}

void TVNImage::Switch(bool& flag, bool on) {
  if (flag == on) return;
  flag = on;
  Repaint();
}

void TVNImage::SetStretch(bool on) { Switch(Stretched, on); }
void TVNImage::SetTransparent(bool on) { Switch(IsTransparent, on); }
void TVNImage::SetBorder(bool on) { Switch(HasBorder, on); }

void TVNImage::Paint(HDC dc, int width, int height) {
  if (!Empty()) {
    SIZE size = BitmapSize(Bitmap()), shown = ShownSize();
    RECT source{0, 0, size.cx, size.cy};
    RECT dest = Stretched ? RECT{0, 0, width, height} : RECT{0, 0, shown.cx, shown.cy};
    DrawBitmap(dc, Bitmap(), dest, source, IsTransparent);
  }
  if (!HasBorder) return;
  RECT all{0, 0, width, height};
  if (TVisualStyles::Instance().Active())
    DrawEdge(dc, &all, BDR_SUNKENOUTER, BF_RECT);
  else
    DrawEdgeStyle(dc, all, 3);
}

void TVNImageButton::Paint(HDC dc, int width, int height) {
  SIZE size = BitmapSize(Bitmap()), shown = ShownSize();
  if (auto at = ImageButtonPlacement(width, height, shown.cx, shown.cy)) {
    RECT dest{at->X, at->Y, at->X + at->Width, at->Y + at->Height};
    // The part of the bitmap that fills the shown part, in the bitmap's own pixels.
    RECT source{0, 0, MulDiv(at->Width, size.cx, shown.cx), MulDiv(at->Height, size.cy, shown.cy)};
    DrawBitmap(dc, Bitmap(), dest, source, true);
  }
  DrawEdgeStyle(dc, {0, 0, width, height}, 4);
}

}  // namespace vnt
