#include "ui/win32/controls/VNImages.h"

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
  Repaint();
}

void TVNPictureControl::SetBitmap(TBitmapHandle bitmap) {
  FileName.clear();
  Picture = std::move(bitmap);
  Repaint();
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
    SIZE size = BitmapSize(Bitmap());
    RECT source{0, 0, size.cx, size.cy};
    RECT dest = Stretched ? RECT{0, 0, width, height} : source;
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
  SIZE size = BitmapSize(Bitmap());
  if (auto at = ImageButtonPlacement(width, height, size.cx, size.cy)) {
    RECT dest{at->X, at->Y, at->X + at->Width, at->Y + at->Height};
    DrawBitmap(dc, Bitmap(), dest, {0, 0, at->Width, at->Height}, true);
  }
  DrawEdgeStyle(dc, {0, 0, width, height}, 4);
}

}  // namespace vnt
