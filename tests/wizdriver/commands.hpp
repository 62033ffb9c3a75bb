// The driver's commands and the state they share within one invocation.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "process.hpp"

namespace wzd {

struct State {
  Process process;              // started or attached; absent: windows of every process count
  HWND window = nullptr;        // the current top-level window (or message box)
  HWND before_msgbox = nullptr; // current window to return to once a message box is answered
};

using Words = std::vector<std::string>;  // the command's arguments, without its name

struct CommandSpec {
  const char* name;
  std::size_t min_args;
  std::size_t max_args;
  void (*run)(State& state, const Words& args);
};

// Nothing for an unknown name.
const CommandSpec* find_command(const std::string& name);

// The usage text of `help`.
const char* usage_text();

}  // namespace wzd
