#include <gtest/gtest.h>

#include "ui/RequirementRules.h"

using namespace vnt;

namespace {
constexpr uint32_t XP = 0x05010A28, Win7 = 0x06011DB1;
}

TEST(RequirementRules, VersionBoundsOnNtAndOnNine) {
  TWindowsVersionBounds b;
  EXPECT_TRUE(VersionBoundsPass(b, XP, 0, true));  // no bounds
  b.Lower = {XP, 0x0200};
  EXPECT_TRUE(VersionBoundsPass(b, Win7, 0, true));
  EXPECT_TRUE(VersionBoundsPass(b, XP, 0x0300, true));   // the same version with a later service pack
  EXPECT_FALSE(VersionBoundsPass(b, XP, 0x0100, true));  // an earlier one
  EXPECT_FALSE(VersionBoundsPass(b, 0x05000893, 0x0400, true));
  TWindowsVersionBounds nine;
  nine.Lower = {0x040A0000, 0};
  nine.Upper = {0x045A0000, 0};
  EXPECT_TRUE(VersionBoundsPass(nine, 0x040A0000, 0, false));
  EXPECT_TRUE(VersionBoundsPass(nine, 0x045A0000, 0, false));
  EXPECT_FALSE(VersionBoundsPass(nine, 0x04000000, 0, false));
  EXPECT_FALSE(VersionBoundsPass(nine, 0x05000000, 0, false));
}

TEST(RequirementRules, TheFirstFailingCheckNamesItsMessageAndCode) {
  TSetupMinimumRequeriments needs{4, 16, 64};
  TMachine m{Win7, 0, true, 800, 600, 16, 64, false};
  EXPECT_EQ(FailedRequirement(needs, {}, m), std::nullopt);
  auto fails = [&](TMachine changed) { return FailedRequirement(needs, {}, changed); };
  TMachine narrow = m;
  narrow.ScreenWidth = 799;
  EXPECT_EQ(fails(narrow), (TRequirementFailure{54, 5}));
  TMachine pale = m;
  pale.ColorDepth = 8;
  EXPECT_EQ(fails(pale), (TRequirementFailure{55, 6}));
  TMachine small = m;
  small.MemoryMB = 63;
  EXPECT_EQ(fails(small), (TRequirementFailure{56, 7}));
  TMachine noVolume = small;
  noVolume.FirstVolumeMissing = true;  // checked first
  EXPECT_EQ(fails(noVolume), (TRequirementFailure{19, 3}));
  needs.ScreenClass = 9;  // no such class: no check
  EXPECT_EQ(FailedRequirement(needs, {}, narrow), std::nullopt);
}
