#include "ui/win32/windows/FixedForms.h"

namespace vnt {

SIZE TextSize(const TFontRecord& font, const std::string& text) {
  TFont made(font);
  HDC dc = GetDC(nullptr);
  HGDIOBJ gdiFont = made.Handle() ? static_cast<HGDIOBJ>(made.Handle()) : GetStockObject(DEFAULT_GUI_FONT);
  HGDIOBJ old = SelectObject(dc, gdiFont);
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.empty() ? " " : text.c_str(), text.empty() ? 1 : int(text.size()), &r,
            DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return {r.right, r.bottom};
}

SIZE ScaledClientSize(int width, int height) { return {Scaled(width), Scaled(height)}; }

std::unique_ptr<TVNLabel> MakeLabel(HWND form, const char* name, const TFontRecord& font, const std::string& text,
                                    int left, int top) {
  auto label = MakeControl<TVNLabel>(form, name, font, left, top, 0, 0);
  if (!label) return nullptr;
  SIZE size = TextSize(font, text);
  label->SetBounds({Scaled(left), Scaled(top), Scaled(left) + size.cx, Scaled(top) + size.cy});
  label->SetCaption(text);
  return label;
}

std::unique_ptr<TVNButton> MakeButton(HWND form, const char* name, const TFontRecord& font, const std::string& text,
                                      int left, int top, int type, int height) {
  auto button = MakeControl<TVNButton>(form, name, font, left, top, 75, height);
  if (!button) return nullptr;
  button->SetCaption(text);
  button->SetButtonType(type);
  return button;
}

TIconPicture::~TIconPicture() {
  if (!Wnd) return;
  ReleaseComponentName(Wnd);
  DestroyWindow(Wnd);
}

bool TIconPicture::Create(HWND form, const char* name, int left, int top, int size) {
  if (Wnd) return false;
  RECT r = ScaledBounds(left, top, size, size);
  Wnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_ICON | SS_CENTERIMAGE | SS_REALSIZECONTROL, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, form, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (Wnd) SetComponentName(Wnd, name);
  return Wnd != nullptr;
}

void TIconPicture::SetIcon(HICON icon) {
  if (Wnd) SendMessageA(Wnd, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

void TIconPicture::SetVisible(bool on) {
  if (Wnd) ShowWindow(Wnd, on ? SW_SHOWNA : SW_HIDE);
}

std::unique_ptr<TIconPicture> MakeIconPicture(HWND form, const char* name, int left, int top, int size) {
  auto picture = std::make_unique<TIconPicture>();
  return picture->Create(form, name, left, top, size) ? std::move(picture) : nullptr;
}

TFontRecord BoldFont(TFontRecord font) {
  font.Style |= 1;
  return font;
}

}  // namespace vnt
