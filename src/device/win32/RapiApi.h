// The Windows CE Remote API as rapi.dll exports it: the records and the entry points this
// program calls, and the library loaded at run time with every entry point looked up by name.
// The stand-in device library builds from the same declarations.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace vnt {

// What CeRapiInitEx fills in: the event that signals the connection, and its result.
struct TRapiInit {
  DWORD cbSize;
  HANDLE heRapiInit;
  HRESULT hrRapiInit;
};
static_assert(sizeof(TRapiInit) == 12, "the library expects a 12-byte record");

struct TCeOsVersionInfo {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};

struct TCeFindData {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};

struct TCeStoreInformation {
  DWORD dwStoreSize;
  DWORD dwFreeSize;
};

using PCeRapiInit = HRESULT(WINAPI*)();
using PCeRapiInitEx = HRESULT(WINAPI*)(TRapiInit*);
using PCeRapiUninit = HRESULT(WINAPI*)();
using PCeGetVersionEx = BOOL(WINAPI*)(TCeOsVersionInfo*);
using PCeGetSystemInfo = void(WINAPI*)(SYSTEM_INFO*);
using PCeGetStoreInformation = BOOL(WINAPI*)(TCeStoreInformation*);
using PCeCreateProcess = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                       DWORD, LPVOID, LPWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
using PCeCreateFile = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using PCeReadFile = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
using PCeWriteFile = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using PCeCloseHandle = BOOL(WINAPI*)(HANDLE);
using PCeSetFilePointer = DWORD(WINAPI*)(HANDLE, LONG, PLONG, DWORD);
using PCeGetFileSize = DWORD(WINAPI*)(HANDLE, LPDWORD);
using PCeFindFirstFile = HANDLE(WINAPI*)(LPCWSTR, TCeFindData*);
using PCeFindClose = BOOL(WINAPI*)(HANDLE);
using PCeCreateDirectory = BOOL(WINAPI*)(LPCWSTR, LPSECURITY_ATTRIBUTES);
using PCeRemoveDirectory = BOOL(WINAPI*)(LPCWSTR);
using PCeMoveFile = BOOL(WINAPI*)(LPCWSTR, LPCWSTR);
using PCeCopyFile = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, BOOL);
using PCeDeleteFile = BOOL(WINAPI*)(LPCWSTR);
using PCeRegOpenKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
using PCeRegCreateKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                                        PHKEY, LPDWORD);
using PCeRegCloseKey = LONG(WINAPI*)(HKEY);
using PCeRegDeleteKey = LONG(WINAPI*)(HKEY, LPCWSTR);
using PCeRegDeleteValue = LONG(WINAPI*)(HKEY, LPCWSTR);
using PCeRegQueryValueEx = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using PCeRegSetValueEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

// Every entry point looked up at load, in this order; the operations use a few of them.
enum class TRapiEntry {
  CeRapiInit, CeRapiInitEx, CeRapiUninit, CeFindAllFiles, RapiFreeBuffer, CeCreateDatabase,
  CeDeleteDatabase, CeDeleteRecord, CeFindFirstDatabase, CeFindNextDatabase, CeOidGetInfo,
  CeOpenDatabase, CeReadRecordProps, CeSeekDatabase, CeSetDatabaseInfo, CeWriteRecordProps,
  CeFindFirstFile, CeFindNextFile, CeFindClose, CeGetFileAttributes, CeSetFileAttributes,
  CeCreateFile, CeReadFile, CeWriteFile, CeCloseHandle, CeFindAllDatabases, CeGetLastError,
  GetRapiError, CeSetFilePointer, CeSetEndOfFile, CeCreateDirectory, CeRemoveDirectory,
  CeCreateProcess, CeMoveFile, CeCopyFile, CeDeleteFile, CeGetFileSize, CeRegOpenKeyEx,
  CeRegEnumKeyEx, CeRegCreateKeyEx, CeRegCloseKey, CeRegDeleteKey, CeRegEnumValue,
  CeRegDeleteValue, CeRegQueryInfoKey, CeRegQueryValueEx, CeRegSetValueEx, CeGetStoreInformation,
  CeGetSystemMetrics, CeGetDesktopDeviceCaps, CeGetSystemInfo, CeSHCreateShortcut,
  CeSHGetShortcutTarget, CeCheckPassword, CeGetFileTime, CeSetFileTime, CeGetVersionEx, CeGetWindow,
  CeGetWindowLong, CeGetWindowText, CeGetClassName, CeGlobalMemoryStatus, CeGetSystemPowerStatusEx,
  Count
};
extern const char* const RapiEntryNames[size_t(TRapiEntry::Count)];

// rapi.dll from the system folder, where the synchronisation software puts it. A missing
// library or entry point gives null entries; nothing is reported.
class TRapiLibrary {
public:
  TRapiLibrary();
  ~TRapiLibrary();
  TRapiLibrary(const TRapiLibrary&) = delete;
  TRapiLibrary& operator=(const TRapiLibrary&) = delete;

  bool Loaded() const { return Module != nullptr; }
  template <class TFunction>
  TFunction Get(TRapiEntry entry) const {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(Procs[size_t(entry)]));
  }

private:
  HMODULE Module = nullptr;
  std::array<FARPROC, size_t(TRapiEntry::Count)> Procs{};
};

// Texts cross to the device as UTF-16; the program's own are in the system code page.
std::wstring DeviceText(const std::string& text);
std::string DesktopText(const std::wstring& text);

}  // namespace vnt
