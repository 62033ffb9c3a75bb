#include "install/win32/RemovalSystem.h"

#include <windows.h>

#include "install/win32/Registrations.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

bool FolderHoldsNothing(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    std::string name = found.cFileName;
    empty = name == "." || name == "..";
  } while (empty && FindNextFileA(search, &found));
  FindClose(search);
  return empty;
}

// The value is gone afterwards (a missing key holds no value).
bool DeleteRegistryValue(const TSetupRegChange& r) {
  HKEY root = RootKey(r.Root);
  TRegKeyHandle key = root ? OpenKey(root, r.Key, KEY_QUERY_VALUE | KEY_SET_VALUE) : TRegKeyHandle();
  if (!key) return true;
  RegDeleteValueA(key.Get(), r.ValueName.c_str());
  return !RegValueExists(key.Get(), r.ValueName);
}

bool DeleteKeyWhenEmpty(uint8_t rootByte, const std::string& path) {
  HKEY root = RootKey(rootByte);
  DWORD subkeys = 0, values = 0;
  {
    TRegKeyHandle key = root ? OpenKey(root, path, KEY_QUERY_VALUE) : TRegKeyHandle();
    if (!key) return true;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
      return true;
  }
  if (subkeys || values) return true;  // still in use: not ours to take
  return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace

TRemovalSystem MachineRemovalSystem(std::function<TReplaceAnswer(int, const std::string&)> ask,
                                    std::function<bool(size_t, size_t)> progress) {
  TRemovalSystem s;
  s.RemoveFile = [](const std::string& path) { DeleteFileForce(path); };
  s.Exists = [](const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; };
  s.FolderEmpty = FolderHoldsNothing;
  s.RemoveFolder = [](const std::string& folder) { RemoveDirectoryA(folder.c_str()); };
  s.ReleaseSharedCount = [](const std::string& path) -> int64_t {
    return SystemKeepsSharedCounts() ? ReleaseSharedCount(path) : 0;
  };
  s.UnregisterTypeLibrary = UnregisterTypeLibrary;
  s.UnregisterServer = [](const std::string& path) { RegisterServer(path, true); };
  s.RemoveFont = [](const TSetupFile& f, const std::string& path) { UnregisterFont(f.FontFaceName, path); };
  s.DeleteValue = DeleteRegistryValue;
  s.DeleteKeyIfEmpty = DeleteKeyWhenEmpty;
  s.Ask = std::move(ask);
  s.Progress = std::move(progress);
  return s;
}

}  // namespace vnt
