// The Application Manager on the PC: its path, its files on disk and its run, with cwdprobe
// playing the program.
#include <gtest/gtest.h>
#include <windows.h>

#include "Win32Fixtures.h"

#include <fstream>
#include <sstream>

#include "device/win32/AppMgr.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSystemSources AppMgrSources(const TTestKey& k) {
  TSystemSources s;
  s.MachineCurrentVersion = k.At("CurrentVersion");
  s.UserCurrentVersion = k.At("User");
  s.AppMgrPath = k.At("App Paths\\CEAPPMGR.EXE");
  return s;
}

std::string Contents(const std::string& path) { return ReadFileBytes(path).value_or("<missing>"); }

}  // namespace

TEST(AppMgr, PathIsTheRegisteredFolderElseActiveSyncUnderProgramFiles) {
  TTestKey k;
  k.SetText("CurrentVersion", "ProgramFilesDir", "C:\\PF");
  TSystemInfo missing(AppMgrSources(k));
  EXPECT_EQ(AppMgrPath(missing), "C:\\PF\\Microsoft ActiveSync\\CEAPPMGR.EXE");
  k.SetText("App Paths\\CEAPPMGR.EXE", "", "\"D:\\Sync\\CEAPPMGR.EXE\"");
  TSystemInfo registered(AppMgrSources(k));
  EXPECT_EQ(AppMgrPath(registered), "D:\\Sync\\CEAPPMGR.EXE");
}

TEST(AppMgr, FilesAreWrittenWholeOrNotAtAll) {
  TTempFolder dir;
  std::vector<TAppMgrFile> files = {{dir / "A.ini", "one\r\ntwo\r\n"}, {dir / "B.ini", "x\r\n"}};
  {
    std::ofstream old(files[0].Path, std::ios::binary);
    old << "an older, longer file that must not show through";
  }
  EXPECT_EQ(WriteAppMgrFiles(files), (std::vector<std::string>{files[0].Path, files[1].Path}));
  EXPECT_EQ(Contents(files[0].Path), "one\r\ntwo\r\n");
  EXPECT_EQ(Contents(files[1].Path), "x\r\n");

  // A file whose folder is missing stops the step, and the ones before it go.
  DeleteFileA(files[0].Path.c_str());
  files[1].Path = dir / "no such folder\\B.ini";
  try {
    WriteAppMgrFiles(files);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(files[1].Path), std::string::npos) << e.what();
  }
  EXPECT_EQ(GetFileAttributesA(files[0].Path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(AppMgr, RunsWithTheQuotedFilesInTheInstallFolderAndWaits) {
  TTempFolder dir, install;
  std::string exe = dir / "CEAPPMGR.EXE";
  std::vector<TAppMgrFile> files = {{dir / "out.txt", ""}, {dir / "Tools.ini", ""}, {dir / "My App.ini", ""}};
  EXPECT_EQ(AppMgrArgumentsIfPresent(exe, files), "");  // no program, nothing to run
  std::string probe = FolderOfFile(ProgramPath()) + "\\cwdprobe.exe";
  ASSERT_TRUE(CopyFileA(probe.c_str(), exe.c_str(), FALSE)) << probe;

  std::string args = AppMgrArgumentsIfPresent(exe, files);
  EXPECT_EQ(args, "\"" + files[0].Path + "\" \"" + files[1].Path + "\" \"" + files[2].Path + "\"");
  // cwdprobe takes its first argument as its out file and its second as a delay.
  args = "\"" + files[0].Path + "\" 300 \"" + files[2].Path + "\"";
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  int pumped = 0;
  auto pump = [&] {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ++pumped;
  };
  EXPECT_EQ(RunAppMgr(exe, args, install.Path, pump), 0u);
  EXPECT_GE(pumped, 1);  // the setup's messages went on meanwhile
  std::istringstream out(Contents(files[0].Path));  // there already: the run was awaited
  std::string cwd, words, end;
  std::getline(out, cwd);
  std::getline(out, words);
  std::getline(out, end);
  EXPECT_TRUE(SameTextIgnoringCase(cwd, install.Path) || SameTextIgnoringCase(cwd, install.Path + "\\")) << cwd;
  EXPECT_EQ(words, files[2].Path);
  EXPECT_EQ(end, "ok");

  EXPECT_EQ(RunAppMgr(dir / "missing.exe", args, install.Path, {}), DWORD(ERROR_FILE_NOT_FOUND));
}
