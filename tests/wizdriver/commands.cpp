#include "commands.hpp"

#include <array>
#include <cstdio>
#include <optional>

#include "actions.hpp"
#include "capture.hpp"
#include "common.hpp"
#include "controls.hpp"
#include "json.hpp"
#include "msgbox.hpp"
#include "toplevel.hpp"
#include "winmsg.hpp"

namespace wzd {
namespace {

constexpr std::size_t kMany = 1000;
// A message box that is answered goes away at once; a button that does not close it must not cost long.
constexpr unsigned kCloseWaitMs = 2000;

DWORD parse_number(const std::string& text, const std::string& what) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    fail("bad " + what + " '" + text + "': expected a number");
  return static_cast<DWORD>(std::stoul(text));
}

HWND current_window(const State& state) {
  if (!state.window) fail("no current window: use wait-window or wait-msgbox first");
  if (!IsWindow(state.window)) fail("the current window is gone");
  return state.window;
}

const Process& current_process(const State& state) {
  if (!state.process.present()) fail("no process: use start or attach first");
  return state.process;
}

HWND control_arg(const State& state, const std::string& selector) {
  return find_control(current_window(state), parse_selector(selector));
}

void print_ok(const char* command, HWND hwnd) {
  JsonLine().str("ok", command).num("hwnd", static_cast<long long>(reinterpret_cast<UINT_PTR>(hwnd))).print();
}

void run_help(State&, const Words&) { std::fputs(usage_text(), stdout); }

void run_start(State& state, const Words& args) {
  state = State{};
  Words argv = args;
  std::string folder;
  std::vector<std::string> settings;
  while (argv.size() > 1 && (argv[0] == "--in" || argv[0] == "--env")) {
    (argv[0] == "--in" ? folder : settings.emplace_back()) = argv[1];
    argv.erase(argv.begin(), argv.begin() + 2);
  }
  state.process = start_process(argv, folder, settings);
  JsonLine().num("pid", state.process.pid).print();
}

void run_attach(State& state, const Words& args) {
  state = State{};
  state.process = attach_process(parse_number(args[0], "pid"));
  JsonLine().num("pid", state.process.pid).print();
}

WindowQuery parse_window_query(const Words& args) {
  WindowQuery query;
  if (args.size() == 1) return query;
  if (args.size() != 3) fail("wait-window takes [--title T | --title-contains T | --class C] <timeout-ms>");
  if (args[0] == "--title") query.by = WindowQuery::By::Title;
  else if (args[0] == "--title-contains") query.by = WindowQuery::By::TitleContains;
  else if (args[0] == "--class") query.by = WindowQuery::By::Class;
  else fail("unknown wait-window option '" + args[0] + "'");
  query.value = args[1];
  return query;
}

// A window that closes between being found and being asked (a splash, the loader) is passed
// over and the wait goes on; a window that is there but does not answer is still an error.
template <class T, class F>
std::optional<T> unless_gone(HWND hwnd, F&& ask) {
  try {
    return ask();
  } catch (const Failure&) {
    if (IsWindow(hwnd)) throw;
    return std::nullopt;
  }
}

void run_wait_window(State& state, const Words& args) {
  const WindowQuery query = parse_window_query(args);
  const DWORD timeout = parse_number(args.back(), "time-out");
  const DWORD pid = state.process.pid;
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    state.window = wait_for_window([&]() -> HWND {
      for (HWND hwnd : visible_top_level_windows(pid))
        if (unless_gone<bool>(hwnd, [&] { return matches(hwnd, query); }).value_or(false)) return hwnd;
      return nullptr;
    }, spent < timeout ? timeout - spent : 0, state.process, describe_query(query));
    if (auto line = unless_gone<std::string>(state.window, [&] { return window_json(state.window); })) {
      state.before_msgbox = nullptr;
      print_line(*line);
      return;
    }
  }
}

void run_list(State& state, const Words&) {
  HWND top = current_window(state);
  print_line(window_json(top));
  for (HWND child : descendants(top)) print_line(control_json(describe_control(child, top)));
}

void run_get(State& state, const Words& args) {
  HWND top = current_window(state);
  print_line(control_json(describe_control(control_arg(state, args[0]), top)));
}

void run_click(State& state, const Words& args) {
  HWND control = control_arg(state, args[0]);
  click(control);
  print_ok("click", control);
}

void run_type(State& state, const Words& args) {
  HWND control = control_arg(state, args[0]);
  const std::string now = type_text(control, args[1]);
  JsonLine().str("ok", "type").num("hwnd", reinterpret_cast<UINT_PTR>(control)).str("text", now).print();
}

void run_select(State& state, const Words& args) {
  HWND control = control_arg(state, args[0]);
  const int index = select_item(control, args[1]);
  JsonLine().str("ok", "select").num("hwnd", reinterpret_cast<UINT_PTR>(control)).num("index", index).print();
}

void run_check(State& state, const Words& args) {
  if (args[1] != "0" && args[1] != "1" && args[1] != "2") fail("check wants 0, 1 or 2, not '" + args[1] + "'");
  HWND control = control_arg(state, args[0]);
  const int now = set_check(control, args[1][0] - '0');
  JsonLine().str("ok", "check").num("hwnd", reinterpret_cast<UINT_PTR>(control)).num("checked", now).print();
}

