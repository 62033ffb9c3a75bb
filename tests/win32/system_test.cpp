// System folders, machine queries and system services against Wine's real registry, file
// system and processes. Every test works in folders and registry keys of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "Win32Fixtures.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "package/SizeFormat.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(f, line);) lines.push_back(line);
  return lines;
}

// Every key of the queries pointed into the test key.
TSystemSources TestSources(const TTestKey& k) {
  TSystemSources s;
  s.MachineCurrentVersion = k.At("Machine\\CurrentVersion");
  s.UserCurrentVersion = k.At("User\\CurrentVersion");
  s.MachineShellFolders = k.At("Machine\\Shell Folders");
  s.UserShellFolders = k.At("User\\Shell Folders");
  s.AppMgrPath = k.At("Machine\\App Paths\\CEAPPMGR.EXE");
  s.CeServices = k.At("Machine\\Windows CE Services");
  s.DotNet = k.At("Machine\\.NETFramework");
  s.Nt4Windows = k.At("Machine\\Windows");
  return s;
}

bool NoTrailingBackslash(const std::string& path) {
  return !path.empty() && (path.back() != '\\' || IsDriveRootPath(path));
}

}  // namespace

// ---- Registry reading ----

TEST(SystemRegistry, ReadsTextValuesOnly) {
  TTestKey k;
  k.SetText("V", "plain", "abc");
  std::string expandable = "%WINDIR%\\x";
  k.Set("V", "expand", REG_EXPAND_SZ, expandable.c_str(), DWORD(expandable.size() + 1));
  k.Set("V", "empty", REG_SZ, "", 0);
  k.Set("V", "unterminated", REG_SZ, "xyz", 3);
  k.Set("V", "inner zero", REG_SZ, "ab\0cd", 6);
  k.SetNumber("V", "number", 5);
  k.SetText("V", "", "default");
  HKEY key = k.Open("V");
  ASSERT_TRUE(key);
  EXPECT_EQ(TSystemInfo::RegReadString(key, "plain"), "abc");
  EXPECT_EQ(TSystemInfo::RegReadString(key, "expand"), expandable);  // not expanded
  EXPECT_EQ(TSystemInfo::RegReadString(key, "empty"), "");
  EXPECT_EQ(TSystemInfo::RegReadString(key, "unterminated"), "xyz");
  EXPECT_EQ(TSystemInfo::RegReadString(key, "inner zero"), "ab");
  EXPECT_EQ(TSystemInfo::RegReadString(key, ""), "default");
  EXPECT_FALSE(TSystemInfo::RegReadString(key, "number"));
  EXPECT_FALSE(TSystemInfo::RegReadString(key, "missing"));
  RegCloseKey(key);
}

TEST(SystemRegistry, ReadsFourByteNumbersOnly) {
  TTestKey k;
  k.SetNumber("V", "n", 0xDEADBEEF);
  k.SetText("V", "text", "12");
  uint64_t wide = 7;
  k.Set("V", "qword", REG_QWORD, &wide, sizeof wide);
  HKEY key = k.Open("V");
  ASSERT_TRUE(key);
  EXPECT_EQ(TSystemInfo::RegReadNumber(key, "n"), 0xDEADBEEFu);
  EXPECT_FALSE(TSystemInfo::RegReadNumber(key, "text"));
  EXPECT_FALSE(TSystemInfo::RegReadNumber(key, "qword"));
  EXPECT_FALSE(TSystemInfo::RegReadNumber(key, "missing"));
  RegCloseKey(key);
}

// ---- Folders ----

TEST(SystemFolders, ProgramFilesComesFromTheUserWhenTheMachineHasNone) {
  TTestKey k;
  k.CreateEmpty("Machine\\CurrentVersion");
  k.SetText("User\\CurrentVersion", "ProgramFilesDir", "D:\\Apps\\");
  k.SetText("User\\CurrentVersion", "CommonFilesDir", "D:\\Shared");
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.ProgramFilesFolder(), "D:\\Apps");
  EXPECT_EQ(info.CommonFilesFolder(), "D:\\Shared");
  EXPECT_EQ(info.CurrentVersionValue("Missing"), "");
}

