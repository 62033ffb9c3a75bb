// When a progress display changes the screen and lets the windows work: at human speed, a few
// times a second, and only for a picture that changed. The caller gives the clock (a
// millisecond tick count that may wrap).
#pragma once

#include <cstdint>

namespace vnt {

// Often enough to look alive and to answer Cancel at once; seldom enough that a run of many
// small files is not spent painting.
constexpr uint32_t ProgressIntervalMs = 80;

class TProgressGate {
public:
  explicit TProgressGate(uint32_t intervalMs = ProgressIntervalMs) : Interval(intervalMs) {}

  // Whether to show now: something is to be shown (changed now, or held back before) and the
  // interval since the last showing is over, or the picture is the last one (the end reached),
  // which always shows. A change held back waits for the next call.
  bool Due(uint32_t nowMs, bool changed, bool last = false);
  // A change waits to be shown: the last picture must still go out before the display goes.
  bool Pending() const { return Waiting; }
  // The picture was shown at nowMs without asking (a new step, the last picture).
  void Shown(uint32_t nowMs);
  // The next change shows at once, whenever it comes (a new step has begun).
  void Reopen() { Open = true; }

private:
  uint32_t Interval;
  uint32_t Last = 0;
  bool Open = true;  // nothing shown yet, or reopened
  bool Waiting = false;
};

}  // namespace vnt
