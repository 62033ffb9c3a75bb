#include "msgbox.hpp"

#include "actions.hpp"
#include "common.hpp"
#include "controls.hpp"
#include "json.hpp"
#include "winmsg.hpp"

namespace wzd {
namespace {

std::vector<HWND> visible_buttons(HWND dialog) {
  std::vector<HWND> buttons;
  for (HWND hwnd : descendants(dialog)) {
    if (IsWindowVisible(hwnd) && equals_ignoring_case(class_name(hwnd), "Button")) buttons.push_back(hwnd);
  }
  return buttons;
}

}  // namespace

MessageBoxInfo read_message_box(HWND box) {
  MessageBoxInfo info;
  info.caption = window_text(box);
  if (HWND text = GetDlgItem(box, 0xFFFF)) info.text = window_text(text);
  for (HWND button : visible_buttons(box)) info.buttons.push_back(window_text(button));
  return info;
}

std::string message_box_json(const MessageBoxInfo& info) {
  JsonLine line;
  line.str("caption", info.caption).str("text", info.text).raw("buttons", json_string_array(info.buttons));
  return line.text();
}

std::string press_button(HWND dialog, const std::string& label) {
  HWND best = nullptr;
  int best_level = 0;
  std::string best_text;
  std::string seen;
  for (HWND button : visible_buttons(dialog)) {
    const std::string text = window_text(button);
    seen += (seen.empty() ? "'" : ", '") + text + "'";
    const int level = text_match_level(label, text);
    if (level && (!best || level < best_level)) {
      best = button;
      best_level = level;
      best_text = text;
    }
  }
  if (!best) fail("no button '" + label + "' (buttons: " + (seen.empty() ? "none" : seen) + ")");
  click(best);
  return best_text;
}

bool wait_until_closed(HWND dialog, unsigned timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

}  // namespace wzd