TEST(SystemFolders, MachineValueWinsAndEmptyMachineValueFallsBack) {
  TTestKey k;
  k.SetText("Machine\\CurrentVersion", "ProgramFilesDir", "C:\\PF");
  k.SetText("User\\CurrentVersion", "ProgramFilesDir", "D:\\Apps");
  k.SetText("Machine\\CurrentVersion", "CommonFilesDir", "");
  k.SetText("User\\CurrentVersion", "CommonFilesDir", "D:\\Shared");
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.ProgramFilesFolder(), "C:\\PF");
  EXPECT_EQ(info.CommonFilesFolder(), "D:\\Shared");
}

TEST(SystemFolders, AnswersAreCachedEvenWhenEmpty) {
  TTestKey k;
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.ProgramFilesFolder(), "");
  k.SetText("Machine\\CurrentVersion", "ProgramFilesDir", "C:\\Later");
  EXPECT_EQ(info.ProgramFilesFolder(), "");
  EXPECT_EQ(TSystemInfo(TestSources(k)).ProgramFilesFolder(), "C:\\Later");
}

TEST(SystemFolders, RealSystemFolders) {
  TSystemInfo info;
  for (const std::string* folder : {&info.ProgramFilesFolder(), &info.CommonFilesFolder(),
                                    &info.WindowsFolder(), &info.SystemFolder(),
                                    &info.FontsFolder(), &info.DocumentsFolder()}) {
    EXPECT_TRUE(NoTrailingBackslash(*folder)) << *folder;
    EXPECT_TRUE(FolderExists(*folder)) << *folder;
  }
  EXPECT_EQ(info.SystemFolder().rfind(info.WindowsFolder() + "\\", 0), 0u);
  const std::string& temp = info.TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(FolderExists(temp));
}

TEST(SystemFolders, FontsAndDocumentsFromShellFolders) {
  TTestKey k;
  k.SetText("Machine\\Shell Folders", "Fonts", "F:\\Fonts");
  k.SetText("User\\Shell Folders", "Fonts", "G:\\Other");
  k.SetText("User\\Shell Folders", "Personal", "E:\\Docs\\");
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.FontsFolder(), "F:\\Fonts");
  EXPECT_EQ(info.DocumentsFolder(), "E:\\Docs");
}

TEST(SystemFolders, AppMgrNotRegisteredFallsBackUnderProgramFiles) {
  TTestKey k;
  k.SetText("Machine\\CurrentVersion", "ProgramFilesDir", "C:\\PF");
  TSystemInfo info(TestSources(k));
  EXPECT_FALSE(info.IsAppMgrInstalled());
  EXPECT_EQ(info.AppMgrFolder(), "C:\\PF\\Microsoft ActiveSync\\");
}

TEST(SystemFolders, AppMgrKeyWithoutTextValueCountsAsMissing) {
  TTestKey k;
  k.SetText("Machine\\CurrentVersion", "ProgramFilesDir", "C:\\PF");
  k.SetNumber("Machine\\App Paths\\CEAPPMGR.EXE", "", 1);
  TSystemInfo info(TestSources(k));
  EXPECT_FALSE(info.IsAppMgrInstalled());
  EXPECT_EQ(info.AppMgrFolder(), "C:\\PF\\Microsoft ActiveSync\\");
}

TEST(SystemFolders, AppMgrRegisteredGivesItsFolder) {
  TTestKey k;
  k.SetText("Machine\\App Paths\\CEAPPMGR.EXE", "", "C:\\Sync Tools\\CEAPPMGR.EXE");
  TSystemInfo info(TestSources(k));
  EXPECT_TRUE(info.IsAppMgrInstalled());
  EXPECT_EQ(info.AppMgrFolder(), "C:\\Sync Tools");
}

TEST(SystemFolders, AppMgrRegisteredEmptyIsInstalledButUsesTheFallback) {
  TTestKey k;
  k.SetText("User\\CurrentVersion", "ProgramFilesDir", "D:\\PF");
  k.SetText("Machine\\App Paths\\CEAPPMGR.EXE", "", "");
  TSystemInfo info(TestSources(k));
  EXPECT_TRUE(info.IsAppMgrInstalled());
  EXPECT_EQ(info.AppMgrFolder(), "D:\\PF\\Microsoft ActiveSync\\");
}

