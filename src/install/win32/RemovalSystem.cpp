#include "install/win32/RemovalSystem.h"

#include <windows.h>

#include "install/win32/Registrations.h"
#include "platform/win32/RegistryText.h"

namespace vnt {

namespace {

struct TKey {
  HKEY Handle = nullptr;
  ~TKey() {
    if (Handle) RegCloseKey(Handle);
  }
};

void DeleteFileForGood(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
  DeleteFileA(path.c_str());
}

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
  TKey key;
  if (!root || RegOpenKeyExA(root, r.Key.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key.Handle) != ERROR_SUCCESS)
    return true;
  RegDeleteValueA(key.Handle, r.ValueName.c_str());
  return RegQueryValueExA(key.Handle, r.ValueName.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS;
}

bool DeleteKeyWhenEmpty(uint8_t rootByte, const std::string& path) {
  HKEY root = RootKey(rootByte);
  DWORD subkeys = 0, values = 0;
  {
    TKey key;
    if (!root || RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key.Handle) != ERROR_SUCCESS) return true;
    if (RegQueryInfoKeyA(key.Handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
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
  s.RemoveFile = DeleteFileForGood;
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
