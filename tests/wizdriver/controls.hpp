// Child controls of a top-level window: description, JSON form, and lookup by selector.
//
// Component names: a control may carry a window property named "VntName" whose value is a global
// atom (GlobalAddAtomA, in the program that owns the control) whose name is the component name.
// Props and global atoms are both visible across processes, a pointer would not be. The owner sets
//   SetPropA(hwnd, "VntName", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomA("VN_next"))));
// and on WM_DESTROY gives it back with
//   GlobalDeleteAtom(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropA(hwnd, "VntName"))));
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace wzd {

inline constexpr const char* kNameProperty = "VntName";

struct Control {
  HWND hwnd = nullptr;
  HWND parent = nullptr;
  std::string cls;
  std::string text;
  std::string name;  // empty when the control carries no "VntName"
  int id = 0;
  RECT rect{};       // in client coordinates of the top-level window
  bool enabled = false;
  bool visible = false;
  int checked = -1;  // BM_GETCHECK for check boxes and radio buttons, -1 for everything else
  int position = -1, maximum = -1;  // progress bars only
};

struct Selector {
  enum class By { Name, Text, Class, Id };
  By by = By::Name;
  std::string value;
  int id = 0;
  int index = 1;  // class:Edit#2 is the second Edit, counting from 1
};

std::vector<HWND> descendants(HWND top);  // all child windows, depth first in Z order
std::string component_name(HWND hwnd);
bool is_check_style_button(HWND hwnd);
Control describe_control(HWND hwnd, HWND top);
std::string control_json(const Control& control);
std::string window_json(HWND top);  // the first line of `list`

Selector parse_selector(std::string_view text);  // fails with a message on bad syntax
HWND find_control(HWND top, const Selector& selector);  // fails when nothing matches
std::string describe_selector(const Selector& selector);

}  // namespace wzd
