#include "script/win32/ScriptRegistry.h"

#include "platform/win32/RegistryText.h"
#include "platform/win32/SystemInfo.h"
#include "script/DesktopRules.h"

namespace vnt {

void TScriptRegistry::SetRoot(const std::string& keyword) {
  if (std::optional<TRegRoot> root = RegRootByKeyword(keyword)) CurrentRoot = RootKey(*root);
}

std::optional<std::string> TScriptRegistry::Read(const std::string& path, const std::string& name) const {
  TRegKeyHandle key = OpenFullAccess(CurrentRoot, path);
  if (!key) return std::nullopt;
  if (auto text = TSystemInfo::RegReadString(key.Get(), name)) return text;
  if (auto number = TSystemInfo::RegReadNumber(key.Get(), name)) return std::to_string(*number);
  return std::nullopt;
}

void TScriptRegistry::Write(const std::string& path, const std::string& name, const TRegData& data) const {
  HKEY created = nullptr;
  if (RegCreateKeyExA(CurrentRoot, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &created, nullptr) != ERROR_SUCCESS)
    return;
  TRegKeyHandle key(created);
  if (const uint32_t* number = std::get_if<uint32_t>(&data)) {
    DWORD value = *number;
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  } else {
    const std::string& text = std::get<std::string>(data);
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   DWORD(text.size() + 1));
  }
}

void TScriptRegistry::Delete(const std::string& path, const std::string& name) const {
  {
    TRegKeyHandle key = OpenFullAccess(CurrentRoot, path);
    if (!key) return;
    if (RegValueExists(key.Get(), name)) {
      RegDeleteValueA(key.Get(), name.c_str());
      return;
    }
  }
  // An empty path would name the root itself, which is never deleted.
  if (name.empty() && !path.empty()) RegDeleteKeyA(CurrentRoot, path.c_str());
}

}  // namespace vnt
