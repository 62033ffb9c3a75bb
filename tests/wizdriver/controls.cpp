#include "controls.hpp"

#include <commctrl.h>
#include <cstdlib>

#include "common.hpp"
#include "json.hpp"
#include "toplevel.hpp"
#include "winmsg.hpp"

namespace wzd {
namespace {

BOOL CALLBACK collect_child(HWND hwnd, LPARAM lparam) {
  reinterpret_cast<std::vector<HWND>*>(lparam)->push_back(hwnd);
  return TRUE;
}

std::string rect_json(const RECT& r) { return json_int_array({r.left, r.top, r.right, r.bottom}); }

long long handle_number(HWND hwnd) { return static_cast<long long>(reinterpret_cast<UINT_PTR>(hwnd)); }

int parse_int(std::string_view digits, const std::string& what) {
  const std::string s(digits);
  char* end = nullptr;
  const long value = std::strtol(s.c_str(), &end, 0);  // 1001, 0x3E9, -1
  if (s.empty() || *end != '\0') fail("bad " + what + " '" + s + "'");
  return static_cast<int>(value);
}

HWND find_by_text(const std::vector<HWND>& children, const std::string& wanted) {
  HWND best = nullptr;
  int best_level = 0;
  for (HWND hwnd : children) {
    const int level = text_match_level(wanted, window_text(hwnd));
    if (level && (!best || level < best_level)) {
      best = hwnd;
      best_level = level;
    }
    if (best_level == 1) break;
  }
  return best;
}

HWND find_by_class(const std::vector<HWND>& children, const std::string& cls, int index) {
  int seen = 0;
  for (HWND hwnd : children) {
    if (equals_ignoring_case(class_name(hwnd), cls) && ++seen == index) return hwnd;
  }
  return nullptr;
}

}  // namespace

std::vector<HWND> descendants(HWND top) {
  std::vector<HWND> children;
  EnumChildWindows(top, collect_child, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::string component_name(HWND hwnd) {
  const auto value = reinterpret_cast<UINT_PTR>(GetPropA(hwnd, kNameProperty));
  if (value < 0xC000 || value > 0xFFFF) return {};  // only string atoms live in that range
  char buf[256] = {};
  const UINT n = GlobalGetAtomNameA(static_cast<ATOM>(value), buf, sizeof buf);
  return std::string(buf, n);
}

bool is_check_style_button(HWND hwnd) {
  if (!equals_ignoring_case(class_name(hwnd), "Button")) return false;
  switch (GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE:
    case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

Control describe_control(HWND hwnd, HWND top) {
  Control c;
  c.hwnd = hwnd;
  c.parent = GetAncestor(hwnd, GA_PARENT);
  c.cls = class_name(hwnd);
  c.text = window_text(hwnd);
  c.name = component_name(hwnd);
  c.id = GetDlgCtrlID(hwnd);
  GetWindowRect(hwnd, &c.rect);
  MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&c.rect), 2);
  c.enabled = IsWindowEnabled(hwnd);
  c.visible = IsWindowVisible(hwnd);
  if (is_check_style_button(hwnd)) c.checked = static_cast<int>(send_sync(hwnd, BM_GETCHECK, 0, 0));
  if (equals_ignoring_case(c.cls, PROGRESS_CLASSA)) {
    c.position = static_cast<int>(send_sync(hwnd, PBM_GETPOS, 0, 0));
    c.maximum = static_cast<int>(send_sync(hwnd, PBM_GETRANGE, FALSE, 0));
  }
  return c;
}

std::string control_json(const Control& c) {
  JsonLine line;
  line.str("type", "control").num("hwnd", handle_number(c.hwnd)).num("parent", handle_number(c.parent));
  line.str("class", c.cls).str("text", c.text).num("id", c.id).raw("rect", rect_json(c.rect));
  line.boolean("enabled", c.enabled).boolean("visible", c.visible);
  if (c.checked >= 0) line.num("checked", c.checked);
  if (c.position >= 0) line.num("position", c.position).num("max", c.maximum);
  if (!c.name.empty()) line.str("name", c.name);
  return line.text();
}

std::string window_json(HWND top) {
  RECT r{};
  GetWindowRect(top, &r);
  RECT client{};
  GetClientRect(top, &client);
  JsonLine line;
  line.str("type", "window").num("hwnd", handle_number(top)).num("pid", window_pid(top));
  line.str("class", class_name(top)).str("text", window_text(top)).raw("rect", rect_json(r));
  line.raw("client", json_int_array({client.right, client.bottom}));
  line.boolean("enabled", IsWindowEnabled(top)).boolean("visible", IsWindowVisible(top));
  const std::string name = component_name(top);
  if (!name.empty()) line.str("name", name);
  return line.text();
}

Selector parse_selector(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) fail("bad control '" + std::string(text) + "': use name:N, text:T, id:N or class:C#K");
  const std::string_view kind = text.substr(0, colon);
  Selector s;
  s.value = std::string(text.substr(colon + 1));
  if (kind == "name") {
    s.by = Selector::By::Name;
  } else if (kind == "text") {
    s.by = Selector::By::Text;
  } else if (kind == "id") {
    s.by = Selector::By::Id;
    s.id = parse_int(s.value, "control id");
  } else if (kind == "class") {
    s.by = Selector::By::Class;
    // "#32770" is a class name, "Edit#2" a class and an index: only trailing digits after a '#'
    // that is not the first character make an index.
    const size_t hash = s.value.rfind('#');
    if (hash != std::string::npos && hash > 0 && hash + 1 < s.value.size() &&
        s.value.find_first_not_of("0123456789", hash + 1) == std::string::npos) {
      s.index = parse_int(std::string_view(s.value).substr(hash + 1), "class index");
      s.value.resize(hash);
      if (s.index < 1) fail("class index counts from 1");
    }
  } else {
    fail("bad control kind '" + std::string(kind) + "': use name, text, id or class");
  }
  if (s.value.empty() && s.by != Selector::By::Text) fail("empty control " + std::string(kind));
  return s;
}

HWND find_control(HWND top, const Selector& s) {
  const std::vector<HWND> children = descendants(top);
  HWND found = nullptr;
  switch (s.by) {
    case Selector::By::Name:
      for (HWND hwnd : children) if (!found && component_name(hwnd) == s.value) found = hwnd;
      break;
    case Selector::By::Id:
      for (HWND hwnd : children) if (!found && GetDlgCtrlID(hwnd) == s.id) found = hwnd;
      break;
    case Selector::By::Text: found = find_by_text(children, s.value); break;
    case Selector::By::Class: found = find_by_class(children, s.value, s.index); break;
  }
  if (!found) fail("no control " + describe_selector(s) + " in window '" + caption(top) + "'");
  return found;
}

std::string describe_selector(const Selector& s) {
  switch (s.by) {
    case Selector::By::Name: return "named '" + s.value + "'";
    case Selector::By::Text: return "with text '" + s.value + "'";
    case Selector::By::Id: return "with id " + std::to_string(s.id);
    case Selector::By::Class: return "number " + std::to_string(s.index) + " of class '" + s.value + "'";
  }
  return {};
}

}  // namespace wzd
