// An interrupt (Ctrl-C, a closed terminal, a plain kill) while a build runs waits until the
// build's temporary files are gone: the signals are held while the object lives, the build
// asks between pieces of work whether one came, and a held signal takes its usual course as
// the object goes. Programs the build starts take the signals as usual (Process). On Windows
// nothing is held.
#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

namespace vnt {

class TSignalHold {
public:
  TSignalHold();
  ~TSignalHold();
  TSignalHold(const TSignalHold&) = delete;
  TSignalHold& operator=(const TSignalHold&) = delete;

  // EBuildError when one of the held signals came.
  static void ThrowIfRaised();

private:
#ifndef _WIN32
  sigset_t Before;
#endif
};

}  // namespace vnt
