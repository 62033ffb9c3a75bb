#include "platform/win32/RegistryKeys.h"

namespace vnt {

TRegKeyHandle OpenFullAccess(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) key = nullptr;
  return TRegKeyHandle(key);
}

TRegKeyHandle OpenKey(HKEY root, const std::string& path, REGSAM rights, bool create) {
  HKEY key = nullptr;
  LONG result = create ? RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, rights, nullptr, &key, nullptr)
                       : RegOpenKeyExA(root, path.c_str(), 0, rights, &key);
  return TRegKeyHandle(result == ERROR_SUCCESS ? key : nullptr);
}

bool RegValueExists(HKEY key, const std::string& name) {
  return RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool DeleteKeyIfEmpty(HKEY root, const std::string& path) {
  DWORD subkeys = 0, values = 0;
  {
    TRegKeyHandle key = OpenKey(root, path, KEY_QUERY_VALUE);
    if (!key) return true;
    if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
      return true;
  }
  if (subkeys || values) return true;  // still in use: not ours to take
  return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

}  // namespace vnt
