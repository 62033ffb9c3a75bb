#include <gtest/gtest.h>

#include "FakeBuiltins.h"
#include "package/PackageWriter.h"
#include "package/SetupQueries.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSetupInstallerFile File(const std::string& source, const std::string& dest, uint32_t size,
                         const std::string& components, const std::string& condition = "") {
  TSetupInstallerFile f;
  f.File.SourceName = source;
  f.File.DestFolder = dest;
  f.File.Size = size;
  f.File.Components = components;
  f.File.Condition = condition;
  return f;
}

struct Queries : ::testing::Test {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables V{Desc, Builtins};
  TSetupQueries Q{Desc, V};
  Queries() {
    Desc.Components = {{{"Program", "", ""}, 0, 0, 0}, {{"Help", "", ""}, 0, 0, 0}};
    Desc.Properties.MainGroupCabinetFiles = "main.arm.cab|main.mips.cab";
    Desc.DeviceGroups.push_back({"Extra", "%InstallDir%\\Extra\\", "", "", "prog.cab"});
    Desc.ProductFiles = {
        File("bin\\app.exe", "%InstallDir%\\Sub\\Deeper\\", 1000, "Program"),
        File("help.chm", "%InstallDir%\\Subway\\", 200, "Help"),
        File("PROG.CAB", "%installdir%\\extra\\", 30, "Program"),
        File("big.dat", "%InstallDir%\\", 5000, "Program", "%Big% = 1|"),
    };
    Desc.Shortcuts.push_back({"App", "app.exe", "", "", 5, "%ProgramGroupDir%\\Tools\\", "", 0, 1, "", "", "Program", ""});
    Desc.RegChanges.push_back({1, "Software\\X", 0, "", "", 1, "", "", "Help", "%Reg% = 1|"});
    Desc.FileFolders = {"%InstallDir%\\", "%Data%\\"};
    V.SelectedComponents = "Program";
  }
};

}  // namespace

TEST_F(Queries, DeviceCabinetsIgnoreCase) {
  EXPECT_TRUE(Q.IsDeviceCabinet("C:\\x\\PROG.CAB"));
  EXPECT_TRUE(Q.IsDeviceCabinet("MAIN.ARM.CAB"));
  EXPECT_FALSE(Q.IsDeviceCabinet("other.cab"));
}

TEST_F(Queries, GroupWithASelectedCabinetInItsFolder) {
  EXPECT_TRUE(Q.GroupHasSelectedFile(Desc.DeviceGroups[0]));
  V.SelectedComponents = "Help";
  EXPECT_FALSE(Q.GroupHasSelectedFile(Desc.DeviceGroups[0]));
  V.SelectedComponents = "Program";
  Desc.DeviceGroups[0].DesktopFolder = "%InstallDir%\\Elsewhere\\";
  EXPECT_FALSE(Q.GroupHasSelectedFile(Desc.DeviceGroups[0]));
}

TEST_F(Queries, SizesFollowSelectionAndConditions) {
  EXPECT_EQ(Q.SelectedSize(), 1030u);
  V.SetVariable("%Big%", "1");
  EXPECT_EQ(Q.SelectedSize(), 6030u);
  EXPECT_EQ(Q.ComponentSize("help"), 200u);  // regardless of selection
  EXPECT_EQ(Q.ComponentSize("Program"), 6030u);
  V.SelectedComponents = "Program|Help";
  EXPECT_EQ(Q.SelectedSize(), 6230u);
}

TEST_F(Queries, BytesAreSummedByTheDriveEachFileGoesTo) {
  V.SetVariable("%InstallDir%", "D:\\Apps\\X");
  V.SetVariable("%Data%", "e:\\data");
  Desc.ProductFiles.push_back(UninstallerFileRecord(9, 400, 0));  // to the Windows folder
  Desc.ProductFiles.push_back(File("db.dat", "%Data%\\", 70, "Program"));
  Desc.ProductFiles.push_back(File("net.dat", "\\\\server\\share\\", 9, "Program"));
  Desc.ProductFiles.push_back(File("idle.dat", "F:\\", 9, "Help"));  // not chosen
  EXPECT_EQ(Q.BytesByDrive(), (std::map<char, uint64_t>{{'C', 400}, {'D', 1030}, {'E', 70}}));

  // Maintenance: only what this run adds.
  V.MaintenanceMode = true;
  V.InstalledComponents = "Program";
  V.SelectedComponents = "Program|Help";
  EXPECT_EQ(Q.BytesByDrive(), (std::map<char, uint64_t>{{'D', 200}, {'F', 9}}));
}

