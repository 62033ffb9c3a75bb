// wizdriver: drives the windows of a Win32 program under test (our setup program, or the fixture)
// from bash, for end-to-end tests and the demo. `wizdriver.exe help` prints the same as below.
//
//   wizdriver.exe COMMAND [ARG...] [-- COMMAND [ARG...]]...
//   e.g. wizdriver.exe start "Z:\path\vntsetup.exe" -- wait-msgbox 10000 -- msgbox -- press OK -- wait-exit 10000
//
// Commands, run in order, sharing the current process and current window:
//   help                                  usage text
//   start [--in D] [--env N=V]... <program> [arg...]
//                                         CreateProcessA; words are quoted into one command line;
//                                         its stdin/stdout are NUL, stderr is ours; --in sets its
//                                         current folder, --env adds to its environment. {"pid":N}
//   attach <pid>                          use a running process. {"pid":N}
//   wait-window [--title T | --title-contains T | --class C] <timeout-ms>
//                                         visible top-level window of the process (any process when
//                                         none) becomes the current window; prints its window line
//   list                                  window line, then a line per descendant control
//   get <control>                         one control line
//   click <control>                       BM_CLICK
//   type <control> <text>                 WM_SETTEXT to an Edit, EN_CHANGE reaches the parent
//   select <control> <text|#index>        ListBox/ComboBox pick + LBN_SELCHANGE (if LBS_NOTIFY) / CBN_SELCHANGE
//   check <control> <0|1|2>               clicks until BM_GETCHECK shows the state
//   click-at <control> <x> <y>            WM_LBUTTONDOWN/UP at a client point
//   key <control> <key>                   WM_KEYDOWN/UP (and WM_CHAR for space) of a named key
//   items <control>                       list box items: text, selected, check state, enabled
//   wait-msgbox <timeout-ms>              message box of the process becomes the current window
//   msgbox                                {"caption":..,"text":..,"buttons":[..]}
//   press <label>                         clicks a button of the current window, '&' ignored; after a
//                                         message box closes the previous window is current again
//   snap <file.png|file.bmp>              picture of the current window
//   wait-exit <timeout-ms>                {"exit":N}
//   sleep <ms>, kill, activate, close
// <control>: name:VN_x (component name), text:&Next, id:1001, class:Edit#2 (counting from 1).
//
// Component names ("VntName"): a control carries a window property "VntName" whose value is a
// global atom made with GlobalAddAtomA by the program owning the control; the atom's name is the
// component name. The driver reads it with GetPropA + GlobalGetAtomNameA, which work across
// processes. See controls.hpp for the two lines the owning program writes.
//
// Output: one JSON object per line on stdout. Text is taken as ANSI (CP_ACP) and written as pure
// ASCII JSON with \uXXXX for everything beyond printable ASCII. Control rectangles are relative to
// the client area of the current window, window rectangles are in screen pixels.
// Exit code: 0 all done; 1 first failure; 2 first failure was a time-out. Messages go to stderr.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "commands.hpp"
#include "common.hpp"

namespace {

void report(const std::string& message) { std::fputs(("wizdriver: " + message + "\n").c_str(), stderr); }

struct Invocation {
  const wzd::CommandSpec* entry;
  wzd::Words args;
};

// Splits the arguments at "--" and checks every command before any runs, so a typo in the last
// one does not leave a half-driven program behind.
std::vector<Invocation> parse(int argc, char** argv) {
  std::vector<std::vector<std::string>> groups(1);
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--") groups.emplace_back();
    else groups.back().emplace_back(argv[i]);
  }
  std::vector<Invocation> out;
  for (size_t i = 0; i < groups.size(); ++i) {
    const auto& words = groups[i];
    if (words.empty()) wzd::fail("command " + std::to_string(i + 1) + " is empty (two '--' in a row?)");
    const wzd::CommandSpec* entry = wzd::find_command(words[0]);
    if (!entry) wzd::fail("unknown command '" + words[0] + "' (see: wizdriver.exe help)");
    const size_t n = words.size() - 1;
    if (n < entry->min_args || n > entry->max_args)
      wzd::fail("wrong number of arguments for '" + words[0] + "' (see: wizdriver.exe help)");
    out.push_back({entry, wzd::Words(words.begin() + 1, words.end())});
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  // Plain "\n" line ends: the lines are read by bash, where a stray "\r" breaks matching.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (argc < 2) {
    std::fputs(wzd::usage_text(), stderr);
    return wzd::kExitFailed;
  }
  std::vector<Invocation> commands;
  try {
    commands = parse(argc, argv);
  } catch (const wzd::Failure& e) {
    report(e.what());
    return wzd::kExitFailed;
  }
  wzd::State state;
  for (size_t i = 0; i < commands.size(); ++i) {
    const std::string where = std::string(commands[i].entry->name) + " (command " + std::to_string(i + 1) + ") failed: ";
    try {
      commands[i].entry->run(state, commands[i].args);
    } catch (const wzd::Failure& e) {
      report(where + e.what());
      return e.code;
    } catch (const std::exception& e) {
      report(where + e.what());
      return wzd::kExitFailed;
    }
  }
  std::fflush(stdout);
  return wzd::kExitOk;
}
