#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/InstallRules.h"

using namespace vnt;

TEST(InstallRules, SafeNamesAndTheProductIcon) {
  EXPECT_EQ(FileNameSafe("a\\b/c:d*e?f\"g<h>i|j,k. l", false, false), "a_b_c_d_e_f_g_h_i_j_k. l");
  EXPECT_EQ(FileNameSafe("v1.0 beta", true, true), "v1_0_beta");
  EXPECT_EQ(ProductIconName("Hello 2.0: Pro"), "Hello 2_0_ Pro.ico");
}

// A damaged or hand-made package can name files Windows cannot hold: each is a failure to
// report, never a file to skip or to write under another name.
TEST(InstallRules, APackagedFileWhoseNameWindowsCannotHoldHasAProblem) {
  const std::string stored = "%InstallDir%\\bin\\", folder = "C:\\Tour\\bin\\";
  TFileTarget fine = PackagedFileTarget(stored, "C:\\Tour\\bin", "src\\tour.exe");
  EXPECT_EQ(fine.Path, "C:\\Tour\\bin\\tour.exe");
  EXPECT_EQ(fine.Problem, "");
  const std::vector<std::string> bad = {"a?.txt", "a\x01.txt", "CON", "nul.txt", "lpt1", "readme.", "readme ", "",
                                        "dir\\", std::string(256, 'n')};
  for (const std::string& name : bad)
    EXPECT_NE(PackagedFileTarget(stored, folder, name).Problem, "") << "\"" << name << "\"";
  // The package's own folder names count too; slashes stand for backslashes.
  EXPECT_NE(PackagedFileTarget("%InstallDir%\\aux\\", "C:\\Tour\\aux\\", "a.txt").Problem, "");
  EXPECT_NE(PackagedFileTarget("%InstallDir%\\bin.\\", "C:\\Tour\\bin.\\", "a.txt").Problem, "");
  EXPECT_EQ(PackagedFileTarget("%InstallDir%/bin/", "C:\\Tour/bin/", "a.txt").Problem, "");
  // A folder the person chose is the system's to judge; only the whole path's length counts.
  EXPECT_EQ(PackagedFileTarget(stored, "C:\\Tour.\\bin\\", "a.txt").Problem, "");
  std::string deep = "C:\\" + std::string(200, 'd') + "\\";
  EXPECT_EQ(PackagedFileTarget(stored, deep, std::string(259 - deep.size(), 'f')).Problem, "");
  EXPECT_NE(PackagedFileTarget(stored, deep, std::string(260 - deep.size(), 'f')).Problem, "");
}

TEST(InstallRules, EveryDriveNeedsRoomForItsShare) {
  const std::map<char, uint64_t> need = {{'C', 4000}, {'D', 3000}, {'E', 0}};
  // 5000 bytes free in all would do for the sum on one drive; here C: lacks 1 byte.
  EXPECT_EQ(DriveWithoutRoom(need, {{'C', 3999}, {'D', 1'000'000}, {'E', 0}}), 'C');
  EXPECT_EQ(DriveWithoutRoom(need, {{'C', 4000}, {'D', 2999}, {'E', 0}}), 'D');
  EXPECT_EQ(DriveWithoutRoom(need, {{'C', 4000}, {'D', 3000}, {'E', 0}}), std::nullopt);
  // A drive that could not be asked has no room, unless nothing goes there.
  EXPECT_EQ(DriveWithoutRoom(need, {{'C', 4000}, {'E', 0}}), 'D');
  EXPECT_EQ(DriveWithoutRoom(need, {{'C', 4000}, {'D', 3000}}), std::nullopt);
  EXPECT_EQ(DriveWithoutRoom({{'C', (uint64_t(5) << 32) + 1}}, {{'C', uint64_t(5) << 32}}), 'C');
}

TEST(InstallRules, ProgressPicturesShareTheScale) {
  EXPECT_EQ(ProgressBitmapIndex(50, 0), std::nullopt);
  EXPECT_EQ(ProgressBitmapIndex(0, 3), 0);
  EXPECT_EQ(ProgressBitmapIndex(1, 3), 0);
  EXPECT_EQ(ProgressBitmapIndex(33, 3), 0);
  EXPECT_EQ(ProgressBitmapIndex(34, 3), 1);
  EXPECT_EQ(ProgressBitmapIndex(99, 3), 2);  // past the last full share: the last picture
  EXPECT_EQ(ProgressBitmapIndex(150, 3), 2);
  EXPECT_EQ(ProgressBitmapIndex(-5, 3), 0);
}