TEST(SystemFolders, AllUsersShellFoldersOnlyForAdministrators) {
  TSystemSources asAdmin, asUser;
  asAdmin.Administrator = true;
  asUser.Administrator = false;
  TSystemInfo admin(asAdmin), user(asUser);
  EXPECT_TRUE(admin.IsAdministrator());
  EXPECT_FALSE(user.IsAdministrator());
  const std::string& common = admin.ShellFolder(ShellPrograms, true);
  const std::string& own = admin.ShellFolder(ShellPrograms, false);
  EXPECT_NE(common, own);
  EXPECT_EQ(user.ShellFolder(ShellPrograms, true), own);
  EXPECT_EQ(user.ShellFolder(ShellPrograms, false), own);
  EXPECT_TRUE(FolderExists(common)) << common;
  EXPECT_TRUE(FolderExists(own)) << own;
}

TEST(SystemFolders, EveryShellFolderKindAnswers) {
  TSystemSources sources;
  sources.Administrator = true;
  TSystemInfo info(sources);
  for (int kind = 0; kind < ShellFolderKinds; ++kind) {
    for (bool allUsers : {false, true}) {
      const std::string& path = info.ShellFolder(kind, allUsers);
      EXPECT_TRUE(NoTrailingBackslash(path)) << kind << " " << allUsers << " " << path;
      EXPECT_EQ(&path, &info.ShellFolder(kind, allUsers));  // cached
    }
  }
  EXPECT_EQ(info.ShellFolder(ShellFonts, false), info.ShellFolder(ShellFonts, true));
  EXPECT_EQ(info.ShellFolder(-1, true), "");
  EXPECT_EQ(info.ShellFolder(ShellFolderKinds, false), "");
}

// ---- .NET and the Application Manager version ----

TEST(SystemMachine, NoDotNetRoot) {
  TTestKey k;
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.DotNetFolder(), "");
  EXPECT_FALSE(info.IsDotNetInstalled());
  EXPECT_EQ(info.DotNetVersion(), "0.0");
}

TEST(SystemMachine, DotNetRootThatIsNoFolder) {
  TTestKey k;
  TTempFolder dir;
  k.SetText("Machine\\.NETFramework", "InstallRoot", dir / "missing\\");
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.DotNetFolder(), "");
  EXPECT_FALSE(info.IsDotNetInstalled());
  EXPECT_EQ(info.DotNetVersion(), "0.0");
}

TEST(SystemMachine, DotNetFolderIsTheOneHoldingMscorcfg) {
  TTestKey k;
  TTempFolder dir;
  std::string root = dir / "Framework";
  std::string library = TSystemInfo().SystemFolder() + "\\version.dll";
  auto want = TSystemInfo::GetFileVersion(library);
  ASSERT_TRUE(want) << library;
  for (const char* sub : {"", "\\v1.0", "\\.hidden", "\\v2.0", "\\v3.0", "\\v3.0\\mscorcfg.dll"})
    CreateDirectoryA((root + sub).c_str(), nullptr);
  // Not candidates: a file in the root itself, a folder whose name begins with a full stop,
  // a folder where the name is a folder.
  ASSERT_TRUE(CopyFileA(library.c_str(), (root + "\\mscorcfg.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(library.c_str(), (root + "\\.hidden\\mscorcfg.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(library.c_str(), (root + "\\v2.0\\mscorcfg.dll").c_str(), FALSE));
  WriteBytes(root + "\\v1.0\\other.dll", "x");
  k.SetText("Machine\\.NETFramework", "InstallRoot", root);  // without trailing backslash
  TSystemInfo info(TestSources(k));
  EXPECT_TRUE(info.IsDotNetInstalled());
  EXPECT_EQ(info.DotNetFolder(), root + "\\v2.0\\");
  EXPECT_EQ(info.DotNetVersion(), FixedVersionText(want->dwFileVersionMS, want->dwFileVersionLS));
  EXPECT_NE(info.DotNetVersion(), "0.0");
}

TEST(SystemMachine, DotNetLibraryWithoutVersionGivesNoVersion) {
  TTestKey k;
  TTempFolder dir;
  CreateDirectoryA((dir / "v9").c_str(), nullptr);
  WriteBytes(dir / "v9\\mscorcfg.dll", "not a library");
  k.SetText("Machine\\.NETFramework", "InstallRoot", dir.Path + "\\");
  TSystemInfo info(TestSources(k));
  EXPECT_EQ(info.DotNetFolder(), dir.Path + "\\v9\\");
  EXPECT_EQ(info.DotNetVersion(), "0.0");
}

TEST(SystemMachine, AppMgrVersionNeedsBothNumbers) {
  TTestKey k;
  EXPECT_EQ(TSystemInfo(TestSources(k)).AppMgrVersion(), "0.0");
  k.SetNumber("Machine\\Windows CE Services", "MajorVersion", 3);
  EXPECT_EQ(TSystemInfo(TestSources(k)).AppMgrVersion(), "0.0");
  k.SetText("Machine\\Windows CE Services", "MinorVersion", "71");
  EXPECT_EQ(TSystemInfo(TestSources(k)).AppMgrVersion(), "0.0");
  k.SetNumber("Machine\\Windows CE Services", "MinorVersion", 71);
  EXPECT_EQ(TSystemInfo(TestSources(k)).AppMgrVersion(), "3.71");
}

// ---- Versions and machine ----

TEST(SystemMachine, OSVersionPartsAgreeWithThePackedValue) {
  TSystemInfo info;
  uint32_t major = info.OSVersionValue(1), minor = info.OSVersionValue(2);
  uint32_t build = info.OSVersionValue(3);
  EXPECT_GE(major, 4u);
  EXPECT_EQ(info.OSVersionValue(0), PackedVersion(major, minor, build));
  EXPECT_EQ(info.OSVersionValue(0) >> 24, major);
  EXPECT_TRUE(TSystemInfo::IsNTFamily());
  OSVERSIONINFOEXA v{};
  v.dwOSVersionInfoSize = sizeof v;
  ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&v)));
  EXPECT_EQ(info.OSVersionValue(4), uint32_t(v.wServicePackMajor) * 256 + v.wServicePackMinor);
  EXPECT_EQ(info.OSVersionValue(5), 0u);
  EXPECT_EQ(info.OSVersionValue(-1), 0u);
}

