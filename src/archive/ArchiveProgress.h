// How a restore turns bytes done into the value its progress event reports. Several archives
// can share one 0-100 scale: each gets a base, a weight (range times scale) and a ceiling.
#pragma once

#include <cstdint>

namespace vnt {

struct TProgressMapping {
  int32_t Base = 0;
  int32_t Max = 0;
  int32_t Range = 0;  // 0: plain percentages
  double Scale = 0;
};

// Rounds to the nearest integer, halves to even, and keeps the result inside the i32 range
// (not-a-number gives 0), so damaged sizes cannot make the conversion undefined.
int32_t RoundHalfEven(double value);

// Percent of totalSize done, 0 to 100; a total of 0 counts as done. Skipped chunks are
// counted at full size and can overshoot the total, so the result is held at 100.
int32_t ProgressPercent(int64_t bytesDone, uint32_t totalSize);

// The value reported for a percentage: the percentage itself without a range, otherwise this
// archive's share laid on the common scale, never above Max.
int32_t MapProgress(const TProgressMapping& m, int32_t percent);

// The value reported once at the end of a run.
int32_t FinalProgress(const TProgressMapping& m);

}  // namespace vnt
