#include "net/win32/PumpedWait.h"

#include "platform/win32/SystemServices.h"

namespace vnt {

TWaitEnd TPumpedWait::Wait(HANDLE event, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (Aborted) return TWaitEnd::Aborted;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return TWaitEnd::TimedOut;
    DWORD got = MsgWaitForMultipleObjects(1, &event, FALSE, DWORD(deadline - now), QS_ALLINPUT);
    if (got == WAIT_OBJECT_0) return TWaitEnd::Signalled;
    if (got != WAIT_OBJECT_0 + 1) continue;  // the deadline, checked above
    if (std::optional<int> quit = DispatchPendingMessages()) {
      QuitCode = quit;
      Aborted = true;
    }
  }
}

void TPumpedWait::PostQuitAgain() {
  if (QuitCode) PostQuitMessage(*QuitCode);
  QuitCode.reset();
}

}  // namespace vnt
