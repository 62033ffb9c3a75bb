// The background window's rules: the gradient, the window's place, the corner layout, the
// items' entry path and the picture sizes read from bitmap headers.
#include <gtest/gtest.h>

#include "ui/BackWindowRules.h"

using namespace vnt;

TEST(BackWindowRules, GradientRunsInSixtyFourStepsWithTruncation) {
  const uint32_t blue = 0xFF0000, red = 0x0000FF;
  EXPECT_EQ(GradientStepColor(blue, red, 0), blue);
  EXPECT_EQ(GradientStepColor(blue, red, 63), red);
  // 255 + 1 × (0 − 255) / 63 = 255 − 4 (toward zero), and 0 + 4 the other way.
  EXPECT_EQ(GradientStepColor(blue, red, 1), 0xFB0004u);
  EXPECT_EQ(GradientStepColor(0x102030, 0x102030, 40), 0x102030u);
  EXPECT_EQ(GradientStripe(630, 0), std::make_pair(0, 10));
  EXPECT_EQ(GradientStripe(630, 62), std::make_pair(620, 630));
  EXPECT_EQ(GradientStripe(100, 1), std::make_pair(2, 3));  // MulDiv rounds: 1.59 → 2, 3.17 → 3
}

TEST(BackWindowRules, PlacementForEachSize) {
  TBackPlacement whole = BackWindowPlacement(1, 1280, 1024);
  EXPECT_EQ(whole.Bounds, (TRectI{0, 0, 1280, 1024}));
  EXPECT_TRUE(whole.Borderless);
  TBackPlacement maximised = BackWindowPlacement(0, 1280, 1024);
  EXPECT_TRUE(maximised.Maximised);
  EXPECT_EQ(maximised.Bounds, (TRectI{80, 64, 1200, 960}));
  EXPECT_EQ(BackWindowPlacement(7, 1001, 801).Bounds, (TRectI{62, 50, 938, 751}));  // 876 × 701, halves truncated
  EXPECT_FALSE(BackWindowPlacement(2, 1280, 1024).Maximised);
  EXPECT_EQ(CentredOver({80, 64, 1200, 960}, 301, 121), (TPointI{490, 452}));
}

TEST(BackWindowRules, CornerItemsStackFromTheirCorners) {
  std::vector<TItemBox> items = {{CornerBottomLeft, 100, 30}, {CornerBottomLeft, 80, 20}, {CornerTopRight, 50, 10},
                                 {CornerTopRight, 40, 12},    {CornerTopLeft, 10, 10},    {CornerBottomRight, 60, 16},
                                 {9, 10, 10}};
  std::vector<TPointI> at = LayOutBackItems(items, 800, 600);
  EXPECT_EQ(at[0], (TPointI{8, 562}));  // its bottom 8 above the window's, as the top item's top is 8 below
  EXPECT_EQ(at[1], (TPointI{8, 538}));  // its bottom 4 above the first's top
  EXPECT_EQ(at[2], (TPointI{738, 8}));
  EXPECT_EQ(at[3], (TPointI{748, 22}));
  EXPECT_EQ(at[4], (TPointI{8, 8}));
  EXPECT_EQ(at[5], (TPointI{728, 576}));
  EXPECT_EQ(at[6], (TPointI{8, 22})) << "an unknown corner is the top left";
  EXPECT_EQ(TextItemSize(7, 100, 20, true).Width, 7 + 100 + 3);
  EXPECT_EQ(TextItemSize(7, 100, 20, false).Height, 20);
}

TEST(BackWindowRules, EntryPathsEndAtTheTargetInTenPixelSteps) {
  TPointI target{8, 500};
  std::vector<TPointI> rising = EntryFrames(4, target, 100, 30, 800, 600);
  EXPECT_EQ(rising.front().X, 8) << "at its own x";
  EXPECT_GT(rising.front().Y, 590) << "from the bottom edge, within a step";
  EXPECT_EQ(rising.back(), target);
  for (size_t k = 1; k < rising.size(); ++k) {
    EXPECT_EQ(rising[k].X, 8);
    EXPECT_LT(rising[k].Y, rising[k - 1].Y);
    EXPECT_LE(rising[k - 1].Y - rising[k].Y, 10);
  }
  std::vector<TPointI> diagonal = EntryFrames(7, {700, 8}, 50, 10, 800, 600);  // from the top right
  EXPECT_GT(diagonal.front().X, 700);
  EXPECT_LT(diagonal.front().Y, 8);
  EXPECT_EQ(diagonal.back(), (TPointI{700, 8}));
  EXPECT_EQ(EntryFrames(0, target, 100, 30, 800, 600), std::vector<TPointI>{target});
  EXPECT_EQ(EntryFrames(9, target, 100, 30, 800, 600), std::vector<TPointI>{target});
  EXPECT_EQ(TileCounts(800, 600, 300, 200), (TPointI{3, 4}));
  EXPECT_EQ(TileCounts(800, 600, 0, 200), (TPointI{0, 0}));
}

TEST(BackWindowRules, PictureSizesFromBitmapHeaders) {
  auto header = [](int32_t infoSize, int32_t width, int32_t height) {
    std::string b = "BM" + std::string(12, '\0');
    for (int32_t v : {infoSize, width, height})
      for (int k = 0; k < 4; ++k) b += char(uint32_t(v) >> (8 * k) & 0xFF);
    return b + std::string(28, '\0');
  };
  EXPECT_EQ(BitmapFileSize(header(40, 64, 32)), (TPointI{64, 32}));
  EXPECT_EQ(BitmapFileSize(header(124, 64, -32)), (TPointI{64, 32})) << "top-down";
  EXPECT_FALSE(BitmapFileSize(header(40, 0, 32)));
  EXPECT_FALSE(BitmapFileSize(header(40, 5, INT32_MIN)));
  EXPECT_FALSE(BitmapFileSize("GIF89a" + header(40, 64, 32)));
  EXPECT_FALSE(BitmapFileSize("BM"));
  std::string core = "BM" + std::string(12, '\0') + std::string("\x0c\0\0\0\x20\0\x10\0", 8) + std::string(6, '\0');
  EXPECT_EQ(BitmapFileSize(core), (TPointI{32, 16}));
}
