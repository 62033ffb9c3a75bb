// Waiting for the network while the setup's windows go on working: a button's script may run
// meanwhile, and may abort the wait.
#pragma once

#include <windows.h>

#include <optional>

namespace vnt {

enum class TWaitEnd { Signalled, TimedOut, Aborted };

struct TPumpedWait {
  bool Aborted = false;         // set by Abort, from a script run while waiting
  std::optional<int> QuitCode;  // a quit request seen while waiting; it aborts the request

  // Waits for the event at most timeoutMs, handling window messages as they come.
  TWaitEnd Wait(HANDLE event, DWORD timeoutMs);
  // Puts a quit request seen while waiting back for the loop below.
  void PostQuitAgain();
};

}  // namespace vnt