TEST(SystemMachine, AdministratorUnderWine) {
  // Wine runs everything with full rights, so the service manager opens.
  EXPECT_TRUE(TSystemInfo().IsAdministrator());
}

TEST(SystemMachine, FileVersionOfASystemLibrary) {
  std::string system = TSystemInfo().SystemFolder();
  auto v = TSystemInfo::GetFileVersion(system + "\\kernel32.dll");
  ASSERT_TRUE(v);
  EXPECT_EQ(v->dwSignature, 0xFEEF04BDu);
  EXPECT_NE(v->dwFileVersionMS, 0u);
  EXPECT_FALSE(TSystemInfo::GetFileVersion(system + "\\no such library.dll"));
  TTempFolder dir;
  WriteBytes(dir / "plain.dll", "MZ but nothing else");
  EXPECT_FALSE(TSystemInfo::GetFileVersion(dir / "plain.dll"));
  EXPECT_FALSE(TSystemInfo::GetFileVersion(""));
}

// A drive of fewer than 1024 free clusters (a 1 MB tmpfs that small_drive_test.sh maps) still
// has room: every free byte counts. Without that drive the test has nothing to look at.
TEST(SystemSmallDrive, EveryFreeClusterCounts) {
  const char* letter = std::getenv("VNT_SMALL_DRIVE");
  if (!letter || !*letter) GTEST_SKIP() << "no small drive: tests/win32/small_drive_test.sh maps one";
  const std::string root = std::string(1, letter[0]) + ":\\";
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
  ASSERT_GT(freeClusters, 0u);
  ASSERT_LT(freeClusters, 1024u) << "the drive is too large to show it";
  std::optional<uint64_t> free = TSystemInfo::DiskFreeBytes(std::string(1, letter[0]));
  ASSERT_TRUE(free);
  const uint64_t cluster = uint64_t(sectorsPerCluster) * bytesPerSector;
  EXPECT_GE(*free, cluster);
  EXPECT_LE(*free, cluster * totalClusters);
}

TEST(SystemMachine, DiskScreenAndMemory) {
  auto free = TSystemInfo::DiskFreeBytes("C");
  ASSERT_TRUE(free);
  EXPECT_GT(*free, 0u);
  EXPECT_TRUE(TSystemInfo::DiskFreeBytes("c:\\"));
  EXPECT_FALSE(TSystemInfo::DiskFreeBytes(""));
  EXPECT_FALSE(TSystemInfo::DiskFreeBytes("?"));
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Y'; letter > 'C'; --letter) {
    if (!(drives & (1u << (letter - 'A')))) {
      EXPECT_FALSE(TSystemInfo::DiskFreeBytes(std::string(1, letter))) << letter;
      break;
    }
  }
  int depth = TSystemInfo::ColorDepth();
  EXPECT_GT(depth, 0);
  EXPECT_LE(depth, 32);
  // At least what the older 32-bit query sees: that one stops at 4 GB.
  MEMORYSTATUS old{};
  old.dwLength = sizeof old;
  GlobalMemoryStatus(&old);
  EXPECT_GT(TSystemInfo::PhysicalMemory(), 0u);
  EXPECT_GE(TSystemInfo::PhysicalMemory(), uint64_t(old.dwTotalPhys) / 1000000);
}

