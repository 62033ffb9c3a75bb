#include "platform/win32/CallbackGuard.h"

namespace vnt {

namespace {
// The program's one pending failure: the window procedures run on the wizard's thread.
std::exception_ptr Kept;
}  // namespace

void KeepCallbackException() noexcept {
  if (!Kept) Kept = std::current_exception();
  PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
}

bool CallbackFailed() noexcept { return Kept != nullptr; }

void ThrowKeptException() {
  if (!Kept) return;
  std::exception_ptr failure = std::move(Kept);
  Kept = nullptr;
  std::rethrow_exception(failure);
}

}  // namespace vnt
