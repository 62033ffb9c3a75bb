#include <gtest/gtest.h>

#include "platform/ProgressGate.h"

namespace vnt {
namespace {

// A run of updates 10 ms apart: the first change shows at once, the rest at most every
// interval; a change held back goes with the next call after the interval, even one that
// changes nothing; without changes nothing shows.
TEST(ProgressGate, ShowsChangesAtMostEveryIntervalAndKeepsTheLast) {
  TProgressGate gate(80);
  EXPECT_FALSE(gate.Due(1000, false));  // nothing to show yet
  EXPECT_TRUE(gate.Due(1000, true));
  int shown = 0;
  for (uint32_t t = 1010; t < 2000; t += 10) shown += gate.Due(t, true);
  EXPECT_EQ(shown, 12);  // 1080, 1160, ..., 1960
  EXPECT_TRUE(gate.Pending());  // 1970..1990 held back
  EXPECT_FALSE(gate.Due(2030, false));
  EXPECT_TRUE(gate.Due(2040, false));  // the held-back change, without a new one
  EXPECT_FALSE(gate.Pending());
  EXPECT_FALSE(gate.Due(5000, false));  // nothing changed since
}

TEST(ProgressGate, NewStepOrShownPictureRestartsTheInterval) {
  TProgressGate gate(80);
  EXPECT_TRUE(gate.Due(100, true));
  EXPECT_FALSE(gate.Due(120, true));
  gate.Reopen();  // a new step: its first change shows at once
  EXPECT_TRUE(gate.Due(121, true));
  EXPECT_FALSE(gate.Due(130, true));
  gate.Shown(140);  // shown without asking: nothing waits, the interval starts again
  EXPECT_FALSE(gate.Pending());
  EXPECT_FALSE(gate.Due(200, true));
  EXPECT_TRUE(gate.Due(220, false));
}

TEST(ProgressGate, TheLastPictureShowsAtOnceButOnlyOnce) {
  TProgressGate gate(80);
  EXPECT_TRUE(gate.Due(100, true));
  EXPECT_TRUE(gate.Due(110, true, true));    // the end, 10 ms later
  EXPECT_FALSE(gate.Due(120, false, true));  // told again, nothing new: nothing to show
}

TEST(ProgressGate, TickCountWrapKeepsTheRhythm) {
  TProgressGate gate(80);
  EXPECT_TRUE(gate.Due(0xFFFFFFF0u, true));
  EXPECT_FALSE(gate.Due(0x00000010u, true));  // 32 ms later, across the wrap
  EXPECT_TRUE(gate.Due(0x00000040u, true));   // 80 ms later
}

}  // namespace
}  // namespace vnt