TEST(SystemMachine, SizesUseTheUsersSeparator) {
  char separator = TSystemInfo::DecimalSeparator();
  EXPECT_NE(separator, '\0');
  EXPECT_EQ(TSystemInfo::FormatSizeForUser(1536, SizeInBytes), std::string("1") + separator + "5 KB");
  EXPECT_EQ(TSystemInfo::FormatSizeForUser(1024, SizeInBytes), "1 KB");
}

// ---- Files and folders ----

TEST(SystemServices, FolderExists) {
  TTempFolder dir;
  WriteBytes(dir / "file.txt", "x");
  EXPECT_TRUE(FolderExists(dir.Path));
  EXPECT_TRUE(FolderExists(dir.Path + "\\"));
  EXPECT_TRUE(FolderExists("C:\\"));
  EXPECT_FALSE(FolderExists(dir / "file.txt"));
  EXPECT_FALSE(FolderExists(dir / "missing"));
  EXPECT_FALSE(FolderExists(""));
}

TEST(SystemServices, ForceFolderResultCodes) {
  TTempFolder dir;
  EXPECT_EQ(ForceFolder(dir.Path), ForceFolderExists);
  EXPECT_EQ(ForceFolder(dir.Path + "\\"), ForceFolderExists);
  EXPECT_EQ(ForceFolder("C:"), ForceFolderNothingToDo);
  EXPECT_EQ(ForceFolder("C:\\"), ForceFolderNothingToDo);
  EXPECT_EQ(ForceFolder(""), ForceFolderNothingToDo);
  EXPECT_EQ(ForceFolder(dir / "New\\Deep\\"), ForceFolderCreated);
  EXPECT_TRUE(FolderExists(dir / "New"));
  EXPECT_TRUE(FolderExists(dir / "New\\Deep"));
  EXPECT_EQ(ForceFolder(dir / "New\\Deep"), ForceFolderExists);
}

TEST(SystemServices, ForceFolderUnderAFileFails) {
  TTempFolder dir;
  WriteBytes(dir / "file.txt", "x");
  EXPECT_EQ(ForceFolder(dir / "file.txt\\Sub\\Deeper"), ForceFolderFailed);
  EXPECT_FALSE(Exists(dir / "file.txt\\Sub"));
  EXPECT_EQ(ForceFolder(dir / "file.txt"), ForceFolderFailed);
  EXPECT_EQ(ForceFolder(dir / "bad|name"), ForceFolderFailed);
}

TEST(SystemServices, ForceFolderExpandsRelativePaths) {
  TTempFolder dir;
  char saved[MAX_PATH * 4];
  GetCurrentDirectoryA(sizeof saved, saved);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.Path.c_str()));
  TForceFolderResult result = ForceFolder("rel\\sub");
  SetCurrentDirectoryA(saved);
  EXPECT_EQ(result, ForceFolderCreated);
  EXPECT_TRUE(FolderExists(dir / "rel\\sub"));
}

TEST(SystemServices, FileSizeOf) {
  TTempFolder dir;
  WriteBytes(dir / "data.bin", std::string(12345, 'z'));
  WriteBytes(dir / "empty.bin", "");
  EXPECT_EQ(FileSizeOf(dir / "data.bin"), 12345u);
  EXPECT_EQ(FileSizeOf(dir / "empty.bin"), 0u);
  EXPECT_EQ(FileSizeOf(dir / "missing.bin"), 0u);
  EXPECT_EQ(FileSizeOf(dir.Path), 0u);
  EXPECT_EQ(FileSizeOf(""), 0u);
}

TEST(SystemServices, DeleteFileForce) {
  TTempFolder dir;
  std::string locked = dir / "readonly.txt";
  WriteBytes(locked, "x");
  ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(DeleteFileForce(locked));
  EXPECT_FALSE(Exists(locked));
  EXPECT_TRUE(DeleteFileForce(dir / "missing.txt"));
  EXPECT_TRUE(DeleteFileForce(dir / "missing folder\\missing.txt"));
  EXPECT_FALSE(DeleteFileForce(dir.Path));
  EXPECT_TRUE(FolderExists(dir.Path));
  EXPECT_FALSE(DeleteFileForce(""));
}

