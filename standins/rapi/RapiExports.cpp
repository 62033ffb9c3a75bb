// The entry points of the stand-in rapi.dll, under the names and with the calling convention
// of the real library (rapi.def keeps the names plain). Each works on the device folder.
#include <windows.h>

#include <string>

#include "EmulatedDevice.h"
#include "EmulatedRegistry.h"
#include "device/win32/RapiApi.h"

using namespace standin;
using vnt::TCeFindData;
using vnt::TCeOsVersionInfo;
using vnt::TCeStoreInformation;
using vnt::TRapiInit;

namespace {

DWORD LastError = 0;

// Fails the call when the device is not connected, as the real library does.
bool Reachable() {
  if (IsConnected()) return true;
  LastError = ERROR_NOT_CONNECTED;
  SetLastError(ERROR_NOT_CONNECTED);
  return false;
}

size_t ProbeSizeFor(int processorType) {
  switch (processorType) {
    case 1824: case 2080: case 2336: case 2577: return 4096;
    case 2000: case 3000: case 4000: return 4608;
    case 10003: case 10005: return 4096;
    default: return 0;
  }
}

const char* ProbeFamilyFor(int processorType) {
  switch (processorType) {
    case 1824: case 2080: case 2336: case 2577: return "ARM";
    case 2000: case 3000: case 4000: return "MIPS";
    case 10003: return "SH3";
    case 10005: return "SH4";
    default: return "";
  }
}

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

std::string WideBytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// What the device's probe program does when it is the right one for the processor: the
// platform facts under HKLM\Software\QX\Vantry, "Finished" last.
bool ActOutProbe(const std::wstring& hostPath) {
  HANDLE file = CreateFileW(hostPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  int processor = SettingInt(L"ProcessorType", 2577);
  std::string expected = std::string("VNTPROBE ") + ProbeFamilyFor(processor);
  std::string head(expected.size(), '\0');
  DWORD size = GetFileSize(file, nullptr), got = 0;
  ReadFile(file, head.data(), DWORD(head.size()), &got, nullptr);
  CloseHandle(file);
  bool right = size == ProbeSizeFor(processor) && size != 0 && head == expected;
  Log(std::string("probe ") + (right ? "ran" : "refused") + " size " + std::to_string(size));
  if (!right || !SettingInt(L"ProbeAnswers", 1)) return right;
  const std::wstring key = L"HKLM\\Software\\QX\\Vantry";
  RegPut(key, L"Platform", REG_SZ, WideBytes(SettingText(L"Platform", L"PocketPC")));
  std::wstring serial = SettingText(L"Serial", L"");
  if (!serial.empty()) RegPut(key, L"Serial", REG_SZ, WideBytes(serial));
  RegPut(key, L"XScale", REG_DWORD, Dword(DWORD(SettingInt(L"XScale", 0))));
  RegPut(key, L"Finished", REG_DWORD, Dword(1));
  return true;
}

// The owner record as the device's control panel keeps it: the name at byte 0, the company
// at byte 72 from version 3 on (66 before), UTF-16 with zero ends.
void PutOwnerRecord() {
  std::wstring name = SettingText(L"OwnerName", L""), company = SettingText(L"OwnerCompany", L"");
  if (name.empty() && company.empty()) return;
  std::string record(0x2C4, '\0');
  size_t companyAt = SettingInt(L"Major", 4) >= 3 ? 72 : 66;
  memcpy(record.data(), name.c_str(), std::min<size_t>(name.size() * 2, companyAt - 2));
  memcpy(record.data() + companyAt, company.c_str(), std::min<size_t>(company.size() * 2, 200));
  RegPut(L"HKCU\\ControlPanel\\Owner", L"Owner", REG_BINARY, record);
}

}  // namespace

extern "C" {

HRESULT WINAPI CeRapiInit() { return ConnectNow(); }

HRESULT WINAPI CeRapiInitEx(TRapiInit* init) {
  if (!init || init->cbSize != sizeof(TRapiInit)) return E_INVALIDARG;
  init->hrRapiInit = S_OK;
  PutOwnerRecord();
  return StartConnection(init->heRapiInit);
}

HRESULT WINAPI CeRapiUninit() {
  bool was = IsConnected();
  EndConnection();
  Log("CeRapiUninit");
  return was ? S_OK : E_FAIL;
}

DWORD WINAPI CeGetLastError() { return LastError; }
HRESULT WINAPI GetRapiError() { return S_OK; }

BOOL WINAPI CeGetVersionEx(TCeOsVersionInfo* info) {
  // A device can take the connection and still not answer.
  if (!Reachable() || !info || SettingInt(L"VersionFails", 0)) return FALSE;
  info->dwMajorVersion = DWORD(SettingInt(L"Major", 4));
  info->dwMinorVersion = DWORD(SettingInt(L"Minor", 20));
  info->dwBuildNumber = DWORD(SettingInt(L"Build", 1081));
  info->dwPlatformId = 3;  // Windows CE
  info->szCSDVersion[0] = 0;
  return TRUE;
}

void WINAPI CeGetSystemInfo(SYSTEM_INFO* info) {
  if (!info) return;
  ZeroMemory(info, sizeof *info);
  if (!Reachable()) return;
  info->dwProcessorType = DWORD(SettingInt(L"ProcessorType", 2577));
  info->dwPageSize = 4096;
  info->dwNumberOfProcessors = 1;
}

BOOL WINAPI CeGetStoreInformation(TCeStoreInformation* info) {
  if (!Reachable() || !info) return FALSE;
  info->dwStoreSize = DWORD(SettingInt(L"StoreSize", 32 * 1024 * 1024));
  info->dwFreeSize = DWORD(SettingInt(L"FreeStore", 16 * 1024 * 1024));
  return TRUE;
}

HANDLE WINAPI CeCreateFile(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD creation,
                           DWORD flags, HANDLE) {
  std::wstring path = HostPath(name);
  if (!Reachable() || path.empty()) return INVALID_HANDLE_VALUE;
  Log("CeCreateFile " + Narrow(name));
  return CreateFileW(path.c_str(), access, share, nullptr, creation, flags, nullptr);
}

BOOL WINAPI CeReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED) {
  return Reachable() && ReadFile(file, buffer, count, read, nullptr);
}

BOOL WINAPI CeWriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED) {
  if (!Reachable()) return FALSE;
  Log("CeWriteFile " + std::to_string(count));
  return WriteFile(file, buffer, count, written, nullptr);
}

