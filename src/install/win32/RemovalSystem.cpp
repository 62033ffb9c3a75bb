#include "install/win32/RemovalSystem.h"

#include <windows.h>

#include <set>

#include "device/win32/HotSync.h"
#include "install/win32/Registrations.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/RegistryText.h"
#include "package/VarList.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The value is gone afterwards (a missing key holds no value; a key that cannot be opened
// keeps its value).
bool DeleteRegistryValue(const TSetupRegChange& r) {
  HKEY root = RootKey(r.Root);
  if (!root) return true;
  HKEY raw = nullptr;
  LONG opened = RegOpenKeyExA(root, r.Key.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &raw);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  TRegKeyHandle key(raw);
  RegDeleteValueA(key.Get(), r.ValueName.c_str());
  return !RegValueExists(key.Get(), r.ValueName);
}

}  // namespace

TRemovalSystem MachineRemovalSystem(std::function<TReplaceAnswer(int, const std::string&)> ask,
                                    std::function<bool(size_t, size_t)> progress) {
  TRemovalSystem s;
  // Most deletes succeed: only a refusal costs a second look at the disk.
  s.RemoveFile = [](const std::string& path) { return DeleteFileForce(path) || !Exists(path); };
  s.Exists = Exists;
  s.FolderEmpty = [](const std::string& folder) {
    return FolderHoldsOnly(folder, [](const std::string&) { return false; });
  };
  s.RemoveFolder = [](const std::string& folder) { return RemoveDirectoryA(folder.c_str()) || !Exists(folder); };
  s.HasSharedCount = [](const std::string& path) { return SystemKeepsSharedCounts() && HasSharedCount(path); };
  s.ReleaseSharedCount = [](const std::string& path) -> int64_t {
    return SystemKeepsSharedCounts() ? ReleaseSharedCount(path) : 0;
  };
  s.UnregisterTypeLibrary = UnregisterTypeLibrary;
  s.UnregisterServer = [](const std::string& path) { RegisterServer(path, true); };
  s.RemoveFont = [](const TSetupFile& f, const std::string& path) { UnregisterFont(f.FontFaceName, path); };
  s.DeleteValue = DeleteRegistryValue;
  s.DeleteKeyIfEmpty = [](uint8_t root, const std::string& path) {
    HKEY key = RootKey(root);
    return !key || DeleteKeyIfEmpty(key, path);
  };
  s.ScheduleRemoval = DeleteAtRestart;
  // Only the software's keys are needed, not its users.
  s.UnregisterConduit = [](const std::string& creator) { return THotSync().UnregisterConduit(creator); };
  s.FolderHoldsOnly = [](const std::string& folder, const std::vector<std::string>& paths) {
    std::set<std::string> allowed;
    for (const auto& p : paths) allowed.insert(UpperCase(StripFolderBackslash(p)));
    return FolderHoldsOnly(folder, [&](const std::string& p) { return allowed.count(UpperCase(p)) > 0; });
  };
  s.Ask = std::move(ask);
  s.Progress = std::move(progress);
  return s;
}

}  // namespace vnt
