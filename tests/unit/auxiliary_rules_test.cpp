#include <gtest/gtest.h>

#include "ui/AuxiliaryRules.h"

using namespace vnt;

TEST(AuxiliaryRules, VolumeFileIsTheProgramNameWithTheDiskAsThreeDigits) {
  EXPECT_EQ(NeedDiskVolumeFile("E:\\", "D:\\Setup\\install.exe", 12), "E:\\install.012");
  EXPECT_EQ(NeedDiskVolumeFile("E:\\Disk2", "setup.exe", 2), "E:\\Disk2\\setup.002");
  // Only the last full stop of the file name starts the extension; folders keep theirs.
  EXPECT_EQ(NeedDiskVolumeFile("C:\\a.b\\", "C:\\v1.2\\my.app.setup.exe", 3), "C:\\a.b\\my.app.setup.003");
  EXPECT_EQ(NeedDiskVolumeFile("C:\\x.y\\", "C:\\x.y\\setup", 7), "C:\\x.y\\setup.007");
  // The same name the archive reader opens for a volume past 999.
  EXPECT_EQ(NeedDiskVolumeFile("C:\\", "setup.exe", 1001), "C:\\setup.001");
}

TEST(AuxiliaryRules, DiskNumberReplacesEveryPlaceholder) {
  EXPECT_EQ(WithDiskNumber("Please insert Disk <disk>; <disk> again", 12), "Please insert Disk 12; 12 again");
  EXPECT_EQ(WithDiskNumber("<DISK> is left", 3), "<DISK> is left");
  // A value holding the placeholder is not replaced again.
  EXPECT_EQ(ReplacePlaceholder("<file> and <file>", "<file>", "<file>x"), "<file>x and <file>x");
}

TEST(AuxiliaryRules, ReplaceQuestionLayoutFollowsTheMode) {
  TReplaceLayout none = ReplaceQuestionLayout(ReplaceMessageOnly, true, true);
  EXPECT_EQ(none.ButtonTop, 64);
  EXPECT_EQ(none.ClientHeight, 106);
  EXPECT_FALSE(none.ShowFile1 || none.ShowFile2 || none.ShowIcons);

  TReplaceLayout one = ReplaceQuestionLayout(ReplaceOneFile, true, true);
  EXPECT_EQ(one.ButtonTop, 139);
  EXPECT_EQ(one.ClientHeight, 177);
  EXPECT_TRUE(one.ShowFile1 && one.ShowIcons);
  EXPECT_FALSE(one.ShowFile2);
  EXPECT_EQ(one.FileTextLeft, 120);
  EXPECT_EQ(one.FileTextWidth, 285);
  EXPECT_EQ(one.ButtonLefts, (std::vector<int>{12, 92, 172, 251, 331}));

  TReplaceLayout two = ReplaceQuestionLayout(ReplaceTwoFiles, true, true);
  EXPECT_EQ(two.ButtonTop, 231);
  EXPECT_EQ(two.ClientHeight, 269);
  EXPECT_TRUE(two.ShowFile1 && two.ShowFile2);
  // Buttons always end above the bottom edge.
  for (const TReplaceLayout& l : {none, one, two}) EXPECT_LT(l.ButtonTop + 23, l.ClientHeight);

  // A mode the window does not know shows the message only.
  EXPECT_EQ(ReplaceQuestionLayout(7, true, true).Mode, ReplaceMessageOnly);
  EXPECT_EQ(ReplaceQuestionLayout(-1, true, true).ButtonTop, 64);
}

TEST(AuxiliaryRules, ReplaceQuestionWithoutIconOrCancel) {
  TReplaceLayout bare = ReplaceQuestionLayout(ReplaceTwoFiles, true, false);
  EXPECT_FALSE(bare.ShowIcons);
  EXPECT_EQ(bare.FileTextLeft, 76);
  EXPECT_EQ(bare.FileTextWidth, 329);
  // Without Cancel: four buttons, one file line, whatever mode was asked for.
  for (int mode : {0, 1, 2}) {
    TReplaceLayout noCancel = ReplaceQuestionLayout(mode, false, true);
    EXPECT_EQ(noCancel.Mode, ReplaceOneFile);
    EXPECT_FALSE(noCancel.ShowCancel);
    EXPECT_EQ(noCancel.ButtonTop, 139);
    EXPECT_EQ(noCancel.ButtonLefts, (std::vector<int>{51, 131, 211, 291}));
  }
}

TEST(AuxiliaryRules, FileTextIsSizeLineBreakDateAndTime) {
  EXPECT_EQ(ReplaceFileText(1536, "03/04/2021", "10:20:30", '.'), "1.5 KB\r\n03/04/2021   10:20:30");
  EXPECT_EQ(ReplaceFileText(512, "4.3.2021", "10:20", ','), "512 bytes\r\n4.3.2021   10:20");
  EXPECT_EQ(ReplaceFileText(5ull << 30, "d", "t", ','), "5 GB\r\nd   t");
}
