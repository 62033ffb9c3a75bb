#include "package/Builtins.h"

#include <cstdio>
#include <cstdlib>

namespace vnt {

const std::array<TBuiltinName, BuiltinCount>& BuiltinNames() {
  using B = TBuiltin;
  static const std::array<TBuiltinName, BuiltinCount> names = {{
      {B::SoftwareName, "%SoftwareName%", "%SOFTWARENAME%"},
      {B::CompanyName, "%CompanyName%", "%COMPANYNAME%"},
      {B::TempSetupDir, "%TempSetupDir%", "%TEMPSETUPDIR%"},
      {B::WinDir, "%WinDir%", "%WINDIR%"},
      {B::HelpDir, "%HelpDir%", "%HELPDIR%"},
      {B::ProgramFilesDir, "%ProgramFilesDir%", "%PROGRAMFILESDIR%"},
      {B::FontsDir, "%FontsDir%", "%FONTSDIR%"},
      {B::ActiveSyncDir, "%ActiveSyncDir%", "%ACTIVESYNCDIR%"},
      {B::SysDir, "%SysDir%", "%SYSDIR%"},
      {B::CommonFilesDir, "%CommonFilesDir%", "%COMMONFILESDIR%"},
      {B::WinDrive, "%WinDrive%", "%WINDRIVE%"},
      {B::MyDocumentsDir, "%MyDocumentsDir%", "%MYDOCUMENTSDIR%"},
      {B::HotSyncDir, "%HotSyncDir%", "%HOTSYNCDIR%"},
      {B::ProgramsDir, "%ProgramsDir%", "%PROGRAMSDIR%"},
      {B::StartUpDir, "%StartUpDir%", "%STARTUPDIR%"},
      {B::DesktopDir, "%DesktopDir%", "%DESKTOPDIR%"},
      {B::StartMenuDir, "%StartMenuDir%", "%STARTMENUDIR%"},
      {B::ProgramGroupDir, "%ProgramGroupDir%", "%PROGRAMGROUPDIR%"},
      {B::SourceDir, "%SourceDir%", "%SOURCEDIR%"},
      {B::DotNetDir, "%DotNetDir%", "%DOTNETDIR%"},
      {B::IsAdmin, "%IsAdmin%", "%ISADMIN%"},
      {B::IsNT, "%IsNT%", "%ISNT%"},
      {B::OSVersion, "%OSVersion%", "%OSVERSION%"},
      {B::OSMajorVersion, "%OSMajorVersion%", "%OSMAJORVERSION%"},
      {B::OSMinorVersion, "%OSMinorVersion%", "%OSMINORVERSION%"},
      {B::ColorDepth, "%ColorDepth%", "%COLORDEPTH%"},
      {B::CurrentDay, "%CurrentDay%", "%CURRENTDAY%"},
      {B::CurrentHour, "%CurrentHour%", "%CURRENTHOUR%"},
      {B::CurrentMinute, "%CurrentMinute%", "%CURRENTMINUTE%"},
      {B::CurrentMonth, "%CurrentMonth%", "%CURRENTMONTH%"},
      {B::CurrentSecond, "%CurrentSecond%", "%CURRENTSECOND%"},
      {B::CurrentYear, "%CurrentYear%", "%CURRENTYEAR%"},
      {B::Date, "%Date%", "%DATE%"},
      {B::EuropeanDate, "%EuropeanDate%", "%EUROPEANDATE%"},
      {B::ISODate, "%ISODate%", "%ISODATE%"},
      {B::ScreenHeight, "%ScreenHeight%", "%SCREENHEIGHT%"},
      {B::ScreenWidth, "%ScreenWidth%", "%SCREENWIDTH%"},
      {B::RAMMemory, "%RAMMemory%", "%RAMMEMORY%"},
      {B::SetupHandle, "%SetupHandle%", "%SETUPHANDLE%"},
      {B::ActiveDialogHandle, "%ActiveDialogHandle%", "%ACTIVEDIALOGHANDLE%"},
      {B::IsActiveSyncInstalled, "%IsActiveSyncInstalled%", "%ISACTIVESYNCINSTALLED%"},
      {B::IsHotSyncInstalled, "%IsHotSyncInstalled%", "%ISHOTSYNCINSTALLED%"},
      {B::IsDotNetInstalled, "%IsDotNetInstalled%", "%ISDOTNETINSTALLED%"},
      {B::DotNetVersion, "%DotNetVersion%", "%DOTNETVERSION%"},
      {B::ActiveSyncVersion, "%ActiveSyncVersion%", "%ACTIVESYNCVERSION%"},
      {B::CmdLineParam, "%CmdLineParam%", "%CMDLINEPARAM%"},
  }};
  return names;
}

bool IsFolderBuiltin(TBuiltin id) {
  int row = int(id);
  return row == 3 || row == 4 || (row >= 6 && row <= 17) || row == 19 || row == 20;
}

bool IsComputedBuiltin(TBuiltin id) { return int(id) >= int(TBuiltin::IsAdmin); }

namespace {
std::string Two(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d", v);
  return buf;
}
std::string Four(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}
}  // namespace

std::string FormatTimeBuiltin(TBuiltin id, const TLocalTime& t, const std::string& sep) {
  switch (id) {
    case TBuiltin::CurrentDay: return Two(t.Day);
    case TBuiltin::CurrentHour: return Two(t.Hour);
    case TBuiltin::CurrentMinute: return Two(t.Minute);
    case TBuiltin::CurrentMonth: return Two(t.Month);
    case TBuiltin::CurrentSecond: return Two(t.Second);
    case TBuiltin::CurrentYear: return Four(t.Year);
    case TBuiltin::Date: return Two(t.Month) + sep + Two(t.Day) + sep + Four(t.Year);
    case TBuiltin::EuropeanDate: return Two(t.Day) + sep + Two(t.Month) + sep + Four(t.Year);
    case TBuiltin::ISODate: return Four(t.Year) + "-" + Two(t.Month) + "-" + Two(t.Day);
    default: return "";
  }
}

std::vector<std::string> CommandLineParams(const std::string& commandLine) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < commandLine.size()) {
    while (i < commandLine.size() && static_cast<unsigned char>(commandLine[i]) <= ' ') ++i;
    if (i == commandLine.size()) break;
    std::string word;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || static_cast<unsigned char>(commandLine[i]) > ' '); ++i) {
      if (commandLine[i] == '"')
        quoted = !quoted;
      else
        word.push_back(commandLine[i]);
    }
    words.push_back(word);
  }
  if (!words.empty()) words.erase(words.begin());  // the program as it was started
  return words;
}

long long NumberFromText(const std::string& text) {
  std::string kept;
  for (char c : text)
    if ((c >= '0' && c <= '9') || c == '-') kept.push_back(c);
  // Minus signs only count in front; what does not parse reads as 0.
  char* end = nullptr;
  long long v = std::strtoll(kept.c_str(), &end, 10);
  return (end && *end == '\0') ? v : 0;
}

}  // namespace vnt
