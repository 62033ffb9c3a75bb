// Painting the background window: the gradient or picture, the corner items, and the items'
// entry, drawn off-screen so that each frame changes only the moving item's rectangle.
#include "ui/win32/wizard/BackWindow.h"

namespace vnt {

namespace {

// A memory DC with a bitmap of its own, the size given, compatible with the screen.
struct TScene {
  TScene(HDC like, int width, int height)
      : Dc(CreateCompatibleDC(like)), Bitmap(CreateCompatibleBitmap(like, width, height)) {
    if (Dc && Bitmap) Previous = SelectObject(Dc, Bitmap.get());
  }
  ~TScene() {
    if (Dc) {
      if (Previous) SelectObject(Dc, Previous);
      DeleteDC(Dc);
    }
  }
  TScene(const TScene&) = delete;
  TScene& operator=(const TScene&) = delete;
  bool Ok() const { return Dc && Bitmap && Previous; }
  HDC Dc;
  TBitmapHandle Bitmap;
  HGDIOBJ Previous = nullptr;
};

RECT ItemRect(TPointI at, const TItemBox& box) { return {at.X, at.Y, at.X + box.Width + 4, at.Y + box.Height}; }

bool RightCorner(uint8_t corner) { return corner == CornerTopRight || corner == CornerBottomRight; }

}  // namespace

COLORREF TfrmBackWindow::GradientColor(int step) const {
  const TSetupProperties& p = State.Description.Properties;
  COLORREF c = GradientStepColor(TFont::ColorOf(p.BackgroundColor1), TFont::ColorOf(p.BackgroundColor2), step);
  return Palette ? PALETTERGB(GetRValue(c), GetGValue(c), GetBValue(c)) : c;
}

void TfrmBackWindow::PaintBackground(HDC dc, const RECT& client) const {
  const TSetupProperties& p = State.Description.Properties;
  const int width = client.right, height = client.bottom;
  if (!Picture || p.BackgroundMode == 2) {
    if (!Palette) {
      TBrushHandle brush(CreateSolidBrush(TFont::ColorOf(p.BackgroundColor1)));
      FillRect(dc, &client, brush.get());
    } else {
      const bool vertical = p.GradientDirection != 0;
      for (int i = 0; i < GradientSteps; ++i) {
        auto [from, to] = GradientStripe(vertical ? height : width, i);
        RECT stripe = vertical ? RECT{0, from, width, to} : RECT{from, 0, to, height};
        TBrushHandle brush(CreateSolidBrush(GradientColor(i)));
        FillRect(dc, &stripe, brush.get());
      }
    }
  }
  if (!Picture) return;
  SIZE size = BitmapSize(Picture.get());
  RECT whole{0, 0, size.cx, size.cy};
  if (p.BackgroundMode == 0) {
    DrawBitmap(dc, Picture.get(), client, whole, false);
  } else if (p.BackgroundMode == 1) {
    TPointI copies = TileCounts(width, height, size.cx, size.cy);
    for (int row = 0; row < copies.Y; ++row)
      for (int column = 0; column < copies.X; ++column) {
        RECT at{column * size.cx, row * size.cy, (column + 1) * size.cx, (row + 1) * size.cy};
        DrawBitmap(dc, Picture.get(), at, whole, false);
      }
  } else {
    int left = width / 2 - size.cx / 2, top = height / 2 - size.cy / 2;
    RECT at{left, top, left + size.cx, top + size.cy};
    DrawBitmap(dc, Picture.get(), at, whole, false);
  }
}

std::vector<TItemBox> TfrmBackWindow::Boxes(HDC dc) const {
  std::vector<TItemBox> boxes;
  for (const TItem& item : Items) {
    const TSetupBackItem& d = *item.Definition;
    TItemBox box{d.Position};
    if (d.IsText()) {
      TFont font(d.Font);
      HGDIOBJ old = SelectObject(dc, font.Handle());
      SIZE dot{}, text{};
      GetTextExtentPoint32A(dc, ".", 1, &dot);
      GetTextExtentPoint32A(dc, item.Text.c_str(), int(item.Text.size()), &text);
      SelectObject(dc, old);
      TTextItemSize size = TextItemSize(dot.cx, text.cx, text.cy, d.Shadow != 0);
      box.Width = size.Width;
      box.Height = size.Height;
    } else {
      box.Width = item.PictureSize.X;
      box.Height = item.PictureSize.Y;
    }
    boxes.push_back(box);
  }
  return boxes;
}

void TfrmBackWindow::DrawItem(HDC dc, const TItem& item, TPointI at) const {
  const TSetupBackItem& d = *item.Definition;
  if (!d.IsText()) {
    if (!item.Picture) return;  // a missing picture is left out
    SIZE size = BitmapSize(item.Picture.get());
    int x = at.X + (RightCorner(d.Position) ? 4 : 0);
    RECT dest{x, at.Y, x + size.cx, at.Y + size.cy};
    DrawBitmapKeyed(dc, item.Picture.get(), dest, {0, 0, size.cx, size.cy}, d.Transparent != 0,
                    TFont::ColorOf(d.TransparentColor));
    return;
  }
  TFont font(d.Font);
  HGDIOBJ old = SelectObject(dc, font.Handle());
  int oldMode = SetBkMode(dc, TRANSPARENT);
  if (d.Shadow) {
    SIZE dot{};
    GetTextExtentPoint32A(dc, ".", 1, &dot);
    int s = TextItemSize(dot.cx, 0, 0, true).ShadowOffset;
    SetTextColor(dc, TFont::ColorOf(d.ShadowColor));
    TextOutA(dc, at.X + s, at.Y + s, item.Text.c_str(), int(item.Text.size()));
  }
  SetTextColor(dc, TFont::ColorOf(d.Font.Color));
  TextOutA(dc, at.X, at.Y, item.Text.c_str(), int(item.Text.size()));
  SetBkMode(dc, oldMode);
  SelectObject(dc, old);
}

void TfrmBackWindow::Paint(HDC dc) {
  HPALETTE oldPalette = Palette ? SelectPalette(dc, Palette, FALSE) : nullptr;
  if (Palette) RealizePalette(dc);
  RECT client;
  GetClientRect(Handle(), &client);
  PaintBackground(dc, client);
  std::vector<TItemBox> boxes = Boxes(dc);
  std::vector<TPointI> at = LayOutBackItems(boxes, client.right, client.bottom);
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i].Shown) DrawItem(dc, Items[i], at[i]);
  if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
}

