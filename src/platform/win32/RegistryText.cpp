#include "platform/win32/RegistryText.h"

#include "platform/win32/SystemInfo.h"

namespace vnt {

HKEY RootKey(uint8_t root) {
  switch (root) {
    case 0: return HKEY_CLASSES_ROOT;
    case 1: return HKEY_CURRENT_USER;
    case 2: return HKEY_LOCAL_MACHINE;
    default: return nullptr;
  }
}

std::optional<std::string> ReadRegistryText(uint8_t root, const std::string& key, const std::string& valueName) {
  HKEY rootKey = RootKey(root), opened;
  if (!rootKey || RegOpenKeyExA(rootKey, key.c_str(), 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::string> value = TSystemInfo::RegReadString(opened, valueName);
  RegCloseKey(opened);
  return value;
}

}  // namespace vnt