TEST(InstallRules, RegistryDataOfTheStoredTypes) {
  EXPECT_EQ(RegistryBinaryData("01 ff 7F "), std::string("\x01\xff\x7f", 3));
  EXPECT_EQ(RegistryBinaryData("0a 0b"), std::string("\x0a\x0b", 2));  // a last value without its blank
  EXPECT_EQ(RegistryBinaryData(""), "");
  EXPECT_EQ(RegistryMultiStringData("a;bc"), std::string("a\0bc\0\0", 6));
  EXPECT_EQ(RegistryMultiStringData(""), std::string("\0\0", 2));
}

TEST(InstallRules, SharedCountsKeepTheirForm) {
  auto text = ParseSharedCount(1, std::string("12\0", 3));
  ASSERT_TRUE(text);
  EXPECT_EQ(text->Count, 12);
  text->Count += 1;
  EXPECT_EQ(SharedCountBytes(*text), std::string("13\0", 3));
  EXPECT_EQ(SharedCountType(*text), 1u);
  auto binary = ParseSharedCount(3, std::string("\x02\x01", 2));
  ASSERT_TRUE(binary);
  EXPECT_EQ(binary->Count, 0x102);
  EXPECT_EQ(SharedCountBytes(*binary).size(), 2u);
  auto number = ParseSharedCount(4, std::string("\xff\xff\xff\xff", 4));
  ASSERT_TRUE(number);
  EXPECT_EQ(number->Count, 0);  // negative counts as none
  EXPECT_FALSE(ParseSharedCount(1, "many"));
  EXPECT_FALSE(ParseSharedCount(3, std::string(5, '\1')));
  EXPECT_FALSE(ParseSharedCount(7, "x"));
}

// Other installers store the count as four binary bytes: it goes on from where they left it,
// in their form.
TEST(InstallRules, AFourByteBinaryCountIsReadAndKeepsItsForm) {
  auto count = ParseSharedCount(3, std::string("\x05\x01\x00\x00", 4));
  ASSERT_TRUE(count);
  EXPECT_EQ(count->Count, 0x105);
  count->Count += 1;
  EXPECT_EQ(SharedCountBytes(*count), std::string("\x06\x01\x00\x00", 4));
  EXPECT_EQ(SharedCountType(*count), 3u);
}

TEST(InstallRules, UninstallEntryNamesTheRecord) {
  EXPECT_EQ(UninstallCommand("C:\\windows", "C:\\Program Files\\Hello\\uninst2.dat", "Samples Hello"),
            "\"C:\\windows\\vntuninst.exe\" \"C:\\Program Files\\Hello\\uninst2.dat\" \"Samples Hello\"");
}

TEST(InstallRules, RemovalTakesItemsOfRemovedComponentsOnly) {
  EXPECT_TRUE(RemovalTakesItem("Docs", "docs", "Program", false));
  EXPECT_FALSE(RemovalTakesItem("Program|Docs", "Docs", "Program", false));  // Program still needs it
  EXPECT_TRUE(RemovalTakesItem("Docs|Old", "Docs", "Program", false));       // nothing kept needs it
  EXPECT_FALSE(RemovalTakesItem("Program", "Docs", "Program", false));
  EXPECT_FALSE(RemovalTakesItem("", "Docs", "", false));
  EXPECT_TRUE(RemovalTakesItem("", "", "", true));
  EXPECT_TRUE(RemovalTakesItem("Program|Never", "Program", "", true));
}

TEST(InstallRules, KeysAreClearedFromTheLongestPath) {
  EXPECT_EQ(KeyAndParents("Software\\Vantry\\Hello\\"),
            (std::vector<std::string>{"Software\\Vantry\\Hello", "Software\\Vantry", "Software"}));
  EXPECT_EQ(KeyAndParents(""), std::vector<std::string>{});
  // The product's keys go; those Windows keeps for every program stay, even when empty.
  for (const char* shared : {"Software", "software\\microsoft", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                             "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"})
    EXPECT_TRUE(IsSharedSystemKey(shared)) << shared;
  for (const char* own : {"Software\\Vantry", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantry Hello",
                          "SYSTEM", ".hello", "Software\\Microsoft\\Vantry\\A\\B\\C"})
    EXPECT_FALSE(IsSharedSystemKey(own)) << own;
  EXPECT_EQ(RegistryRootName(1), "HKEY_CURRENT_USER");
}
