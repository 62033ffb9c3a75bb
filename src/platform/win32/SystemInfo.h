// Where Windows keeps things and what the machine is, looked up once per run and cached.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vnt {

struct TRegLocation {
  HKEY Root;
  std::string Path;
};

// The registry keys the queries read. The defaults are the system's own; tests point them
// at keys of their own.
struct TSystemSources {
  TRegLocation MachineCurrentVersion{HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion"};
  TRegLocation UserCurrentVersion{HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion"};
  TRegLocation MachineShellFolders{HKEY_LOCAL_MACHINE,
                                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};
  TRegLocation UserShellFolders{HKEY_CURRENT_USER,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};
  TRegLocation AppMgrPath{HKEY_LOCAL_MACHINE,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE"};
  TRegLocation CeServices{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows CE Services"};
  TRegLocation DotNet{HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\.NETFramework"};
  TRegLocation Nt4Windows{HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Windows"};
  // Set to decide the administrator question instead of asking the system.
  std::optional<bool> Administrator;
};

class TSystemInfo {
public:
  // Computes the administrator flag; everything else waits for its first question.
  explicit TSystemInfo(TSystemSources sources = {});

  // A REG_SZ or REG_EXPAND_SZ value (unexpanded) without its terminating zero; nothing for a
  // missing value or one of another type.
  static std::optional<std::string> RegReadString(HKEY key, const std::string& name);
  static std::optional<uint32_t> RegReadNumber(HKEY key, const std::string& name);

  // A value of the CurrentVersion key, the machine's first, else the user's; empty if neither.
  std::string CurrentVersionValue(const std::string& name) const;

  // Folders without trailing backslash, unless noted.
  const std::string& ProgramFilesFolder();
  const std::string& CommonFilesFolder();
  const std::string& TempFolder();  // with trailing backslash
  const std::string& WindowsFolder();
  const std::string& SystemFolder();
  const std::string& FontsFolder();
  const std::string& DocumentsFolder();
  // The registered Application Manager's folder, else "<program files>\Microsoft ActiveSync\"
  // (this one with trailing backslash).
  const std::string& AppMgrFolder();
  // kind is a TShellFolderKind; allUsers takes effect for administrators only, and an empty
  // all-users folder gives the user's own.
  const std::string& ShellFolder(int kind, bool allUsers);
  // The .NET folder holding "mscorcfg.dll", with trailing backslash; empty when none.
  std::string DotNetFolder() const;

  // 0 packed version, 1 major, 2 minor, 3 build, 4 service pack; 0 for anything else.
  uint32_t OSVersionValue(int which);
  static bool IsNTFamily();
  bool IsAdministrator() const { return Administrator; }
  bool IsAppMgrInstalled() const;
  std::string AppMgrVersion() const;
  bool IsDotNetInstalled() const;
  std::string DotNetVersion() const;
  static int ColorDepth();
  // Total physical memory in bytes / 1,000,000.
  static uint64_t PhysicalMemory();
  // Free bytes of the drive's root that this user may fill; nothing when the drive cannot be
  // asked.
  static std::optional<uint64_t> DiskFreeBytes(const std::string& driveLetter);
  static std::optional<VS_FIXEDFILEINFO> GetFileVersion(const std::string& path);
  // The user's decimal separator, "." when the system has none.
  static char DecimalSeparator();
  // FormatSize with the user's decimal separator.
  static std::string FormatSizeForUser(double amount, int unit);

private:
  enum TFolder { FProgramFiles, FTemp, FWindows, FSystem, FFonts, FDocuments, FAppMgr, FCommonFiles };
  static constexpr int FolderCount = 8;
  struct TCachedText {
    std::string Text;
    bool LookedUp = false;
  };

  template <class TLookUp>
  const std::string& Cached(TFolder folder, TLookUp lookUp);
  std::string ShellFolderValue(const std::string& name) const;
  std::string ShellFolderLookUp(int kind, bool allUsers) const;
  std::optional<std::string> DotNetRoot() const;
  uint32_t ReadOSVersionValue(int which) const;
  static bool AskAdministrator();

  TSystemSources Sources;
  bool Administrator;
  std::array<std::string, FolderCount> Folders;  // "-": not looked up yet
  std::array<std::array<TCachedText, 8>, 2> ShellFolders;  // [all users][kind]
  std::array<int64_t, 5> Versions;                          // -1: not asked yet
};

}  // namespace vnt
