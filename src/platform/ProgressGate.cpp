#include "platform/ProgressGate.h"

namespace vnt {

bool TProgressGate::Due(uint32_t nowMs, bool changed, bool last) {
  Waiting = Waiting || changed;
  if (!Waiting) return false;
  // Unsigned difference: right across the tick count's wrap.
  if (!Open && !last && nowMs - Last < Interval) return false;
  Shown(nowMs);
  return true;
}

void TProgressGate::Shown(uint32_t nowMs) {
  Last = nowMs;
  Open = false;
  Waiting = false;
}

}  // namespace vnt
