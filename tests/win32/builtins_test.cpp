#include <gtest/gtest.h>
#include <windows.h>

#include "package/SetupVariables.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemBuiltins.h"

using namespace vnt;

namespace {

struct SystemVars : ::testing::Test {
  TSystemInfo Info;
  TSystemBuiltins Builtins{Info};
  TSetupDescription Desc;
  TSetupVariables V{Desc, Builtins};
};

// Sets the user's date separator for one test and puts the old one back.
struct TDateSeparator {
  char Old[8] = "";
  explicit TDateSeparator(const char* sep) {
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, Old, sizeof Old);
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, sep);
  }
  ~TDateSeparator() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, Old); }
};

}  // namespace

TEST_F(SystemVars, FoldersComeFromTheSystemWithoutTrailingBackslash) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_EQ(V.ExpandText("%WinDir%"), windows);
  EXPECT_EQ(V.ExpandText("%HelpDir%"), std::string(windows) + "\\Help");
  EXPECT_EQ(V.ExpandText("%WinDrive%"), std::string(windows, 2));
  for (const char* name : {"%ProgramFilesDir%", "%SysDir%", "%ProgramsDir%", "%DesktopDir%", "%SourceDir%"}) {
    std::string value = V.ExpandText(name);
    EXPECT_FALSE(value.empty()) << name;
    EXPECT_NE(value.back(), '\\') << name;
    EXPECT_NE(GetFileAttributesA(value.c_str()), INVALID_FILE_ATTRIBUTES) << name << " = " << value;
  }
  EXPECT_EQ(V.ExpandText("%SourceDir%\\x"), FolderOfFile(ProgramPath()) + "\\x");
}

TEST_F(SystemVars, ProgramGroupDirIsUnderThePrograms) {
  V.SetVariable("%ProgramGroup%", "Vantry Test Group");
  EXPECT_EQ(V.ExpandText("%ProgramGroupDir%"), V.ExpandText("%ProgramsDir%") + "\\Vantry Test Group");
}

TEST_F(SystemVars, MachineValues) {
  EXPECT_EQ(V.ExpandText("%IsNT%"), "1");
  EXPECT_EQ(V.ExpandText("%IsAdmin%"), Info.IsAdministrator() ? "1" : "0");
  std::string version = V.ExpandText("%OSVersion%");
  EXPECT_EQ(version.rfind(V.ExpandText("%OSMajorVersion%.%OSMinorVersion%."), 0), 0u) << version;
  EXPECT_EQ(V.ExpandText("%ScreenWidth%"), std::to_string(GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_GT(std::stoll(V.ExpandText("%RAMMemory%")), 0);
  EXPECT_GT(std::stoi(V.ExpandText("%ColorDepth%")), 0);
  EXPECT_EQ(V.ExpandText("%ActiveSyncVersion%"), Info.AppMgrVersion());
  EXPECT_EQ(V.ExpandText("%SetupHandle%"), "0");  // no application window yet
}

TEST_F(SystemVars, DatesUseTheRegionalSeparator) {
  TDateSeparator dot(".");
  SYSTEMTIME st;
  GetLocalTime(&st);
  std::string date = V.ExpandText("%Date%");
  ASSERT_EQ(date.size(), 10u) << date;
  EXPECT_EQ(date[2], '.');
  EXPECT_EQ(date[5], '.');
  EXPECT_EQ(date.substr(6), std::to_string(st.wYear));
  EXPECT_EQ(V.ExpandText("%ISODate%").substr(4, 1), "-");
  EXPECT_EQ(V.ExpandText("%EuropeanDate%").substr(0, 2), V.ExpandText("%CurrentDay%"));
}

TEST_F(SystemVars, CommandLineNumbering) {
  V.SetVariable("%CmdParamNum%", "0");
  EXPECT_EQ(V.ExpandText("%CmdLineParam%"), ProgramPath());
  auto params = CommandLineParams(GetCommandLineA());
  V.SetVariable("%CmdParamNum%", std::to_string(params.size() + 1));
  EXPECT_EQ(V.ExpandText("[%CmdLineParam%]"), "[]");
  if (!params.empty()) {
    V.SetVariable("%CmdParamNum%", "1");
    EXPECT_EQ(V.ExpandText("%CmdLineParam%"), params[0]);
  }
}

TEST_F(SystemVars, TempSetupDirIsWhatStartUpSet) {
  Builtins.TempSetupDir = "C:\\users\\x\\Temp\\vnt007";
  EXPECT_EQ(V.ExpandText("%TempSetupDir%\\a.bmp"), "C:\\users\\x\\Temp\\vnt007\\a.bmp");
}