void run_click_at(State& state, const Words& args) {
  HWND control = control_arg(state, args[0]);
  click_at(control, static_cast<int>(parse_number(args[1], "x")), static_cast<int>(parse_number(args[2], "y")));
  print_ok("click-at", control);
}

void run_key(State& state, const Words& args) {
  HWND control = control_arg(state, args[0]);
  press_key(control, args[1]);
  print_ok("key", control);
}

void run_items(State& state, const Words& args) {
  HWND control = control_arg(state, args[0]);
  int index = 0;
  for (const ListItem& item : list_items(control)) {
    JsonLine line;
    line.str("type", "item").num("index", index++).str("text", item.text).boolean("selected", item.selected);
    if (item.check >= 0) line.num("check", item.check).boolean("enabled", item.enabled);
    line.print();
  }
}

void run_wait_msgbox(State& state, const Words& args) {
  const DWORD timeout = parse_number(args[0], "time-out");
  HWND previous = state.window;
  HWND box = wait_for_window([&]() -> HWND {
    for (HWND hwnd : visible_top_level_windows(state.process.pid)) if (is_message_box(hwnd, previous)) return hwnd;
    return nullptr;
  }, timeout, state.process, "message box");
  if (!previous || !is_message_box(previous, nullptr)) state.before_msgbox = previous;
  state.window = box;
  print_line(window_json(box));
}

void run_msgbox(State& state, const Words&) {
  HWND box = current_window(state);
  if (!is_message_box(box, nullptr)) fail("the current window is no message box: use wait-msgbox first");
  print_line(message_box_json(read_message_box(box)));
}

void run_press(State& state, const Words& args) {
  HWND dialog = current_window(state);
  const bool message_box = is_message_box(dialog, nullptr);
  const std::string pressed = press_button(dialog, args[0]);
  const bool closed = message_box ? wait_until_closed(dialog, kCloseWaitMs) : !IsWindow(dialog);
  if (closed && state.before_msgbox && IsWindow(state.before_msgbox)) {
    state.window = state.before_msgbox;
    state.before_msgbox = nullptr;
  }
  JsonLine().str("ok", "press").str("button", pressed).boolean("closed", closed).print();
}

void run_snap(State& state, const Words& args) {
  const Capture shot = capture_window(current_window(state));
  save_image(shot.image, args[0]);
  if (shot.image.uniform()) fail("the picture written to '" + args[0] + "' is blank: the window could not be captured");
  JsonLine line;
  line.str("ok", "snap").str("file", args[0]).num("width", shot.image.width).num("height", shot.image.height);
  line.str("method", shot.method).print();
}

void run_wait_exit(State& state, const Words& args) {
  const DWORD timeout = parse_number(args[0], "time-out");
  const Process& process = current_process(state);
  const auto code = wait_for_exit(process, timeout);
  if (!code) time_out("process " + std::to_string(process.pid) + " still runs after " + std::to_string(timeout) + " ms");
  JsonLine().num("exit", *code).print();
}

void run_sleep(State&, const Words& args) {
  Sleep(parse_number(args[0], "sleep time"));
  JsonLine().str("ok", "sleep").print();
}

void run_activate(State& state, const Words&) {
  HWND window = current_window(state);
  const bool done = SetForegroundWindow(window);
  send_sync(window, WM_NULL, 0, 0);  // let it handle its activation
  JsonLine().str("ok", "activate").boolean("foreground", done && GetForegroundWindow() == window).print();
}

void run_close(State& state, const Words&) {
  if (!PostMessageA(current_window(state), WM_CLOSE, 0, 0)) fail("could not ask the window to close");
  JsonLine().str("ok", "close").print();
}

void run_kill(State& state, const Words&) {
  const Process& process = current_process(state);
  kill_process(process);
  JsonLine().str("ok", "kill").num("pid", process.pid).print();
}

constexpr std::array<CommandSpec, 22> kCommands = {{
    {"help", 0, 0, run_help},
    {"start", 1, kMany, run_start},
    {"attach", 1, 1, run_attach},
    {"wait-window", 1, 3, run_wait_window},
    {"list", 0, 0, run_list},
    {"get", 1, 1, run_get},
    {"click", 1, 1, run_click},
    {"type", 2, 2, run_type},
    {"select", 2, 2, run_select},
    {"check", 2, 2, run_check},
    {"click-at", 3, 3, run_click_at},
    {"key", 2, 2, run_key},
    {"items", 1, 1, run_items},
    {"wait-msgbox", 1, 1, run_wait_msgbox},
    {"msgbox", 0, 0, run_msgbox},
    {"press", 1, 1, run_press},
    {"snap", 1, 1, run_snap},
    {"wait-exit", 1, 1, run_wait_exit},
    {"sleep", 1, 1, run_sleep},
    {"kill", 0, 0, run_kill},
    {"activate", 0, 0, run_activate},
    {"close", 0, 0, run_close},
}};

}  // namespace

const CommandSpec* find_command(const std::string& name) {
  for (const auto& entry : kCommands) if (name == entry.name) return &entry;
  return nullptr;
}

}  // namespace wzd
