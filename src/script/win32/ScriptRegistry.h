// The registry accessor of the script's registry commands (`ScriptRegistry`). Its root stays
// from one command to the next, across scripts, starting at HKEY_CURRENT_USER. Keys are
// opened with full access rights: a key that cannot be opened so counts as missing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "platform/win32/RegistryKeys.h"

namespace vnt {

using TRegData = std::variant<uint32_t, std::string>;

class TScriptRegistry {
public:
  // The root named by a keyword; any other text keeps the current one.
  void SetRoot(const std::string& keyword);
  HKEY Root() const { return CurrentRoot; }

  // A text value's text (REG_SZ, REG_EXPAND_SZ unexpanded) or a 32-bit number's decimal
  // form; none for a missing key or value or any other type.
  std::optional<std::string> Read(const std::string& path, const std::string& name) const;
  // Creates the key when missing.
  void Write(const std::string& path, const std::string& name, const TRegData& data) const;
  // Deletes the value when it exists; an empty name whose value does not exist deletes the
  // key itself. A missing key is left missing.
  void Delete(const std::string& path, const std::string& name) const;

private:
  HKEY CurrentRoot = HKEY_CURRENT_USER;
};

}  // namespace vnt
