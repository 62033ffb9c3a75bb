#include "device/win32/RapiApi.h"

#include "platform/win32/SystemServices.h"

namespace vnt {

const char* const RapiEntryNames[size_t(TRapiEntry::Count)] = {
    "CeRapiInit", "CeRapiInitEx", "CeRapiUninit", "CeFindAllFiles", "RapiFreeBuffer", "CeCreateDatabase",
    "CeDeleteDatabase", "CeDeleteRecord", "CeFindFirstDatabase", "CeFindNextDatabase", "CeOidGetInfo",
    "CeOpenDatabase", "CeReadRecordProps", "CeSeekDatabase", "CeSetDatabaseInfo", "CeWriteRecordProps",
    "CeFindFirstFile", "CeFindNextFile", "CeFindClose", "CeGetFileAttributes", "CeSetFileAttributes",
    "CeCreateFile", "CeReadFile", "CeWriteFile", "CeCloseHandle", "CeFindAllDatabases", "CeGetLastError",
    "GetRapiError", "CeSetFilePointer", "CeSetEndOfFile", "CeCreateDirectory", "CeRemoveDirectory",
    "CeCreateProcess", "CeMoveFile", "CeCopyFile", "CeDeleteFile", "CeGetFileSize", "CeRegOpenKeyEx",
    "CeRegEnumKeyEx", "CeRegCreateKeyEx", "CeRegCloseKey", "CeRegDeleteKey", "CeRegEnumValue",
    "CeRegDeleteValue", "CeRegQueryInfoKey", "CeRegQueryValueEx", "CeRegSetValueEx", "CeGetStoreInformation",
    "CeGetSystemMetrics", "CeGetDesktopDeviceCaps", "CeGetSystemInfo", "CeSHCreateShortcut",
    "CeSHGetShortcutTarget", "CeCheckPassword", "CeGetFileTime", "CeSetFileTime", "CeGetVersionEx", "CeGetWindow",
    "CeGetWindowLong", "CeGetWindowText", "CeGetClassName", "CeGlobalMemoryStatus", "CeGetSystemPowerStatusEx",
};

TRapiLibrary::TRapiLibrary() : Module(LoadSystemLibrary("rapi.dll")) {
  if (!Module) return;
  for (size_t i = 0; i < Procs.size(); ++i) Procs[i] = GetProcAddress(Module, RapiEntryNames[i]);
}

TRapiLibrary::~TRapiLibrary() {
  if (Module) FreeLibrary(Module);
}

std::wstring DeviceText(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

std::string DesktopText(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), narrow.data(), n, nullptr, nullptr);
  return narrow;
}

}  // namespace vnt
