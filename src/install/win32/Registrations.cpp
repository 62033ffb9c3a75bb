#include "install/win32/Registrations.h"

#include <windows.h>
// after windows.h
#include <oleauto.h>

#include <algorithm>
#include <vector>

#include "install/InstallRules.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemInfo.h"

namespace vnt {

namespace {

constexpr char FontsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";

std::optional<TSharedCount> ReadCount(HKEY key, const std::string& path) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, path.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || size > 64)
    return std::nullopt;
  std::string bytes(size, '\0');
  if (RegQueryValueExA(key, path.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  bytes.resize(size);
  return ParseSharedCount(type, bytes);
}

void WriteCount(HKEY key, const std::string& path, const TSharedCount& count) {
  std::string bytes = SharedCountBytes(count);
  RegSetValueExA(key, path.c_str(), 0, SharedCountType(count), reinterpret_cast<const BYTE*>(bytes.data()),
                 DWORD(bytes.size()));
}

std::wstring Wide(const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(size_t(n > 0 ? n : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  wide.resize(wide.size() - 1);
  return wide;
}

ITypeLib* LoadLibraryOfTypes(const std::string& path) {
  ITypeLib* library = nullptr;
  std::wstring wide = Wide(path);
  if (FAILED(LoadTypeLibEx(wide.c_str(), REGKIND_NONE, &library))) return nullptr;
  return library;
}

}  // namespace

bool SystemKeepsSharedCounts() { return LOBYTE(LOWORD(GetVersion())) > 3; }

bool AddSharedCount(const std::string& path) {
  TRegKeyHandle key = OpenKey(HKEY_LOCAL_MACHINE, SharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE, true);
  if (!key) return false;
  TSharedCount count = ReadCount(key.Get(), path).value_or(TSharedCount{});
  ++count.Count;
  WriteCount(key.Get(), path, count);
  return true;
}

bool HasSharedCount(const std::string& path) {
  TRegKeyHandle key = OpenKey(HKEY_LOCAL_MACHINE, SharedDllsKey, KEY_QUERY_VALUE);
  return key && RegValueExists(key.Get(), path);
}

int64_t ReleaseSharedCount(const std::string& path) {
  TRegKeyHandle key = OpenKey(HKEY_LOCAL_MACHINE, SharedDllsKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
  if (!key || !RegValueExists(key.Get(), path)) return 0;
  TSharedCount count = ReadCount(key.Get(), path).value_or(TSharedCount{2});
  if (--count.Count <= 0) RegDeleteValueA(key.Get(), path.c_str());
  else WriteCount(key.Get(), path, count);
  return std::max<int64_t>(count.Count, 0);
}

bool RegisterServer(const std::string& path, bool unregister) {
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HCURSOR oldCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  HMODULE library = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  bool done = false;
  if (library) {
    using TEntry = HRESULT(WINAPI*)();
    auto entry = reinterpret_cast<TEntry>(
        reinterpret_cast<void*>(GetProcAddress(library, unregister ? "DllUnregisterServer" : "DllRegisterServer")));
    done = entry && SUCCEEDED(entry());
    FreeLibrary(library);
  }
  SetCursor(oldCursor);
  SetErrorMode(oldMode);
  return done;
}

bool RegisterTypeLibrary(const std::string& path) {
  ITypeLib* library = LoadLibraryOfTypes(path);
  if (!library) return false;
  BSTR help = nullptr;
  library->GetDocumentation(-1, nullptr, nullptr, nullptr, &help);
  std::wstring helpFolder = help && SysStringLen(help) ? std::wstring(help, SysStringLen(help))
                                                        : Wide(FolderOfFile(path));
  if (help) SysFreeString(help);
  std::wstring wide = Wide(path);
  bool done = SUCCEEDED(RegisterTypeLib(library, wide.data(), helpFolder.data()));
  library->Release();
  return done;
}

void UnregisterTypeLibrary(const std::string& path) {
  ITypeLib* library = LoadLibraryOfTypes(path);
  if (!library) return;
  TLIBATTR* attributes = nullptr;
  if (SUCCEEDED(library->GetLibAttr(&attributes)) && attributes) {
    UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum, attributes->lcid,
                      attributes->syskind);
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
}

void RegisterFont(const std::string& faceName, const std::string& path, const std::string& fontsFolder) {
  bool inFonts = !fontsFolder.empty() && SameTextIgnoringCase(FolderOfFile(path), StripFolderBackslash(fontsFolder));
  std::string stored = inFonts ? path.substr(path.find_last_of('\\') + 1) : path;
  if (TSystemInfo::IsNTFamily()) {
    WriteProfileStringA("Fonts", faceName.c_str(), stored.c_str());
  } else {
    if (TRegKeyHandle key = OpenKey(HKEY_LOCAL_MACHINE, FontsKey, KEY_SET_VALUE, true))
      RegSetValueExA(key.Get(), faceName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                     DWORD(stored.size() + 1));
  }
  if (AddFontResourceA(path.c_str()) > 0)
    SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
}

void UnregisterFont(const std::string& faceName, const std::string& path) {
  RemoveFontResourceA(path.c_str());
  if (TSystemInfo::IsNTFamily()) {
    WriteProfileStringA("Fonts", faceName.c_str(), nullptr);
  } else {
    if (TRegKeyHandle key = OpenKey(HKEY_LOCAL_MACHINE, FontsKey, KEY_SET_VALUE))
      RegDeleteValueA(key.Get(), faceName.c_str());
  }
  SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
}

}  // namespace vnt
