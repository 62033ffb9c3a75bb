// The process under test: started by us or attached to by pid.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wzd {

struct HandleCloser {
  void operator()(HANDLE h) const {
    if (h) CloseHandle(h);
  }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

struct Process {
  UniqueHandle handle;
  DWORD pid = 0;
  bool present() const { return pid != 0; }
};

// Quotes one argument the way the C runtime's command-line parser reads it back.
std::string quote_argument(const std::string& arg);

// Starts argv in folder (empty: ours), with the settings "NAME=VALUE" added to our environment.
Process start_process(const std::vector<std::string>& argv, const std::string& folder = "",
                      const std::vector<std::string>& settings = {});
Process attach_process(DWORD pid);

// Exit code once the process has ended; nothing while it still runs.
std::optional<DWORD> exit_code_if_ended(const Process& process);
std::optional<DWORD> wait_for_exit(const Process& process, DWORD timeout_ms);
void kill_process(const Process& process);

}  // namespace wzd
