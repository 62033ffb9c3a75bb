#include <gtest/gtest.h>

#include "ui/CheckListRules.h"

using namespace vnt;

using S = TCheckState;

TEST(CheckListRules, ClicksWalkThroughTheStates) {
  // Three clicks on an unchecked item with grayed allowed: grayed, checked, unchecked.
  S s = S::Unchecked;
  std::vector<S> seen;
  for (int i = 0; i < 3; ++i) seen.push_back(s = ToggledState(s, true));
  EXPECT_EQ(seen, (std::vector<S>{S::Grayed, S::Checked, S::Unchecked}));
  EXPECT_EQ(ToggledState(S::Unchecked, false), S::Checked);
  EXPECT_EQ(ToggledState(S::Grayed, false), S::Checked);
}

TEST(CheckListRules, AnItemWithNothingInItIsDisabledOnlyWhereChecksOrSizesShow) {
  EXPECT_TRUE(ItemEnabled({false, true, 0, false}));   // a plain list follows the control
  EXPECT_FALSE(ItemEnabled({false, false, 5, true}));
  EXPECT_TRUE(ItemEnabled({true, true, 1, false}));
  EXPECT_FALSE(ItemEnabled({true, true, 0, false}));  // no size, no content
  EXPECT_TRUE(ItemEnabled({true, true, 0, true}));
  EXPECT_TRUE(ItemEnabled({true, false, 9, true}));   // content counts even in a disabled control
  EXPECT_FALSE(ItemEnabled({true, false, 9, false}));
}

TEST(CheckListRules, ItemHeightMakesRoomForPictureOrCheck) {
  EXPECT_EQ(ItemHeight(13, std::nullopt, std::nullopt), 13);
  EXPECT_EQ(ItemHeight(13, 16, 13), 18);            // the picture wins
  EXPECT_EQ(ItemHeight(13, 8, 13), 15);             // a small picture: the check cell
  EXPECT_EQ(ItemHeight(13, std::nullopt, 13), 15);
  EXPECT_EQ(ItemHeight(24, 16, 13), 24);            // a big font
}

TEST(CheckListRules, KeysCheckTheFirstItemOfEachNameAndCheckedKeysLeaveGrayedOut) {
  std::vector<std::string> keys{"Program", "Docs", "docs", "Samples"};
  EXPECT_EQ(ItemsToCheck(keys, "DOCS|Missing|docs|Samples"), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(ItemsToCheck(keys, ""), (std::vector<bool>(4, false)));
  EXPECT_EQ(CheckedKeysText(keys, {S::Checked, S::Grayed, S::Unchecked, S::Checked}), "Program|Samples");
  EXPECT_EQ(CheckedKeysText(keys, {S::Grayed, S::Unchecked, S::Unchecked, S::Unchecked}), "");
}

TEST(CheckListRules, OnlyCheckedItemsShowTheirSize) {
  EXPECT_EQ(ShownItemSize(S::Checked, 2048, 2048), 2048);
  EXPECT_EQ(ShownItemSize(S::Unchecked, 2048, 2048), 0);      // shown as nothing chosen
  EXPECT_EQ(ShownItemSize(S::Grayed, 0, 2048), 0);
  EXPECT_EQ(ShownItemSize(S::Checked, 0, 0), std::nullopt);   // nothing at all: no text
  EXPECT_EQ(ShownItemSize(S::Checked, 4096, 0), 4096);        // the callback knows better
}
