// Reading and answering a message box of the process under test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wzd {

struct MessageBoxInfo {
  std::string caption;
  std::string text;                  // the static with id 0xFFFF
  std::vector<std::string> buttons;  // visible buttons, as labelled ("&Yes")
};

MessageBoxInfo read_message_box(HWND box);
std::string message_box_json(const MessageBoxInfo& info);

// Clicks the visible button whose label matches (exact, then without '&', then ignoring case) and
// returns its label. Finds buttons of any dialog, not only message boxes.
std::string press_button(HWND dialog, const std::string& label);

// Whether `dialog` is gone (or hidden) within the time-out, as a message box is after an answer.
bool wait_until_closed(HWND dialog, unsigned timeout_ms);

}  // namespace wzd