TEST_F(Queries, ComponentEntriesNeedATrueCondition) {
  EXPECT_TRUE(Q.ComponentHasEntries("Program"));
  EXPECT_FALSE(Q.ComponentHasEntries("Help"));
  V.SetVariable("%Reg%", "1");
  EXPECT_TRUE(Q.ComponentHasEntries("Help"));
  EXPECT_FALSE(Q.ComponentHasEntries("Nothing"));
}

TEST_F(Queries, FolderUseComparesWholeFolderNames) {
  EXPECT_FALSE(Q.FolderIsUnused("%InstallDir%\\Sub"));
  EXPECT_FALSE(Q.FolderIsUnused("%INSTALLDIR%\\sub\\"));
  V.SelectedComponents = "Help";
  EXPECT_TRUE(Q.FolderIsUnused("%InstallDir%\\Sub"));  // only Subway\ is in use
  EXPECT_FALSE(Q.FolderIsUnused("%InstallDir%\\Subway"));
  EXPECT_TRUE(Q.ShortcutFolderIsUnused("%ProgramGroupDir%\\Tools"));
  V.SelectedComponents = "Program";
  EXPECT_FALSE(Q.ShortcutFolderIsUnused("%ProgramGroupDir%\\Tools"));
  EXPECT_FALSE(Q.ShortcutFolderIsUnused("%ProgramGroupDir%"));
}

TEST_F(Queries, DestinationOfAShortcutTarget) {
  EXPECT_EQ(Q.FindDestinationFolder("APP.EXE"), "%InstallDir%\\Sub\\Deeper\\");
  EXPECT_EQ(Q.FindDestinationFolder("help.chm"), "%InstallDir%\\");  // not selected
  EXPECT_EQ(Q.FindDestinationFolder("none.exe"), "%InstallDir%\\");
}

TEST_F(Queries, FolderList) {
  EXPECT_TRUE(Q.IsInFolderList("%installdir%"));
  EXPECT_TRUE(Q.IsInFolderList("%Data%\\"));
  EXPECT_FALSE(Q.IsInFolderList("%Other%"));
}

// The one pass over the files must answer as the question asked folder by folder does.
TEST_F(Queries, UnusedFoldersOfAListAgreeWithTheSingleQuestion) {
  Desc.ProductFiles.push_back(File("a.txt", "%Data%\\Logs\\2024\\", 1, "Program"));
  Desc.ProductFiles.push_back(File("b.txt", "%DATA%\\logs\\", 1, "Program", "%Big% = 1|"));
  Desc.ProductFiles.push_back(File("c.txt", "C:\\Fixed\\Place\\", 1, "Help"));
  Desc.ProductFiles.push_back(File("d.txt", "\\\\server\\share\\", 1, "Program"));
  const std::vector<std::string> folders = {
      "%InstallDir%",         "%installdir%\\SUB",   "%InstallDir%\\Sub\\Deeper\\", "%InstallDir%\\Sub\\Deep",
      "%InstallDir%\\Subway", "%InstallDir%\\Extra", "%Data%",                      "%data%\\logs\\2024",
      "%Data%\\Logs\\20",     "C:\\Fixed",           "c:\\fixed\\place\\",          "\\\\server",
      "",                     "%Other%\\",           "%InstallDir%\\\\",
  };
  auto check = [&](const char* when) {
    std::vector<bool> unused = Q.UnusedFolders(folders);
    ASSERT_EQ(unused.size(), folders.size());
    for (size_t i = 0; i < folders.size(); ++i)
      EXPECT_EQ(unused[i], Q.FolderIsUnused(folders[i])) << when << ": " << folders[i];
    std::vector<bool> shortcuts = Q.UnusedShortcutFolders({"%ProgramGroupDir%", "%programgroupdir%\\TOOLS\\", "%ProgramGroupDir%\\To"});
    EXPECT_EQ(shortcuts, (std::vector<bool>{Q.ShortcutFolderIsUnused("%ProgramGroupDir%"),
                                            Q.ShortcutFolderIsUnused("%programgroupdir%\\TOOLS\\"), true}))
        << when;
  };
  check("Program");
  EXPECT_EQ(Q.UnusedFolders({"%data%\\logs\\2024", "%InstallDir%\\Subway", "C:\\Fixed"}),
            (std::vector<bool>{false, true, true}));
  V.SetVariable("%Big%", "1");
  check("Program, condition true");
  V.SelectedComponents = "Help";
  check("Help");
  EXPECT_EQ(Q.UnusedFolders({"%InstallDir%\\Subway", "C:\\Fixed", "%Data%"}), (std::vector<bool>{false, false, true}));
  V.SelectedComponents = "";
  check("nothing chosen");
}
