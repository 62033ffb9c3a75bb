#include "vntbuild/assemble/SignalHold.h"

#include "vntbuild/assemble/FileFacts.h"

#ifndef _WIN32
#include <pthread.h>
#endif

namespace vnt {

#ifndef _WIN32

namespace {

sigset_t Held() {
  sigset_t set;
  sigemptyset(&set);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&set, s);
  return set;
}

}  // namespace

TSignalHold::TSignalHold() {
  sigset_t held = Held();
  pthread_sigmask(SIG_BLOCK, &held, &Before);
}

TSignalHold::~TSignalHold() { pthread_sigmask(SIG_SETMASK, &Before, nullptr); }

void TSignalHold::ThrowIfRaised() {
  sigset_t pending;
  if (sigpending(&pending) != 0) return;
  for (int s : {SIGINT, SIGTERM, SIGHUP})
    if (sigismember(&pending, s) == 1) throw EBuildError("interrupted; nothing was written");
}

#else

TSignalHold::TSignalHold() = default;
TSignalHold::~TSignalHold() = default;
void TSignalHold::ThrowIfRaised() {}

#endif

}  // namespace vnt
