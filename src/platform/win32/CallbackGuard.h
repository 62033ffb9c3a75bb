// Keeps exceptions out of the system's code that calls ours back (window procedures,
// enumeration callbacks): Windows does not promise to pass an exception through its own
// frames. Each boundary keeps the exception and answers a neutral value; the message loops
// stop on it and throw it again from our side, where the program entry reports it.
#pragma once

#include <windows.h>

#include <exception>

namespace vnt {

// Called inside a catch: remembers the exception (the first one wins) and wakes the thread's
// message loop.
void KeepCallbackException() noexcept;
// Whether a callback failed since the last ThrowKeptException.
bool CallbackFailed() noexcept;
// Throws the kept exception, if any, and forgets it.
void ThrowKeptException();

// Runs a callback's body; on an exception it is kept and `failed` answered.
template <class TResult, class TBody>
TResult GuardCallback(TResult failed, TBody&& body) noexcept {
  try {
    return body();
  } catch (...) {
    KeepCallbackException();
    return failed;
  }
}

}  // namespace vnt
