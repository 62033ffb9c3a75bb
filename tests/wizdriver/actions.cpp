#include "actions.hpp"

#include <vector>

#include "common.hpp"
#include "controls.hpp"
#include "winmsg.hpp"

namespace wzd {
namespace {

// A user cannot reach a hidden or disabled control, so neither may a test.
void require_usable(HWND control) {
  if (!IsWindow(control)) fail("the control is gone");
  if (!IsWindowVisible(control)) fail("control '" + window_text(control) + "' is hidden");
  if (!IsWindowEnabled(control)) fail("control '" + window_text(control) + "' is disabled");
}

void notify_parent(HWND control, WORD code) {
  HWND parent = GetAncestor(control, GA_PARENT);
  const WPARAM wparam = MAKEWPARAM(GetDlgCtrlID(control) & 0xFFFF, code);
  send_and_settle(parent, WM_COMMAND, wparam, reinterpret_cast<LPARAM>(control));
}

// The list box and combo box messages for reading items are twins.
struct ListMessages {
  UINT count, text_length, text;
};

constexpr ListMessages kListBox{LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT};
constexpr ListMessages kComboBox{CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT};

// Read as UTF-16: Wine hands LB_GETTEXT / CB_GETLBTEXT of another process back as UTF-16 even to
// the ANSI call.
std::string item_text(HWND control, const ListMessages& m, int index) {
  const LRESULT length = send_sync_wide(control, m.text_length, index, 0);
  if (length < 0) return {};
  std::vector<wchar_t> buf(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = send_sync_wide(control, m.text, index, reinterpret_cast<LPARAM>(buf.data()));
  return to_ansi(std::wstring_view(buf.data(), got > 0 ? static_cast<size_t>(got) : 0));
}

int find_item(HWND control, const ListMessages& m, const std::string& item) {
  const int count = static_cast<int>(send_sync(control, m.count, 0, 0));
  if (item.size() > 1 && item[0] == '#' && item.find_first_not_of("0123456789", 1) == std::string::npos) {
    const int index = std::stoi(item.substr(1));
    if (index >= count) fail("item #" + std::to_string(index) + " asked for, the list has " + std::to_string(count));
    return index;
  }
  int best = -1, best_level = 0;
  for (int i = 0; i < count && best_level != 1; ++i) {
    const int level = text_match_level(item, item_text(control, m, i));
    if (level && (best < 0 || level < best_level)) {
      best = i;
      best_level = level;
    }
  }
  if (best < 0) fail("no item '" + item + "' among " + std::to_string(count) + " items");
  return best;
}

void select_in_list_box(HWND control, int index) {
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const bool multiple = style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL);
  if (multiple) {  // a pick replaces the whole selection
    send_sync(control, LB_SETSEL, FALSE, -1);
    send_sync(control, LB_SETSEL, TRUE, index);
    send_sync(control, LB_SETCARETINDEX, index, FALSE);
  } else {
    send_sync(control, LB_SETCURSEL, index, 0);
  }
  const bool taken = multiple ? send_sync(control, LB_GETSEL, index, 0) > 0 : send_sync(control, LB_GETCURSEL, 0, 0) == index;
  if (!taken) fail("the list box did not take item #" + std::to_string(index));
  // A list box tells its parent about a user's pick only with LBS_NOTIFY; so do we.
  if (style & LBS_NOTIFY) notify_parent(control, LBN_SELCHANGE);
}

void select_in_combo_box(HWND control, int index) {
  send_sync(control, CB_SETCURSEL, index, 0);
  if (send_sync(control, CB_GETCURSEL, 0, 0) != index) fail("the combo box did not take item #" + std::to_string(index));
  notify_parent(control, CBN_SELCHANGE);
}

}  // namespace

void click(HWND control) {
  require_usable(control);
  send_and_settle(control, BM_CLICK, 0, 0);
}

std::string type_text(HWND edit, const std::string& text) {
  require_usable(edit);
  if (!equals_ignoring_case(class_name(edit), "Edit")) fail("type needs an Edit control, not a " + class_name(edit));
  const LONG style = GetWindowLongA(edit, GWL_STYLE);
  if (style & ES_READONLY) fail("the edit is read-only");
  if (!send_sync(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) fail("the edit refused the text");
  // A single-line edit reports WM_SETTEXT with EN_CHANGE itself; multi-line edits and the edit
  // inside a combo box do not, although typing would have.
  const bool in_combo = equals_ignoring_case(class_name(GetAncestor(edit, GA_PARENT)), "ComboBox");
  if ((style & ES_MULTILINE) || in_combo) notify_parent(edit, EN_CHANGE);
  else send_and_settle(edit, WM_NULL, 0, 0);
  return window_text(edit);
}

int select_item(HWND control, const std::string& item) {
  require_usable(control);
  const std::string cls = class_name(control);
  if (equals_ignoring_case(cls, "ListBox")) {
    const int index = find_item(control, kListBox, item);
    select_in_list_box(control, index);
    return index;
  }
  if (equals_ignoring_case(cls, "ComboBox")) {
    const int index = find_item(control, kComboBox, item);
    select_in_combo_box(control, index);
    return index;
  }
  fail("select needs a ListBox or ComboBox, not a " + cls);
}

int set_check(HWND box, int wanted) {
  require_usable(box);
  if (!is_check_style_button(box)) fail("control '" + window_text(box) + "' is no check box or radio button");
  // Three clicks walk a three-state box through all its states.
  for (int clicks = 0; clicks <= 3; ++clicks) {
    const int state = static_cast<int>(send_sync(box, BM_GETCHECK, 0, 0));
    if (state == wanted) return state;
    if (clicks < 3) click(box);
  }
  fail("clicking did not set control '" + window_text(box) + "' to " + std::to_string(wanted) +
       " (not an automatic box, or the program ignores the click)");
}

void click_at(HWND control, int x, int y) {
  require_usable(control);
  const LPARAM at = MAKELPARAM(x, y);
  send_and_settle(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  send_and_settle(control, WM_LBUTTONUP, 0, at);
}

namespace {

WPARAM virtual_key(const std::string& key) {
  if (key == "space") return VK_SPACE;
  if (key == "enter") return VK_RETURN;
  if (key == "tab") return VK_TAB;
  if (key == "down") return VK_DOWN;
  if (key == "up") return VK_UP;
  if (!key.empty() && key.size() <= 3 && key.find_first_not_of("0123456789") == std::string::npos)
    return static_cast<WPARAM>(std::stoi(key));
  fail("unknown key '" + key + "': space, enter, tab, down, up or a virtual-key number");
}

}  // namespace

void press_key(HWND control, const std::string& key) {
  require_usable(control);
  const WPARAM vk = virtual_key(key);
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(static_cast<UINT>(vk), 0)) << 16;
  send_and_settle(control, WM_KEYDOWN, vk, scan | 1);
  if (vk == VK_SPACE) send_and_settle(control, WM_CHAR, ' ', scan | 1);
  send_and_settle(control, WM_KEYUP, vk, scan | 1 | (LPARAM(1) << 30) | (LPARAM(1) << 31));
}

std::vector<ListItem> list_items(HWND list) {
  if (!equals_ignoring_case(class_name(list), "ListBox")) fail("items needs a ListBox, not a " + class_name(list));
  // The program's check lists answer this registered message with an item's check state.
  const UINT state_query = RegisterWindowMessageA("VntItemState");
  const int count = static_cast<int>(send_sync(list, LB_GETCOUNT, 0, 0));
  std::vector<ListItem> items;
  for (int i = 0; i < count; ++i) {
    ListItem item;
    item.text = item_text(list, kListBox, i);
    item.selected = send_sync(list, LB_GETSEL, i, 0) > 0;
    const LRESULT state = send_sync(list, state_query, i, 0);
    if (state >= 0 && (state & 0x200)) {
      item.check = static_cast<int>(state & 0xFF);
      item.enabled = state & 0x100;
    }
    items.push_back(item);
  }
  return items;
}

}  // namespace wzd
