// Bounded messaging to windows of another process, and the text helpers built on it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace wzd {

// SendMessage that gives up after kSendTimeoutMs; fails when the target is gone or hung.
LRESULT send_sync(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
// The same with SendMessageTimeoutW, for messages whose text Wine marshals wrongly for ANSI callers.
LRESULT send_sync_wide(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
std::string to_ansi(std::wstring_view wide);

// Delivers a message without waiting for its handler (the handler may open a modal loop, e.g. a
// message box), then waits until the target thread has got that far. Sent messages are handled in
// order, also inside modal loops, so the WM_NULL that follows comes back once the first was handled
// or the handler is sitting in a modal loop. Only for messages without pointers.
void send_and_settle(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

std::string class_name(HWND hwnd);
std::string window_text(HWND hwnd);  // WM_GETTEXT, so it also reads edits of other processes
// The stored caption, read without messaging the window: safe on windows that may vanish or hang.
std::string caption(HWND hwnd);

// "&Next" -> "Next", "Save && Exit" -> "Save & Exit".
std::string strip_mnemonic(std::string_view text);

bool equals_ignoring_case(std::string_view a, std::string_view b);

// Three passes over candidate texts: exact, then without '&' mnemonics, then also ignoring case.
// Returns which pass matched (1..3) or 0.
int text_match_level(std::string_view wanted, std::string_view actual);

}  // namespace wzd
