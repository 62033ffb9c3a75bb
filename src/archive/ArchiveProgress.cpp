#include "archive/ArchiveProgress.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vnt {

int32_t RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  double r = std::nearbyint(value);  // the default rounding mode rounds halves to even
  constexpr double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  return int32_t(std::clamp(r, lo, hi));
}

int32_t ProgressPercent(int64_t bytesDone, uint32_t totalSize) {
  if (totalSize == 0) return 100;
  int32_t percent = RoundHalfEven(double(bytesDone) / double(totalSize) * 100.0);
  return std::clamp(percent, 0, 100);
}

int32_t MapProgress(const TProgressMapping& m, int32_t percent) {
  if (m.Range == 0) return percent;
  int64_t value = int64_t(RoundHalfEven(m.Range * m.Scale / 100.0 * percent)) + m.Base;
  return int32_t(std::min<int64_t>(m.Max, value));
}

int32_t FinalProgress(const TProgressMapping& m) {
  if (m.Range == 0) return 100;
  int64_t value = int64_t(RoundHalfEven(m.Range * m.Scale)) + m.Base;
  return int32_t(std::min<int64_t>(m.Max, value));
}

}  // namespace vnt
