#include "ui/win32/controls/VNLists.h"

namespace vnt {

namespace {
constexpr TVNItemControl::TMessages ComboBoxMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_GETCOUNT, CB_GETLBTEXTLEN,
                                                     CB_GETLBTEXT, CB_SETCURSEL, CB_GETCURSEL};

HBRUSH WindowColors(HDC dc, COLORREF text) {
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}
}  // namespace

void TVNListBox::SetMultiSelect(bool on) {
  if (on == Multi) return;
  Multi = on;
  RecreateKeepingItems();
  SelectIndex(FindExactItem(Items(), Remembered));
}

void TVNListBox::SelectIndex(int index) {
  if (!Handle()) return;
  if (!Multi) {
    SendMessageA(Handle(), LB_SETCURSEL, WPARAM(index), 0);
    return;
  }
  SendMessageA(Handle(), LB_SETSEL, FALSE, -1);
  if (index >= 0) {
    SendMessageA(Handle(), LB_SETSEL, TRUE, index);
    SendMessageA(Handle(), LB_SETCARETINDEX, WPARAM(index), FALSE);
  }
}

void TVNListBox::SetValue(const std::string& text) {
  Remembered = text;
  SelectIndex(FindExactItem(Items(), text));
  Fire();
}

void TVNListBox::SetItemSelected(int index, bool on) {
  if (!Handle() || index < 0 || index >= Count()) return;
  if (Multi) SendMessageA(Handle(), LB_SETSEL, on, index);
  else SendMessageA(Handle(), LB_SETCURSEL, on ? WPARAM(index) : WPARAM(-1), 0);
}

bool TVNListBox::ItemSelected(int index) const {
  return Handle() && index >= 0 && SendMessageA(Handle(), LB_GETSEL, WPARAM(index), 0) > 0;
}

int TVNListBox::ItemIndex() const {
  if (!Handle()) return -1;
  if (!Multi) return int(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
  int caret = int(SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0));
  if (ItemSelected(caret)) return caret;
  for (int i = 0, n = Count(); i < n; ++i)
    if (ItemSelected(i)) return i;
  return -1;
}

void TVNListBox::Command(WORD code) {
  if (code != LBN_SELCHANGE) return;
  Remembered = Text(ItemIndex());
  Fire();
}

HBRUSH TVNListBox::ControlColor(HDC dc, UINT) { return WindowColors(dc, TextColor()); }

DWORD TVNComboBox::Style() const {
  return WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | (OnlyList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
}

const TVNItemControl::TMessages& TVNComboBox::Messages() const { return ComboBoxMessages; }

void TVNComboBox::SetListOnly(bool on) {
  if (on == OnlyList) return;
  OnlyList = on;
  RecreateKeepingItems();
  SelectIndex(FindExactItem(Items(), Remembered));
  if (!OnlyList) SetCaption(Remembered);
}

int TVNComboBox::ItemIndex() const { return Handle() ? int(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)) : -1; }

void TVNComboBox::SetValue(const std::string& text) {
  Remembered = text;
  SelectIndex(FindExactItem(Items(), text));
  if (!OnlyList) SetCaption(text);
  Fire();
}

void TVNComboBox::Command(WORD code) {
  if (code == CBN_SELCHANGE) {
    int index = ItemIndex();
    std::string item = Text(index);
    if (!OnlyList && index >= 0) SetCaption(item);
    Remembered = ComboValueAfterPick(OnlyList, Caption(), item, index >= 0);
    Fire();
  } else if (code == CBN_EDITCHANGE && !OnlyList) {
    Remembered = Caption();  // typed text is the value too, or a store would lose it
  }
}

HBRUSH TVNComboBox::ControlColor(HDC dc, UINT) { return WindowColors(dc, TextColor()); }

}  // namespace vnt
