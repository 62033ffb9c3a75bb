#include "ui/win32/controls/VNShapes.h"

#include <commctrl.h>

#include "platform/win32/VisualStyles.h"

namespace vnt {

namespace {

constexpr int32_t ButtonShadow = int32_t(0x80000010), ButtonHighlight = int32_t(0x80000014),
                  WindowFrame = int32_t(0x80000006);

void HorizontalLine(HDC dc, int y, int width, int32_t color) {
  HPEN pen = CreatePen(PS_SOLID, 1, TFont::ColorOf(color));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, y, nullptr);
  LineTo(dc, width, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void FrameIn(HDC dc, RECT r, int32_t color) {
  HBRUSH brush = CreateSolidBrush(TFont::ColorOf(color));
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

void TVNLine::Paint(HDC dc, int width, int height) {
  int y = EtchedLineShadowY(height);
  HorizontalLine(dc, y, width, ButtonShadow);
  // A themed line is the shadow alone; the classic one is etched.
  if (!TVisualStyles::Instance().Active()) HorizontalLine(dc, y + 1, width, ButtonHighlight);
}

void TVNShape::SetShapeType(int32_t type) {
  Type = type;
  Repaint();
}

void TVNShape::SetPenColor(int32_t color) {
  Pen = color;
  Repaint();
}

void TVNShape::SetBrushColor(int32_t color) {
  Brush = color;
  Repaint();
}

void TVNShape::Paint(HDC dc, int width, int height) {
  TShapeGeometry g = ShapeGeometry(Type, width, height);
  HPEN pen = CreatePen(PS_SOLID, 1, TFont::ColorOf(Pen));
  HBRUSH brush = CreateSolidBrush(TFont::ColorOf(Brush));
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
  const TRectI& b = g.Bounds;
  switch (g.Form) {
    case TShapeForm::Rectangle: Rectangle(dc, b.Left, b.Top, b.Right, b.Bottom); break;
    case TShapeForm::RoundRect: RoundRect(dc, b.Left, b.Top, b.Right, b.Bottom, g.Corner, g.Corner); break;
    case TShapeForm::Ellipse: Ellipse(dc, b.Left, b.Top, b.Right, b.Bottom); break;
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void TVNFrame::SetCtl3D(bool on) {
  if (on == Is3D) return;
  Is3D = on;
  Repaint();
}

void TVNFrame::Paint(HDC dc, int width, int height) {
  HGDIOBJ oldFont = SelectObject(dc, FontHandle());
  SIZE zero{}, text{};
  GetTextExtentPoint32A(dc, "0", 1, &zero);
  std::string caption = Caption();
  if (!caption.empty()) GetTextExtentPoint32A(dc, caption.c_str(), int(caption.size()), &text);
  TFrameLayout l = FrameLayout(width, height, zero.cy, caption.empty() ? 0 : text.cx);
  RECT frame{l.Frame.Left, l.Frame.Top, l.Frame.Right, l.Frame.Bottom};
  RECT captionRect{l.Caption.Left, l.Caption.Top, l.Caption.Right, l.Caption.Bottom};
  if (!PaintThemed(dc, frame, captionRect)) {
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, captionRect.left, captionRect.top, captionRect.right, captionRect.bottom);
    if (Is3D) {
      frame.left += 1;
      frame.top += 1;
      FrameIn(dc, frame, ButtonHighlight);
      OffsetRect(&frame, -1, -1);
      FrameIn(dc, frame, ButtonShadow);
    } else {
      FrameIn(dc, frame, WindowFrame);
    }
    RestoreDC(dc, saved);
    if (!caption.empty()) PaintCaption(dc, captionRect);
  }
  SelectObject(dc, oldFont);
}

// The theme's group box: the caption, the frame drawn around it, the caption again on top.
bool TVNFrame::PaintThemed(HDC dc, const RECT& frame, const RECT& caption) {
  const TVisualStyles& styles = TVisualStyles::Instance();
  if (!styles.Active()) return false;
  int state = Enabled() ? ThemeGroupBoxNormal : ThemeGroupBoxDisabled;
  std::string text = Caption();
  UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, TextColor());
  auto drawCaption = [&] {
    if (!text.empty() && !styles.DrawText(Handle(), L"Button", ThemeGroupBox, state, dc, text, format, caption))
      PaintCaption(dc, caption);
  };
  drawCaption();
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, caption.left, caption.top, caption.right, caption.bottom);
  bool drawn = styles.DrawBackground(Handle(), L"Button", ThemeGroupBox, state, dc, frame);
  RestoreDC(dc, saved);
  drawCaption();
  return drawn;
}

void TVNFrame::PaintCaption(HDC dc, RECT caption) {
  caption.left += 1;
  std::string text = Caption();
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_SINGLELINE | DT_LEFT | DT_TOP;
  if (GetWindowLongA(Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) format |= DT_RTLREADING;
  if (!Enabled()) {
    RECT shifted = caption;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, TFont::ColorOf(ButtonHighlight));
    DrawTextA(dc, text.c_str(), int(text.size()), &shifted, format);
    SetTextColor(dc, TFont::ColorOf(ButtonShadow));
  } else {
    SetTextColor(dc, TextColor());
  }
  DrawTextA(dc, text.c_str(), int(text.size()), &caption, format);
}

const char* TVNProgress::ClassName() const { return PROGRESS_CLASSA; }

DWORD TVNProgress::Style() const { return PBS_SMOOTH; }

bool TVNProgress::PrepareClass() {
  INITCOMMONCONTROLSEX init{sizeof init, ICC_PROGRESS_CLASS};
  return InitCommonControlsEx(&init) != FALSE;
}

void TVNProgress::AfterCreate() {
  SendMessageA(Handle(), PBM_SETRANGE32, 0, 100);
  ShownMax = 100;
  ShownPosition = 0;
}

void TVNProgress::SetMax(int max) {
  if (!Handle() || max == ShownMax) return;
  SendMessageA(Handle(), PBM_SETRANGE32, 0, max);
  ShownMax = max;
  ShownPosition = -1;  // the range may have clamped it
}

void TVNProgress::SetPosition(int position) {
  if (!Handle() || position == ShownPosition) return;
  SendMessageA(Handle(), PBM_SETPOS, WPARAM(position), 0);
  ShownPosition = position;
}

int TVNProgress::Position() const { return int(SendMessageA(Handle(), PBM_GETPOS, 0, 0)); }

}  // namespace vnt
