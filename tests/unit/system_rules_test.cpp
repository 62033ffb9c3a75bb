#include <gtest/gtest.h>

#include <map>
#include <set>

#include "package/SystemRules.h"

using namespace vnt;

TEST(SystemRules, FolderBackslashes) {
  EXPECT_TRUE(IsDriveRootPath("C:\\"));
  EXPECT_TRUE(IsDriveRootPath("z:\\"));
  EXPECT_FALSE(IsDriveRootPath("C:"));
  EXPECT_FALSE(IsDriveRootPath("1:\\"));
  EXPECT_FALSE(IsDriveRootPath("C:\\A"));
  EXPECT_EQ(StripFolderBackslash("C:\\A\\"), "C:\\A");
  EXPECT_EQ(StripFolderBackslash("C:\\A"), "C:\\A");
  EXPECT_EQ(StripFolderBackslash("C:\\"), "C:\\");
  EXPECT_EQ(StripFolderBackslash("\\"), "");
  EXPECT_EQ(StripFolderBackslash(""), "");
  EXPECT_EQ(WithFolderBackslash("C:\\A"), "C:\\A\\");
  EXPECT_EQ(WithFolderBackslash("C:\\A\\"), "C:\\A\\");
  EXPECT_EQ(WithFolderBackslash(""), "\\");
}

TEST(SystemRules, FolderOfFile) {
  EXPECT_EQ(FolderOfFile("C:\\Program Files\\App\\app.exe"), "C:\\Program Files\\App");
  EXPECT_EQ(FolderOfFile("C:\\app.exe"), "C:\\");
  EXPECT_EQ(FolderOfFile("\\app.exe"), "\\");
  EXPECT_EQ(FolderOfFile("\\\\server\\share\\app.exe"), "\\\\server\\share");
  EXPECT_EQ(FolderOfFile("app.exe"), "");
  EXPECT_EQ(FolderOfFile(""), "");
}

TEST(SystemRules, AppMgrFolderFromRegistrationOrFallback) {
  const std::string pf = "C:\\Program Files";
  EXPECT_EQ(AppMgrFolderFrom(std::string("D:\\Sync\\CEAPPMGR.EXE"), pf), "D:\\Sync");
  EXPECT_EQ(AppMgrFolderFrom(std::string("\"D:\\Sync\\CEAPPMGR.EXE\""), pf), "D:\\Sync");
  EXPECT_EQ(AppMgrFolderFrom(std::nullopt, pf), "C:\\Program Files\\Microsoft ActiveSync\\");
  EXPECT_EQ(AppMgrFolderFrom(std::string(""), pf), "C:\\Program Files\\Microsoft ActiveSync\\");
  // A bare program name gives no folder, so the fallback answers.
  EXPECT_EQ(AppMgrFolderFrom(std::string("CEAPPMGR.EXE"), pf + "\\"),
            "C:\\Program Files\\Microsoft ActiveSync\\");
}

TEST(SystemRules, AppMgrVersionNeedsBothNumbers) {
  EXPECT_EQ(AppMgrVersionText(3, 71), "3.71");
  EXPECT_EQ(AppMgrVersionText(0, 0), "0.0");
  EXPECT_EQ(AppMgrVersionText(4, std::nullopt), "0.0");
  EXPECT_EQ(AppMgrVersionText(std::nullopt, 5), "0.0");
  EXPECT_EQ(AppMgrVersionText(4294967295u, 1), "4294967295.1");
}

TEST(SystemRules, ShellFolderIdentifiers) {
  const std::map<int, std::pair<int, int>> table = {
      {ShellDesktop, {16, 25}}, {ShellStartMenu, {11, 22}}, {ShellPrograms, {2, 23}},
      {ShellStartup, {7, 24}},  {ShellSendTo, {9, 9}},      {ShellFonts, {20, 20}},
      {ShellTemplates, {21, 45}}, {ShellFavorites, {6, 31}}};
  for (auto& [kind, ids] : table) {
    EXPECT_EQ(ShellFolderId(kind, false), ids.first) << kind;
    EXPECT_EQ(ShellFolderId(kind, true), ids.second) << kind;
  }
  EXPECT_EQ(ShellFolderId(-1, false), -1);
  EXPECT_EQ(ShellFolderId(8, true), -1);
}

TEST(SystemRules, AllUsersFoldersOnlyForAdministrators) {
  EXPECT_EQ(ShellFolderIdsToTry(ShellPrograms, true, true), (std::vector<int>{23, 2}));
  EXPECT_EQ(ShellFolderIdsToTry(ShellPrograms, true, false), (std::vector<int>{2}));
  EXPECT_EQ(ShellFolderIdsToTry(ShellPrograms, false, true), (std::vector<int>{2}));
  EXPECT_EQ(ShellFolderIdsToTry(ShellDesktop, true, true), (std::vector<int>{25, 16}));
  EXPECT_TRUE(ShellFolderIdsToTry(99, true, true).empty());
}

TEST(SystemRules, PackedVersion) {
  EXPECT_EQ(PackedVersion(5, 1, 2600), 0x05010A28u);
  EXPECT_EQ(PackedVersion(4, 10, 67766222), 0x040A0000u + (67766222u & 0xFFFF));
  EXPECT_EQ(PackedVersion(10, 0, 19045), (10u << 24) | 19045u);
  EXPECT_EQ(PackedVersion(6, 2, 0xFFFFFFFF), 0x0602FFFFu);
}

