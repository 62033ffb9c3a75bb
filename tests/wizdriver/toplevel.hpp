// Finding and waiting for visible top-level windows: by caption, caption part, class, or message box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "process.hpp"

namespace wzd {

struct WindowQuery {
  enum class By { Any, Title, TitleContains, Class };
  By by = By::Any;
  std::string value;
};

std::vector<HWND> visible_top_level_windows(DWORD pid);  // pid 0: of every process
DWORD window_pid(HWND hwnd);

bool matches(HWND hwnd, const WindowQuery& query);

// A message box: a visible dialog (class #32770) holding a static text with id 0xFFFF, as both
// Windows and Wine build them. `not_this` excludes the window we are already working in, which may
// itself be a dialog.
bool is_message_box(HWND hwnd, HWND not_this);

// Polls `find` until it returns a window or `timeout_ms` passes (exit code 2). Stops early with a
// failure when the watched process ends, since the window can then never come.
HWND wait_for_window(const std::function<HWND()>& find, DWORD timeout_ms, const Process& process,
                     const std::string& what);

std::string describe_query(const WindowQuery& query);

}  // namespace wzd
