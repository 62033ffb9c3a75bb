#include <gtest/gtest.h>

#include "platform/ScreenScale.h"

namespace vnt {
namespace {

TEST(ScreenScale, LengthsRoundAsMulDivAndStayAt96) {
  EXPECT_EQ(ScaleLength(497, 96), 497);
  EXPECT_EQ(ScaleLength(497, 144), 746);  // 745.5 rounds up
  EXPECT_EQ(ScaleLength(-3, 144), -5);    // -4.5 rounds away from zero
  EXPECT_EQ(ScaleLength(360, 120), 450);
  EXPECT_EQ(ScaleLength(75, 192), 150);
  EXPECT_EQ(ScaleLength(10, 0), 10);  // no DPI known: unscaled
}

TEST(ScreenScale, SpansKeepNeighboursTouchingAndEdgesAligned) {
  // Buttons that touch at 96 DPI (261..336 and 336..411) touch at every DPI.
  for (int dpi : {96, 120, 144, 168, 192}) {
    TScaledSpan back = ScaleSpan(261, 75, dpi), next = ScaleSpan(336, 75, dpi);
    EXPECT_EQ(back.Start + back.Length, next.Start) << dpi;
    // Two controls of different starts that end at the same place still end together.
    TScaledSpan wide = ScaleSpan(24, 449, dpi), narrow = ScaleSpan(25, 448, dpi);
    EXPECT_EQ(wide.Start + wide.Length, narrow.Start + narrow.Length) << dpi;
  }
  // Scaling the length alone would make these 113 wide and overlap by a pixel.
  EXPECT_EQ(ScaleSpan(11, 75, 144), (TScaledSpan{17, 112}));
}

}  // namespace
}  // namespace vnt