TEST(SystemRules, ServicePackLevel) {
  EXPECT_EQ(ServicePackLevel(true, 5, 2, 1, std::nullopt), 2u * 256 + 1);
  EXPECT_EQ(ServicePackLevel(true, 6, 0, 0, std::nullopt), 0u);
  EXPECT_EQ(ServicePackLevel(true, 10, 0, 0, 1536u), 0u);  // the registry is for NT 4 only
  EXPECT_EQ(ServicePackLevel(true, 4, 0, 0, 1536u), 1536u);
  EXPECT_EQ(ServicePackLevel(true, 4, 6, 0, std::nullopt), 0u);
  EXPECT_EQ(ServicePackLevel(true, 3, 3, 0, 512u), 0u);
  EXPECT_EQ(ServicePackLevel(false, 4, 1, 0, 512u), 0u);
}

TEST(SystemRules, FixedVersionText) {
  EXPECT_EQ(FixedVersionText(0x00020000, 0x0C5B0000), "2.0.3163.0");
  EXPECT_EQ(FixedVersionText(0xFFFF0001, 0x00020003), "65535.1.2.3");
  EXPECT_EQ(FixedVersionText(0, 0), "0.0.0.0");
}

TEST(SystemRules, DiskFreeCountsEveryClusterAndDrivesNeedTheirColon) {
  // A small drive of fewer than 1024 free clusters has room all the same.
  EXPECT_EQ(DiskFreeBytesFrom(512, 8, 1023), 1023u * 4096);
  // No 32-bit overflow on large disks.
  EXPECT_EQ(DiskFreeBytesFrom(4096, 128, 0xFFFFFFFF), uint64_t(4096) * 128 * 0xFFFFFFFFu);

  EXPECT_EQ(DriveOfPath("d:\\Apps"), 'D');
  EXPECT_EQ(DriveOfPath("C:"), 'C');
  for (const char* none : {"", "C", "Apps\\C:", "\\\\server\\share", "1:\\"}) EXPECT_EQ(DriveOfPath(none), 0) << none;
}

namespace {

// A folder tree in memory for the folder-creation walk.
struct TFakeDisk {
  std::set<std::string> Folders;
  std::set<std::string> Refuse;  // creating these fails (say, a file stands there)
  std::vector<std::string> Created;

  TForceFolderResult Force(const std::string& path) {
    return ForceFolderWith(
        path, [&](const std::string& p) { return Folders.count(p) > 0; },
        [&](const std::string& p) {
          if (Refuse.count(p) || Folders.count(p)) return false;
          Folders.insert(p);
          Created.push_back(p);
          return true;
        });
  }
};

}  // namespace

TEST(SystemRules, ForceFolderResults) {
  TFakeDisk disk;
  disk.Folders = {"C:\\Existing"};
  EXPECT_EQ(disk.Force("C:\\Existing"), ForceFolderExists);
  EXPECT_EQ(disk.Force("C:\\Existing\\"), ForceFolderExists);
  EXPECT_EQ(disk.Force(""), ForceFolderNothingToDo);
  EXPECT_EQ(disk.Force("C:"), ForceFolderNothingToDo);
  EXPECT_EQ(disk.Force("C:\\"), ForceFolderNothingToDo);
  EXPECT_EQ(disk.Force("\\"), ForceFolderNothingToDo);
  EXPECT_TRUE(disk.Created.empty());
}

TEST(SystemRules, ForceFolderCreatesParentsFirst) {
  TFakeDisk disk;
  EXPECT_EQ(disk.Force("C:\\New\\Deep\\"), ForceFolderCreated);
  EXPECT_EQ(disk.Created, (std::vector<std::string>{"C:\\New", "C:\\New\\Deep"}));
  EXPECT_EQ(disk.Force("C:\\New\\Deep"), ForceFolderExists);
  // Doubled trailing backslashes name the same folder.
  EXPECT_EQ(disk.Force("C:\\Other\\\\"), ForceFolderCreated);
  EXPECT_TRUE(disk.Folders.count("C:\\Other"));
  // Relative paths are created from the top down as well.
  EXPECT_EQ(disk.Force("rel\\sub"), ForceFolderCreated);
  EXPECT_EQ(disk.Created.back(), "rel\\sub");
}

TEST(SystemRules, ForceFolderFailureStopsTheWalk) {
  TFakeDisk disk;
  disk.Refuse = {"C:\\File.txt"};
  EXPECT_EQ(disk.Force("C:\\File.txt\\Sub\\Deeper"), ForceFolderFailed);
  EXPECT_TRUE(disk.Created.empty());
  disk.Refuse = {"C:\\A\\B"};
  EXPECT_EQ(disk.Force("C:\\A\\B"), ForceFolderFailed);
  EXPECT_EQ(disk.Created, (std::vector<std::string>{"C:\\A"}));
}

TEST(SystemRules, CoInitializeErrorText) {
  EXPECT_EQ(CoInitializeErrorText(0x80004005u), "CoInitialize failed (0x80004005)");
  EXPECT_EQ(CoInitializeErrorText(0x1u), "CoInitialize failed (0x00000001)");
}