BOOL WINAPI CeCloseHandle(HANDLE handle) { return Reachable() && CloseHandle(handle); }

DWORD WINAPI CeSetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method) {
  return Reachable() ? SetFilePointer(file, distance, high, method) : INVALID_SET_FILE_POINTER;
}

DWORD WINAPI CeGetFileSize(HANDLE file, LPDWORD high) {
  return Reachable() ? GetFileSize(file, high) : INVALID_FILE_SIZE;
}

HANDLE WINAPI CeFindFirstFile(LPCWSTR name, TCeFindData* data) {
  std::wstring path = HostPath(name);
  if (!Reachable() || path.empty() || !data) return INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return find;
  ZeroMemory(data, sizeof *data);
  data->dwFileAttributes = found.dwFileAttributes;
  data->ftCreationTime = found.ftCreationTime;
  data->ftLastAccessTime = found.ftLastAccessTime;
  data->ftLastWriteTime = found.ftLastWriteTime;
  data->nFileSizeHigh = found.nFileSizeHigh;
  data->nFileSizeLow = found.nFileSizeLow;
  lstrcpynW(data->cFileName, found.cFileName, MAX_PATH);
  return find;
}

BOOL WINAPI CeFindClose(HANDLE find) { return Reachable() && FindClose(find); }

BOOL WINAPI CeCreateDirectory(LPCWSTR name, LPSECURITY_ATTRIBUTES) {
  std::wstring path = HostPath(name);
  return Reachable() && !path.empty() && CreateDirectoryW(path.c_str(), nullptr);
}

BOOL WINAPI CeRemoveDirectory(LPCWSTR name) {
  std::wstring path = HostPath(name);
  return Reachable() && !path.empty() && RemoveDirectoryW(path.c_str());
}

BOOL WINAPI CeMoveFile(LPCWSTR from, LPCWSTR to) {
  std::wstring a = HostPath(from), b = HostPath(to);
  return Reachable() && !a.empty() && !b.empty() && MoveFileW(a.c_str(), b.c_str());
}

BOOL WINAPI CeCopyFile(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
  std::wstring a = HostPath(from), b = HostPath(to);
  return Reachable() && !a.empty() && !b.empty() && CopyFileW(a.c_str(), b.c_str(), failIfExists);
}

BOOL WINAPI CeDeleteFile(LPCWSTR name) {
  std::wstring path = HostPath(name);
  return Reachable() && !path.empty() && DeleteFileW(path.c_str());
}

BOOL WINAPI CeCreateProcess(LPCWSTR program, LPCWSTR arguments, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                            DWORD, LPVOID, LPWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION info) {
  std::wstring path = HostPath(program);
  if (!Reachable() || path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return FALSE;
  Log("CeCreateProcess " + Narrow(program) + (arguments ? " " + Narrow(arguments) : ""));
  if (IsProbeProgram(program) && !ActOutProbe(path)) return FALSE;
  if (info) ZeroMemory(info, sizeof *info);  // nothing to close
  return TRUE;
}

LONG WINAPI CeRegOpenKeyEx(HKEY root, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
  return Reachable() ? RegOpen(root, subKey, false, result) : ERROR_NOT_CONNECTED;
}

LONG WINAPI CeRegCreateKeyEx(HKEY root, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                             PHKEY result, LPDWORD disposition) {
  if (!Reachable()) return ERROR_NOT_CONNECTED;
  if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
  return RegOpen(root, subKey, true, result);
}

LONG WINAPI CeRegCloseKey(HKEY key) { return Reachable() ? RegClose(key) : ERROR_NOT_CONNECTED; }

LONG WINAPI CeRegDeleteKey(HKEY root, LPCWSTR subKey) {
  return Reachable() ? RegDeleteKeyTree(root, subKey) : ERROR_NOT_CONNECTED;
}

LONG WINAPI CeRegDeleteValue(HKEY key, LPCWSTR name) {
  return Reachable() ? RegDeleteValueOf(key, name) : ERROR_NOT_CONNECTED;
}

LONG WINAPI CeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
  return Reachable() ? RegQuery(key, name, type, data, size) : ERROR_NOT_CONNECTED;
}

LONG WINAPI CeRegSetValueEx(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  return Reachable() ? RegSet(key, name, type, data, size) : ERROR_NOT_CONNECTED;
}

}  // extern "C"
