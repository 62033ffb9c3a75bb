#include "vntbuild/assemble/SignalHold.h"

#include "vntbuild/assemble/FileFacts.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace vnt {

#ifndef _WIN32

namespace {

constexpr int Interrupts[] = {SIGINT, SIGTERM, SIGHUP};

// A signal the program was started to ignore (nohup, a background job) stays ignored.
sigset_t Held() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : Interrupts) {
    struct sigaction action {};
    if (sigaction(s, nullptr, &action) == 0 && action.sa_handler != SIG_IGN) sigaddset(&set, s);
  }
  return set;
}

}  // namespace

TSignalHold::TSignalHold() {
  sigset_t held = Held();
  pthread_sigmask(SIG_BLOCK, &held, &Before);
}

TSignalHold::~TSignalHold() { pthread_sigmask(SIG_SETMASK, &Before, nullptr); }

void TSignalHold::ThrowIfRaised() {
  sigset_t pending, held = Held();
  if (sigpending(&pending) != 0) return;
  for (int s : Interrupts)
    if (sigismember(&held, s) == 1 && sigismember(&pending, s) == 1)
      throw EBuildError("interrupted; nothing was written");
}

#else

TSignalHold::TSignalHold() = default;
TSignalHold::~TSignalHold() = default;
void TSignalHold::ThrowIfRaised() {}

#endif

}  // namespace vnt
