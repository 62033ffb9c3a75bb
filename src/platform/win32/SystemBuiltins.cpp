#include "platform/win32/SystemBuiltins.h"

#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"

namespace vnt {

namespace {

std::string Number(uint64_t v) { return std::to_string(v); }
std::string Flag(bool v) { return v ? "1" : "0"; }

std::string DateSeparator() {
  char sep[8] = "/";
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, sep, sizeof sep)) return "/";
  return sep;
}

TLocalTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace

const std::vector<std::string>& HotSyncBaseKeyNames() {
  static const std::vector<std::string> names{"Software\\U.S. Robotics", "Software\\Palm Computing"};
  return names;
}

std::optional<std::string> HotSyncBaseKey() {
  for (const std::string& base : HotSyncBaseKeyNames())
    if (KeyExists(HKEY_CURRENT_USER, base.c_str())) return base;
  return std::nullopt;
}

TSystemBuiltins::TSystemBuiltins(TSystemInfo& info)
    : Info(info), ProgramPath(vnt::ProgramPath()), Params(CommandLineParams(GetCommandLineA())) {}

std::string TSystemBuiltins::CommandLineParam(int n) {
  if (n == 0) return ProgramPath;
  return n > 0 && size_t(n) <= Params.size() ? Params[n - 1] : std::string();
}

std::string TSystemBuiltins::FolderValue(TBuiltin id, bool common) {
  switch (id) {
    case TBuiltin::TempSetupDir: return TempSetupDir;
    case TBuiltin::WinDir: return Info.WindowsFolder();
    case TBuiltin::ProgramFilesDir: return Info.ProgramFilesFolder();
    case TBuiltin::FontsDir: return Info.FontsFolder();
    case TBuiltin::ActiveSyncDir: return Info.AppMgrFolder();
    case TBuiltin::SysDir: return Info.SystemFolder();
    case TBuiltin::CommonFilesDir: return Info.CommonFilesFolder();
    case TBuiltin::MyDocumentsDir: return Info.DocumentsFolder();
    // The HotSync module gives its program folder; the Windows folder stands in without one.
    case TBuiltin::HotSyncDir: return HotSyncFolder.empty() ? Info.WindowsFolder() : HotSyncFolder;
    case TBuiltin::ProgramsDir: return Info.ShellFolder(ShellPrograms, common);
    case TBuiltin::StartUpDir: return Info.ShellFolder(ShellStartup, common);
    case TBuiltin::DesktopDir: return Info.ShellFolder(ShellDesktop, common);
    case TBuiltin::StartMenuDir: return Info.ShellFolder(ShellStartMenu, common);
    case TBuiltin::SourceDir: return FolderOfFile(ProgramPath);
    case TBuiltin::DotNetDir: return Info.DotNetFolder();
    default: return "";
  }
}

std::string TSystemBuiltins::MachineValue(TBuiltin id) {
  switch (id) {
    case TBuiltin::IsAdmin: return Flag(Info.IsAdministrator());
    case TBuiltin::IsNT: return Flag(TSystemInfo::IsNTFamily());
    case TBuiltin::OSVersion:
      return Number(Info.OSVersionValue(1)) + "." + Number(Info.OSVersionValue(2)) + "." + Number(Info.OSVersionValue(3));
    case TBuiltin::OSMajorVersion: return Number(Info.OSVersionValue(1));
    case TBuiltin::OSMinorVersion: return Number(Info.OSVersionValue(2));
    case TBuiltin::ColorDepth: return Number(TSystemInfo::ColorDepth());
    case TBuiltin::ScreenHeight: return Number(GetSystemMetrics(SM_CYSCREEN));
    case TBuiltin::ScreenWidth: return Number(GetSystemMetrics(SM_CXSCREEN));
    case TBuiltin::RAMMemory: return Number(TSystemInfo::PhysicalMemory());
    case TBuiltin::SetupHandle: return Number(reinterpret_cast<uintptr_t>(ApplicationWindow));
    case TBuiltin::ActiveDialogHandle: return Number(reinterpret_cast<uintptr_t>(ActiveForm ? ActiveForm() : nullptr));
    case TBuiltin::IsActiveSyncInstalled: return Flag(Info.IsAppMgrInstalled());
    case TBuiltin::IsHotSyncInstalled: return Flag(HotSyncBaseKey().has_value());
    case TBuiltin::IsDotNetInstalled: return Flag(Info.IsDotNetInstalled());
    case TBuiltin::DotNetVersion: return Info.DotNetVersion();
    case TBuiltin::ActiveSyncVersion: return Info.AppMgrVersion();
    default: return FormatTimeBuiltin(id, Now(), DateSeparator());
  }
}

std::string TSystemBuiltins::Value(TBuiltin id, bool commonShellFolders) {
  if (IsFolderBuiltin(id)) return FolderValue(id, commonShellFolders);
  return MachineValue(id);
}

}  // namespace vnt
