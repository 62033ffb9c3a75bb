// What a user does to a control: click, type, pick an item, tick a box. Each works on controls of
// another process and returns once the target has handled it (or has entered a modal loop).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wzd {

void click(HWND control);
// Returns the text the edit holds afterwards.
std::string type_text(HWND edit, const std::string& text);
// `item` is "#N" for the N-th item counting from 0, otherwise the item's text. Returns the index.
int select_item(HWND list_or_combo, const std::string& item);
// Clicks until the box shows the wanted state; returns the final BM_GETCHECK value.
int set_check(HWND box, int wanted);
// A left click at a point of the control's client area, as the mouse makes it.
void click_at(HWND control, int x, int y);
// A key pressed and let go while the control has the focus: "space", "enter", "tab", "down",
// "up" or a virtual-key number.
void press_key(HWND control, const std::string& key);

// One list box item as a user sees it; check is -1 for a list without check boxes.
struct ListItem {
  std::string text;
  bool selected = false;
  int check = -1;
  bool enabled = true;
};
std::vector<ListItem> list_items(HWND list);

}  // namespace wzd
