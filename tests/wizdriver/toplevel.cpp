#include "toplevel.hpp"

#include "common.hpp"
#include "winmsg.hpp"

namespace wzd {
namespace {

struct EnumContext {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK collect_top_level(HWND hwnd, LPARAM lparam) {
  auto& context = *reinterpret_cast<EnumContext*>(lparam);
  if (IsWindowVisible(hwnd) && (context.pid == 0 || window_pid(hwnd) == context.pid)) context.found.push_back(hwnd);
  return TRUE;
}

}  // namespace

DWORD window_pid(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

std::vector<HWND> visible_top_level_windows(DWORD pid) {
  EnumContext context{pid, {}};
  EnumWindows(collect_top_level, reinterpret_cast<LPARAM>(&context));
  return context.found;
}

bool matches(HWND hwnd, const WindowQuery& query) {
  switch (query.by) {
    case WindowQuery::By::Any: return true;
    case WindowQuery::By::Class: return equals_ignoring_case(class_name(hwnd), query.value);  // classes ignore case
    case WindowQuery::By::Title: return caption(hwnd) == query.value;
    case WindowQuery::By::TitleContains: return caption(hwnd).find(query.value) != std::string::npos;
  }
  return false;
}

bool is_message_box(HWND hwnd, HWND not_this) {
  if (hwnd == not_this || class_name(hwnd) != "#32770") return false;
  HWND text = GetDlgItem(hwnd, 0xFFFF);
  return text && equals_ignoring_case(class_name(text), "Static");
}

namespace {

// A window shown by a thread that has not come back to its message loop yet may count as hung
// and refuse every message at once: it is found only once it answers.
bool answers(HWND hwnd) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result) != 0;
}

}  // namespace

HWND wait_for_window(const std::function<HWND()>& find, DWORD timeout_ms, const Process& process,
                     const std::string& what) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND hwnd = find(); hwnd && answers(hwnd)) return hwnd;
    if (process.present()) {
      if (auto code = exit_code_if_ended(process)) {
        fail("process " + std::to_string(process.pid) + " ended with exit code " + std::to_string(*code) +
             " before " + what + " appeared");
      }
    }
    if (GetTickCount64() >= deadline) time_out("no " + what + " appeared within " + std::to_string(timeout_ms) + " ms");
    Sleep(kPollMs);
  }
}

std::string describe_query(const WindowQuery& query) {
  switch (query.by) {
    case WindowQuery::By::Any: return "window";
    case WindowQuery::By::Class: return "window of class '" + query.value + "'";
    case WindowQuery::By::Title: return "window titled '" + query.value + "'";
    case WindowQuery::By::TitleContains: return "window with '" + query.value + "' in its title";
  }
  return "window";
}

}  // namespace wzd
