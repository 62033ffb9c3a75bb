#include "ui/win32/controls/VNButtons.h"

namespace vnt {

namespace {
bool IsDialogWindow(HWND wnd) {
  char name[16] = "";
  GetClassNameA(wnd, name, sizeof name);
  return lstrcmpA(name, "#32770") == 0;
}
}  // namespace

DWORD TVNButton::Style() const { return WS_TABSTOP | (Flags.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON); }

void TVNButton::SetButtonType(int32_t type) {
  if (type == Type) return;
  Type = type;
  if (type < 0 || type > 2) return;
  Flags = ButtonFlags(type);
  if (!Handle()) return;
  SendMessageA(Handle(), BM_SETSTYLE, Flags.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  // Only a dialog knows DM_SETDEFID; on any other window the message means something else.
  if (Flags.Default && IsDialogWindow(Container()))
    SendMessageA(Container(), DM_SETDEFID, GetDlgCtrlID(Handle()), 0);
}

bool TVNButton::AnswersDialogKey(WPARAM key) const {
  return (key == VK_RETURN && Flags.Default) || (key == VK_ESCAPE && Flags.Cancel);
}

LRESULT TVNButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Tab navigation outside a real dialog takes the frame off every default-styled button and
  // never gives it back; answering as an ordinary push button keeps the page's default framed.
  if (msg == WM_GETDLGCODE && Flags.Default) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  return TVNControl::HandleMessage(msg, wParam, lParam);
}

void TVNButton::Command(WORD code) {
  if (code == BN_CLICKED) Fire();
}

bool TVNCheckControl::Checked() const {
  return Handle() && SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TVNCheckControl::SetChecked(bool on) {
  if (Handle()) SendMessageA(Handle(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TVNCheckControl::SetTransparentPaint(bool on) {
  if (on == TransparentPaint) return;
  TransparentPaint = on;
  Repaint();
}

void TVNCheckControl::Command(WORD code) {
  if (code == BN_CLICKED) Fire();
}

void TVNCheckBox::SetValue(const std::string& text) {
  if (text == Current) return;
  SetChecked(CheckBoxChecks(Values, text));
  Current = text;
  Repaint();
}

std::string TVNCheckBox::Value() const { return CheckBoxValue(Values, Checked(), Current); }

}  // namespace vnt
