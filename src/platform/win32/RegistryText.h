// Text values of the registry as the setup's records name them: a root byte, a key path and
// a value name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vnt {

// 0 HKEY_CLASSES_ROOT, 1 HKEY_CURRENT_USER, 2 HKEY_LOCAL_MACHINE; null for other bytes.
HKEY RootKey(uint8_t root);
// The text value, read through a key opened with full access rights and never created;
// none when the key cannot be opened so or the value is missing or not a text.
std::optional<std::string> ReadRegistryText(uint8_t root, const std::string& key, const std::string& valueName);

}  // namespace vnt
