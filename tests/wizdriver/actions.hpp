// What a user does to a control: click, type, pick an item, tick a box. Each works on controls of
// another process and returns once the target has handled it (or has entered a modal loop).
#pragma once

#include <windows.h>

#include <string>

namespace wzd {

void click(HWND control);
// Returns the text the edit holds afterwards.
std::string type_text(HWND edit, const std::string& text);
// `item` is "#N" for the N-th item counting from 0, otherwise the item's text. Returns the index.
int select_item(HWND list_or_combo, const std::string& item);
// Clicks until the box shows the wanted state; returns the final BM_GETCHECK value.
int set_check(HWND box, int wanted);

}  // namespace wzd
