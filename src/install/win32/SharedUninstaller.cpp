#include "install/win32/SharedUninstaller.h"

#include "install/win32/Registrations.h"
#include "package/SetupStrings.h"
#include "package/VarList.h"
#include "platform/win32/RegistryKeys.h"

namespace vnt {

namespace {

std::string CommandOf(HKEY root, const std::string& entry) {
  TRegKeyHandle key = OpenKey(root, entry, KEY_QUERY_VALUE);
  char text[2048];
  DWORD type = 0, size = sizeof text - 1;
  if (!key || RegQueryValueExA(key.Get(), "UninstallString", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                  ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  text[size] = '\0';
  return text;
}

}  // namespace

int64_t OtherEntriesRunning(HKEY root, const std::string& uninstallKey, const std::string& ownKey,
                            const std::string& path) {
  TRegKeyHandle key = OpenKey(root, uninstallKey, KEY_ENUMERATE_SUB_KEYS);
  if (!key) return 0;
  const std::string quoted = UpperCase("\"" + path + "\"");
  int64_t users = 0;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::string entry = uninstallKey + "\\" + name;
    if (SameTextIgnoringCase(entry, ownKey)) continue;
    if (UpperCase(CommandOf(root, entry)).find(quoted) != std::string::npos) ++users;
  }
  return users;
}

bool CountUninstallerUser(const std::string& path, int64_t others) {
  if (!HasSharedCount(path))
    for (int64_t i = 0; i < others; ++i)
      if (!AddSharedCount(path)) return false;
  return AddSharedCount(path);
}

}  // namespace vnt