TEST(SystemServices, DeleteFileForceReportsAFileThatStays) {
  TTempFolder dir;
  std::string path = dir / "open.txt";
  WriteBytes(path, "x");
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileForce(path));
  EXPECT_TRUE(Exists(path));
  CloseHandle(h);
}

// ---- Programs ----

namespace {

// A copy of the probe program in a folder of its own, so that its folder differs from ours.
struct TProbe {
  TTempFolder Dir;
  std::string Exe;
  TProbe() {
    std::string built = FolderOfFile(ProgramPath()) + "\\cwdprobe.exe";
    Exe = Dir / "cwdprobe.exe";
    if (!CopyFileA(built.c_str(), Exe.c_str(), FALSE)) ADD_FAILURE() << "not built: " << built;
  }
  std::string Out(const std::string& name) const { return Dir / name; }
  static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
};

std::vector<std::string> AwaitLines(const std::string& path) {
  for (int i = 0; i < 3000 && !Exists(path); ++i) Sleep(10);
  return ReadLines(path);
}

}  // namespace

TEST(SystemRun, EmptyWorkingFolderIsTheProgramsOwn) {
  TProbe probe;
  char ours[MAX_PATH * 4];
  GetCurrentDirectoryA(sizeof ours, ours);
  ASSERT_NE(std::string(ours), probe.Dir.Path);
  DWORD error = 99;
  ASSERT_TRUE(RunProgram(probe.Exe, TProbe::Quoted(probe.Out("out.txt")) + " 0 a b", "", error,
                         false, true));
  EXPECT_EQ(error, 0u);
  auto lines = ReadLines(probe.Out("out.txt"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], probe.Dir.Path);
  EXPECT_EQ(lines[1], "a b");
}

TEST(SystemRun, GivenWorkingFolder) {
  TProbe probe;
  TTempFolder other;
  DWORD error = 99;
  ASSERT_TRUE(RunProgram(probe.Exe, TProbe::Quoted(probe.Out("out.txt")), other.Path, error,
                         true, true));
  auto lines = ReadLines(probe.Out("out.txt"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], other.Path);
}

TEST(SystemRun, EndWaitReturnsAfterTheProgramEnded) {
  TProbe probe;
  DWORD error = 99;
  ASSERT_TRUE(RunProgram(probe.Exe, TProbe::Quoted(probe.Out("out.txt")) + " 300", "", error,
                         false, true));
  EXPECT_TRUE(Exists(probe.Out("out.txt")));
}

TEST(SystemRun, WithoutEndWaitTheProgramRunsOn) {
  TProbe probe;
  std::string go = probe.Out("go");
  DWORD error = 99;
  ASSERT_TRUE(RunProgram(probe.Exe, TProbe::Quoted(probe.Out("out.txt")) + " " +
                                        TProbe::Quoted("wait:" + go),
                         "", error, false, false));
  // The program cannot have finished: it waits for a file that does not exist yet.
  EXPECT_FALSE(Exists(probe.Out("out.txt")));
  WriteBytes(go, "");
  auto lines = AwaitLines(probe.Out("out.txt"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], "ok");
}

TEST(SystemRun, MissingProgramReportsTheSystemError) {
  TTempFolder dir;
  DWORD error = 0;
  EXPECT_FALSE(RunProgram(dir / "missing.exe", "", "", error, true, true));
  EXPECT_EQ(error, DWORD(ERROR_FILE_NOT_FOUND));
  error = 0;
  EXPECT_FALSE(RunProgram("", "", "", error, false, false));
  EXPECT_NE(error, 0u);
}

