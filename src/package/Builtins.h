// The built-in variables, in the order in which expansion replaces them, and the source
// that computes their values on the running system.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vnt {

enum class TBuiltin {
  SoftwareName = 1, CompanyName, TempSetupDir, WinDir, HelpDir, ProgramFilesDir, FontsDir,
  ActiveSyncDir, SysDir, CommonFilesDir, WinDrive, MyDocumentsDir, HotSyncDir, ProgramsDir,
  StartUpDir, DesktopDir, StartMenuDir, ProgramGroupDir, SourceDir, DotNetDir, IsAdmin, IsNT,
  OSVersion, OSMajorVersion, OSMinorVersion, ColorDepth, CurrentDay, CurrentHour, CurrentMinute,
  CurrentMonth, CurrentSecond, CurrentYear, Date, EuropeanDate, ISODate, ScreenHeight,
  ScreenWidth, RAMMemory, SetupHandle, ActiveDialogHandle, IsActiveSyncInstalled,
  IsHotSyncInstalled, IsDotNetInstalled, DotNetVersion, ActiveSyncVersion, CmdLineParam
};
constexpr int BuiltinCount = 46;

struct TBuiltinName {
  TBuiltin Id;
  const char* Name;   // as written, e.g. "%WinDir%"
  const char* Upper;  // upper case, for the search
};

// All 46, in replacement order.
const std::array<TBuiltinName, BuiltinCount>& BuiltinNames();
// Folder rows lose one trailing backslash when inserted.
bool IsFolderBuiltin(TBuiltin id);
// Rows whose value is computed at each use (21 to 46).
bool IsComputedBuiltin(TBuiltin id);

// Computes built-in values on the running system. The expansion derives %HelpDir%,
// %WinDrive% and %ProgramGroupDir% itself and takes the names from the setup properties.
class TBuiltinSource {
public:
  virtual ~TBuiltinSource() = default;
  // The shell folder rows answer the all-users folders when commonShellFolders is set.
  virtual std::string Value(TBuiltin id, bool commonShellFolders) = 0;
  // Parameter n of the command line; 0 is the program's own path; empty when there is none.
  virtual std::string CommandLineParam(int n) = 0;
};

struct TLocalTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};
// The date and time rows (27 to 35) for a moment and the regional date separator.
std::string FormatTimeBuiltin(TBuiltin id, const TLocalTime& t, const std::string& dateSeparator);

// The words of a command line after the program's own name: blanks separate words, double
// quotes group blanks into a word and are dropped.
std::vector<std::string> CommandLineParams(const std::string& commandLine);

// Digits and minus signs of a text read as a number; 0 when nothing usable is left.
long long NumberFromText(const std::string& text);

}  // namespace vnt
