#include "ui/win32/VNLists.h"

namespace vnt {

namespace {
constexpr TVNItemControl::TMessages ListBoxMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_GETCOUNT, LB_GETTEXTLEN,
                                                    LB_GETTEXT, LB_SETCURSEL, LB_GETCURSEL};
constexpr TVNItemControl::TMessages ComboBoxMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_GETCOUNT, CB_GETLBTEXTLEN,
                                                     CB_GETLBTEXT, CB_SETCURSEL, CB_GETCURSEL};

HBRUSH WindowColors(HDC dc, COLORREF text) {
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}
}  // namespace

int TVNItemControl::Count() const {
  LRESULT n = Handle() ? SendMessageA(Handle(), Messages().Count, 0, 0) : 0;
  return n < 0 ? 0 : int(n);
}

std::string TVNItemControl::Text(int index) const {
  if (index < 0 || index >= Count()) return "";
  LRESULT length = SendMessageA(Handle(), Messages().TextLength, WPARAM(index), 0);
  if (length <= 0) return "";
  std::string text(size_t(length) + 1, '\0');
  LRESULT got = SendMessageA(Handle(), Messages().Text, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : size_t(got));
  return text;
}

std::vector<std::string> TVNItemControl::Items() const {
  std::vector<std::string> items;
  for (int i = 0, n = Count(); i < n; ++i) items.push_back(Text(i));
  return items;
}

void TVNItemControl::SetItems(const std::vector<std::string>& items) {
  ClearItems();
  for (const auto& item : items) AddItem(item);
}

void TVNItemControl::AddItem(const std::string& text) {
  if (Handle()) SendMessageA(Handle(), Messages().Add, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TVNItemControl::ClearItems() {
  if (Handle()) SendMessageA(Handle(), Messages().Reset, 0, 0);
}

void TVNItemControl::SortItems() {
  std::vector<std::string> items = Items();
  vnt::SortItems(items);
  SetItems(items);
}

void TVNItemControl::SelectIndex(int index) {
  if (Handle()) SendMessageA(Handle(), Messages().Select, WPARAM(index), 0);
}

void TVNItemControl::RecreateKeepingItems() {
  std::vector<std::string> items = Items();
  if (Recreate()) SetItems(items);
}

DWORD TVNListBox::Style() const {
  return WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | (Multi ? LBS_EXTENDEDSEL : 0);
}

const TVNItemControl::TMessages& TVNListBox::Messages() const { return ListBoxMessages; }

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