namespace {

// Runs a second waiting program from inside the first wait when WM_APP arrives.
struct TNestedRun {
  TProbe* Probe = nullptr;
  bool Handled = false;
  bool InnerOk = false;
};
TNestedRun* NestedRun = nullptr;

LRESULT CALLBACK NestingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP && NestedRun) {
    DWORD error;
    NestedRun->InnerOk = RunProgram(NestedRun->Probe->Exe,
                                    TProbe::Quoted(NestedRun->Probe->Out("inner.txt")), "",
                                    error, false, true);
    // Only now may the outer program finish.
    WriteBytes(NestedRun->Probe->Out("go"), "");
    NestedRun->Handled = true;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TEST(SystemRun, EndWaitHandlesWindowMessagesAndMayNest) {
  TProbe probe;
  WNDCLASSA wc{};
  wc.lpfnWndProc = NestingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "VntSystemTestNesting";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  ASSERT_TRUE(window);
  TNestedRun run;
  run.Probe = &probe;
  NestedRun = &run;
  PostMessageA(window, WM_APP, 0, 0);
  DWORD error = 99;
  // The outer program ends only after the message handler has run, so a wait that did not
  // handle messages would see the outer program time out.
  bool ok = RunProgram(probe.Exe, TProbe::Quoted(probe.Out("outer.txt")) + " " +
                                      TProbe::Quoted("wait:" + probe.Out("go")),
                       "", error, false, true);
  NestedRun = nullptr;
  DestroyWindow(window);
  EXPECT_TRUE(ok);
  EXPECT_TRUE(run.Handled);
  EXPECT_TRUE(run.InnerOk);
  EXPECT_TRUE(Exists(probe.Out("inner.txt")));
  auto outer = ReadLines(probe.Out("outer.txt"));
  ASSERT_EQ(outer.size(), 3u);
  EXPECT_EQ(outer[2], "ok");
}

TEST(SystemRun, QuitRequestDuringTheWaitIsKept) {
  TProbe probe;
  PostQuitMessage(7);
  DWORD error = 99;
  ASSERT_TRUE(RunProgram(probe.Exe, TProbe::Quoted(probe.Out("out.txt")), "", error, false, true));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(SystemRun, EndWaitUsesTheGivenMessagePump) {
  TProbe probe;
  HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  PostMessageA(window, WM_NULL, 0, 0);
  int pumped = 0;
  DWORD error = 99;
  ASSERT_TRUE(RunProgram(probe.Exe, TProbe::Quoted(probe.Out("out.txt")) + " 200", "", error,
                         false, true, [&] {
                           ++pumped;
                           DispatchPendingMessages();
                         }));
  DestroyWindow(window);
  EXPECT_GE(pumped, 1);
}

TEST(SystemRun, ShellOpenPassesLongTextsWhole) {
  TProbe probe;
  TTempFolder folder;
  std::string word(200, 'w');
  ASSERT_TRUE(ShellOpen(nullptr, probe.Exe, TProbe::Quoted(probe.Out("out.txt")) + " 0 " + word,
                        folder.Path, SW_HIDE));
  auto lines = AwaitLines(probe.Out("out.txt"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], folder.Path);
  EXPECT_EQ(lines[1], word);
  EXPECT_FALSE(ShellOpen(nullptr, folder / "missing.exe", "", "", SW_HIDE));
}

// ---- COM for the run ----

namespace {

HRESULT CallCoInitialize() {
  TSystemLibrary ole("ole32.dll");
  auto init = ole.Proc<HRESULT(WINAPI*)(void*)>("CoInitialize");
  auto uninit = ole.Proc<void(WINAPI*)()>("CoUninitialize");
  HRESULT result = init(nullptr);
  if (SUCCEEDED(result)) uninit();
  return result;
}

}  // namespace

TEST(SystemSession, ComIsInitialisedForTheRunAndReleasedAtTheEnd) {
  {
    TComSession session;
    EXPECT_EQ(CallCoInitialize(), S_FALSE);  // already initialised
    TComSession nested;
  }
  EXPECT_EQ(CallCoInitialize(), S_OK);  // released again
}

TEST(SystemSession, FailedInitialisationRaisesWithTheResultCode) {
  std::string message;
  std::thread worker([&] {
    TSystemLibrary ole("ole32.dll");
    auto initEx = ole.Proc<HRESULT(WINAPI*)(void*, DWORD)>("CoInitializeEx");
    auto uninit = ole.Proc<void(WINAPI*)()>("CoUninitialize");
    // A thread in the multithreaded apartment cannot enter a single-threaded one.
    if (FAILED(initEx(nullptr, COINIT_MULTITHREADED))) return;
    try {
      TComSession session;
    } catch (const ESystemStartup& e) {
      message = e.what();
    }
    uninit();
  });
  worker.join();
  EXPECT_EQ(message, CoInitializeErrorText(uint32_t(RPC_E_CHANGED_MODE)));
  EXPECT_EQ(message, "CoInitialize failed (0x80010106)");
}
