#include "ui/win32/controls/VNEdit.h"

namespace vnt {

namespace {
constexpr int32_t WindowColor = int32_t(0x80000005), ButtonFaceColor = int32_t(0x8000000F);
}

void TVNEdit::SetReadOnly(bool on) {
  if (on == IsReadOnly) return;
  IsReadOnly = on;
  if (Handle()) SendMessageA(Handle(), EM_SETREADONLY, on, 0);
  SetColor(on ? ButtonFaceColor : WindowColor);
}

void TVNEdit::SetColor(int32_t color) {
  BackColor = color;
  Brush.reset(CreateSolidBrush(TFont::ColorOf(color)));
  Repaint();
}

// A box nobody can type into shows no caret over its first letter.
LRESULT TVNEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = TVNControl::HandleMessage(msg, wParam, lParam);
  if (msg == WM_SETFOCUS && IsReadOnly) DestroyCaret();
  return result;
}

void TVNEdit::Command(WORD code) {
  if (code == EN_CHANGE) Fire();
}

HBRUSH TVNEdit::ControlColor(HDC dc, UINT) {
  if (!Brush) Brush.reset(CreateSolidBrush(TFont::ColorOf(BackColor)));
  SetTextColor(dc, TextColor());
  SetBkColor(dc, TFont::ColorOf(BackColor));
  return Brush.get();
}

}  // namespace vnt
