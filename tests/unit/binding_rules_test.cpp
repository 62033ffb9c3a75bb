#include <gtest/gtest.h>

#include <set>

#include "package/DialogEditorFuncs.h"
#include "ui/BindingRules.h"

using namespace vnt;

TEST(BindingRules, FolderTextsCompareWithOneTrailingBackslashIgnoringCase) {
  EXPECT_EQ(FolderWithBackslash("C:\\App"), "C:\\App\\");
  EXPECT_EQ(FolderWithBackslash("C:\\"), "C:\\");
  EXPECT_EQ(FolderWithBackslash(""), "");
  EXPECT_TRUE(SameFolderText("c:\\program files\\app", "C:\\Program Files\\App\\"));
  EXPECT_TRUE(SameFolderText("", ""));
  EXPECT_FALSE(SameFolderText("C:\\App", "C:\\Apps"));
  EXPECT_FALSE(SameFolderText("C:\\App", ""));
}

TEST(BindingRules, DriveOfATextIsItsFirstLetter) {
  EXPECT_EQ(DriveLetterOf("d:\\data"), 'D');
  EXPECT_EQ(DriveLetterOf("Z"), 'Z');
  EXPECT_EQ(DriveLetterOf("\\\\server\\share"), 0);
  EXPECT_EQ(DriveLetterOf("1:\\"), 0);
  EXPECT_EQ(DriveLetterOf(""), 0);
  EXPECT_EQ(DriveRootOf('E'), "E:\\");
  EXPECT_TRUE(TextOnDrive("e:\\x", 'E'));
  EXPECT_FALSE(TextOnDrive("C:\\x", 'E'));
  EXPECT_FALSE(TextOnDrive("", 'E'));
}

TEST(BindingRules, DirectoryListStartsAtTheNearestExistingFolder) {
  std::set<std::string> folders{"C:\\", "C:\\Program Files"};
  auto isFolder = [&](const std::string& p) { return folders.count(p) > 0; };
  EXPECT_EQ(DirListStart("C:\\Program Files\\", isFolder, "C:\\Windows"), "C:\\Program Files");
  EXPECT_EQ(DirListStart("C:\\Program Files\\Vendor\\App", isFolder, "C:\\Windows"), "C:\\Program Files");
  EXPECT_EQ(DirListStart("C:\\Missing\\Deep\\", isFolder, "C:\\Windows"), "C:");
  EXPECT_EQ(DirListStart("Q:\\Nowhere", isFolder, "C:\\Windows"), "C:\\Windows");
  EXPECT_EQ(DirListStart("relative", isFolder, "C:\\Windows"), "C:\\Windows");
  // Nothing to show: the list stays where it is.
  EXPECT_EQ(DirListStart("", isFolder, "C:\\Windows"), std::nullopt);
  EXPECT_EQ(DirListStart("\\\\", isFolder, "C:\\Windows"), "C:\\Windows");
}

TEST(BindingRules, WhichTextBoxesFollowAFolderPick) {
  // The install-folder box follows a picker bound to the install folder, in any case.
  EXPECT_TRUE(EditFollowsFolderPick(RoleInstallDir, "", "%installdir%"));
  EXPECT_FALSE(EditFollowsFolderPick(RoleInstallDir, "", "%DataDir%"));
  // Any box follows a picker bound to its own variable.
  EXPECT_TRUE(EditFollowsFolderPick(RoleNone, "%DataDir%", "%DATADIR%"));
  EXPECT_TRUE(EditFollowsFolderPick(RoleInstallDir, "%DataDir%", "%DataDir%"));
  EXPECT_FALSE(EditFollowsFolderPick(RoleNone, "%DataDir%", "%InstallDir%"));
  EXPECT_FALSE(EditFollowsFolderPick(RoleProgramGroup, "", "%InstallDir%"));
  // Unbound controls are tied to nothing.
  EXPECT_FALSE(EditFollowsFolderPick(RoleNone, "", ""));
  EXPECT_FALSE(BoundAlike("", ""));
  EXPECT_TRUE(BoundAlike("%A%", "%a%"));
}

TEST(BindingRules, SizeLabelTexts) {
  EXPECT_EQ(RequiredSpaceText(512, '.'), "512 bytes");
  EXPECT_EQ(RequiredSpaceText(2621440, ','), "2,5 MB");
  EXPECT_EQ(FreeSpaceText(1500 * 1024, '.'), "1.5 MB");
  EXPECT_EQ(FreeSpaceText(uint64_t(1) << 40, '.'), "1024 GB");
  // An unreadable drive shows nothing free rather than an error.
  EXPECT_EQ(FreeSpaceText(std::nullopt, '.'), "0 KB");
}

TEST(BindingRules, SelectionEntriesSplitAtBarsAndCommaBlanks) {
  EXPECT_EQ(SelectionEntries("a|b, c"), (std::vector<std::string>{"a", "b", "c"}));
  // A comma without a blank belongs to the entry.
  EXPECT_EQ(SelectionEntries("1,5|x"), (std::vector<std::string>{"1,5", "x"}));
  EXPECT_EQ(SelectionEntries("|a||, b, "), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(SelectionEntries("").empty());
  auto entries = SelectionEntries("English, Deutsch");
  EXPECT_TRUE(InSelection(entries, "deutsch"));
  EXPECT_TRUE(InSelection(entries, "ENGLISH"));
  EXPECT_FALSE(InSelection(entries, "Deutsch "));
  EXPECT_FALSE(InSelection(entries, ""));
}