// Each item in list order flies in from its edge (or simply appears), once.
void TfrmBackWindow::PlayEntry() {
  HDC window = GetDC(Handle());
  if (!window) return;
  RECT client;
  GetClientRect(Handle(), &client);
  TScene scene(window, client.right, client.bottom);  // the background and the items already in
  if (scene.Ok()) {
    Paint(scene.Dc);
    std::vector<TItemBox> boxes = Boxes(scene.Dc);
    std::vector<TPointI> at = LayOutBackItems(boxes, client.right, client.bottom);
    for (size_t i = 0; i < Items.size() && IsWindow(Handle()); ++i) FlyIn(window, scene.Dc, Items[i], boxes[i], at[i], client);
  }
  for (TItem& item : Items) item.Shown = true;
  ReleaseDC(Handle(), window);
}

void TfrmBackWindow::FlyIn(HDC window, HDC scene, TItem& item, const TItemBox& box, TPointI target, const RECT& client) {
  std::vector<TPointI> frames =
      EntryFrames(item.Definition->Effect, target, box.Width, box.Height, client.right, client.bottom);
  TScene frame(window, client.right, client.bottom);
  RECT previous{};
  for (TPointI p : frames) {
    if (!frame.Ok() || !IsWindow(Handle())) break;
    RECT now = ItemRect(p, box), changed;
    UnionRect(&changed, &previous, &now);
    IntersectRect(&changed, &changed, &client);
    int w = changed.right - changed.left, h = changed.bottom - changed.top;
    BitBlt(frame.Dc, changed.left, changed.top, w, h, scene, changed.left, changed.top, SRCCOPY);
    DrawItem(frame.Dc, item, p);
    BitBlt(window, changed.left, changed.top, w, h, frame.Dc, changed.left, changed.top, SRCCOPY);
    previous = now;
    if (frames.size() > 1) {
      Sleep(1);
      ProcessMessages();
    }
  }
  item.Shown = true;
  DrawItem(scene, item, target);
}

}  // namespace vnt
