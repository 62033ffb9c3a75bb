// Finding an earlier installation of the product through its Add/Remove Programs entry.
#include <gtest/gtest.h>
#include <windows.h>

#include "ProductState.h"
#include "Win32Fixtures.h"
#include "setup/win32/PreviousSetup.h"
#include "setup/win32/SetupProgFuncs.h"

using namespace vnt;
using namespace vnt::test;

namespace {

class PreviousSetupTest : public ::testing::Test {
protected:
  void SetUp() override {
    MakeProductState(State, "Acme", "Rocket Tool", Sources());
    Record = Folder / "uninst.dat";
    WriteBytes(Record, "record");
  }
  TDesktopSources Sources() const { return {HKEY_CURRENT_USER, Key.Sub("Uninstall")}; }
  void Entry(const std::string& command, bool version = true) {
    std::string sub = "Uninstall\\Acme Rocket Tool";
    if (version) Key.SetText(sub, "DisplayVersion", "1.0");
    Key.SetText(sub, "UninstallString", command);
  }
  std::string Found() { return PreviousUninstallRecord(Sources(), "Acme", "Rocket Tool"); }

  TTestKey Key;
  TTempFolder Folder;
  TSetupState State;
  std::string Record;
};

}  // namespace

TEST_F(PreviousSetupTest, TheRecordIsTheSecondWordOfTheUninstallCommand) {
  EXPECT_EQ(Found(), "");  // no entry
  Entry("\"C:\\windows\\vntuninst.exe\" \"" + Record + "\"");
  EXPECT_EQ(Found(), Record);  // quoted, with blanks in the folder name
  Entry("C:\\windows\\vntuninst.exe " + Record.substr(0, Record.find(' ')));
  EXPECT_EQ(Found(), "");  // cut at the blank: no such file
  Entry("C:\\windows\\vntuninst.exe");
  EXPECT_EQ(Found(), "");  // no second word
  Entry("vntuninst.exe \"" + Folder.Path + "\"");
  EXPECT_EQ(Found(), "");  // a folder is no record
}

TEST_F(PreviousSetupTest, AnEntryWithoutVersionOrRecordFileIsNoEarlierInstallation) {
  Entry("vntuninst.exe \"" + Record + "\"", false);
  EXPECT_EQ(Found(), "");
  Entry("vntuninst.exe \"" + Record + "\"");
  DeleteFileA(Record.c_str());
  bool read = false;
  State.ReadUninstallRecord = [&](const std::string&) -> std::optional<std::string> {
    read = true;
    return "A|";
  };
  LoadPreviousSetup(State);
  EXPECT_FALSE(read);
  EXPECT_FALSE(State.Vars->MaintenanceMode);
}

TEST_F(PreviousSetupTest, ARecordReadMakesItsComponentsTheCustomSelection) {
  Entry("vntuninst.exe \"" + Record + "\"");
  State.Description.Properties.SetupTypeComponents = {"Base|", "Base|Extra|", ""};
  std::string readPath;
  State.ReadUninstallRecord = [&](const std::string& path) -> std::optional<std::string> {
    readPath = path;
    return "Base|Docs|";
  };
  LoadPreviousSetup(State);
  EXPECT_EQ(readPath, Record);
  EXPECT_EQ(State.Vars->ExpandText("%SetupType%"), "2");
  EXPECT_EQ(State.Vars->SelectedComponents, "Base|Docs|");
  EXPECT_EQ(State.Description.Properties.SetupTypeComponents[2], "Base|Docs|");
  EXPECT_TRUE(State.Vars->MaintenanceMode);

  // A damaged record leaves the setup as it was.
  State.Vars->MaintenanceMode = false;
  State.ReadUninstallRecord = [](const std::string&) -> std::optional<std::string> { return std::nullopt; };
  State.Vars->SetVariable("%SetupType%", "0");
  LoadPreviousSetup(State);
  EXPECT_FALSE(State.Vars->MaintenanceMode);
  EXPECT_EQ(State.Vars->ExpandText("%SetupType%"), "0");
}
