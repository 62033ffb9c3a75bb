// The device registry: one open key at a time, and single values of other keys.
#include "device/win32/RapiTool.h"

#include <algorithm>
#include <cstring>

namespace vnt {

namespace {

bool IsRootKey(HKEY key) {
  auto value = ULONG_PTR(key);
  return value >= ULONG_PTR(HKEY_CLASSES_ROOT) && value <= ULONG_PTR(HKEY_CURRENT_CONFIG);
}

}  // namespace

bool TRapiTool::OpenKey(HKEY root, const std::string& key, bool create) {
  auto openKey = Entry<PCeRegOpenKeyEx>(TRapiEntry::CeRegOpenKeyEx);
  auto createKey = Entry<PCeRegCreateKeyEx>(TRapiEntry::CeRegCreateKeyEx);
  if (!Connected) return false;
  CloseKey();
  if (key.empty()) {
    KeyHandle = root;
    return true;
  }
  HKEY opened = nullptr;
  LONG result = ERROR_INVALID_FUNCTION;
  std::wstring wide = DeviceText(key);
  if (create && createKey) {
    DWORD disposition = 0;
    result = createKey(root, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, &disposition);
  } else if (!create && openKey) {
    result = openKey(root, wide.c_str(), 0, KEY_ALL_ACCESS, &opened);
  }
  if (result != ERROR_SUCCESS) return false;
  KeyHandle = opened;
  return true;
}

bool TRapiTool::CloseKey() {
  auto closeKey = Entry<PCeRegCloseKey>(TRapiEntry::CeRegCloseKey);
  if (!Connected || KeyHandle == NoKey) return false;
  HKEY key = KeyHandle;
  KeyHandle = NoKey;
  if (IsRootKey(key)) return true;
  return closeKey && closeKey(key) == ERROR_SUCCESS;
}

bool TRapiTool::DeleteKey(HKEY root, const std::string& key) {
  auto deleteKey = Entry<PCeRegDeleteKey>(TRapiEntry::CeRegDeleteKey);
  return Connected && deleteKey && deleteKey(root, DeviceText(key).c_str()) == ERROR_SUCCESS;
}

bool TRapiTool::DeleteValue(const std::string& name) {
  auto deleteValue = Entry<PCeRegDeleteValue>(TRapiEntry::CeRegDeleteValue);
  return Connected && deleteValue && KeyHandle != NoKey &&
         deleteValue(KeyHandle, DeviceText(name).c_str()) == ERROR_SUCCESS;
}

bool TRapiTool::QueryValue(HKEY key, const std::string& name, DWORD& type, std::string& data, DWORD maxBytes) {
  auto query = Entry<PCeRegQueryValueEx>(TRapiEntry::CeRegQueryValueEx);
  data.clear();
  type = 0;
  if (!Connected || !query || key == NoKey) return false;
  std::wstring wide = DeviceText(name);
  DWORD size = maxBytes;
  data.resize(maxBytes);
  LONG result = query(key, wide.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  // A larger value than asked for is refused, never half read.
  if (result != ERROR_SUCCESS || size > maxBytes) {
    data.clear();
    return false;
  }
  data.resize(size);
  return true;
}

bool TRapiTool::QueryOtherKey(HKEY root, const std::string& key, const std::string& name, DWORD& type,
                              std::string& data, DWORD maxBytes) {
  auto openKey = Entry<PCeRegOpenKeyEx>(TRapiEntry::CeRegOpenKeyEx);
  auto closeKey = Entry<PCeRegCloseKey>(TRapiEntry::CeRegCloseKey);
  HKEY opened = nullptr;
  if (!Connected || !openKey || openKey(root, DeviceText(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  bool ok = QueryValue(opened, name, type, data, maxBytes);
  if (closeKey) closeKey(opened);
  return ok;
}

bool TRapiTool::ValueExists(const std::string& name) {
  DWORD type;
  std::string data;
  auto query = Entry<PCeRegQueryValueEx>(TRapiEntry::CeRegQueryValueEx);
  if (!Connected || !query || KeyHandle == NoKey) return false;
  return query(KeyHandle, DeviceText(name).c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
}

uint32_t TRapiTool::GetValueType(const std::string& name) {
  DWORD type = 0;
  auto query = Entry<PCeRegQueryValueEx>(TRapiEntry::CeRegQueryValueEx);
  if (!Connected || !query || KeyHandle == NoKey) return 0;
  return query(KeyHandle, DeviceText(name).c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS ? type : 0;
}

bool TRapiTool::ReadString(const std::string& name, std::string& text) {
  text.clear();
  DWORD type;
  std::string data;
  if (!QueryValue(KeyHandle, name, type, data, DWORD((MaxStringChars + 1) * sizeof(WCHAR)))) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::wstring wide(data.size() / sizeof(WCHAR), L'\0');
  std::memcpy(wide.data(), data.data(), wide.size() * sizeof(WCHAR));
  // The stored text may or may not carry its end; it ends at its first zero either way.
  wide.resize(std::min(wide.find(L'\0'), wide.size()));
  text = DesktopText(wide);
  return true;
}

bool TRapiTool::ReadInteger(const std::string& name, int32_t& value) {
  value = 0;
  DWORD type;
  std::string data;
  if (!QueryValue(KeyHandle, name, type, data, 4) || data.size() != 4) return false;
  std::memcpy(&value, data.data(), 4);
  return true;
}

bool TRapiTool::WriteString(const std::string& name, const std::string& text) {
  auto setValue = Entry<PCeRegSetValueEx>(TRapiEntry::CeRegSetValueEx);
  std::wstring wide = DeviceText(text);
  if (!Connected || !setValue || KeyHandle == NoKey || wide.size() > MaxStringChars) return false;
  DWORD bytes = DWORD((wide.size() + 1) * sizeof(WCHAR));
  return setValue(KeyHandle, DeviceText(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                  bytes) == ERROR_SUCCESS;
}

bool TRapiTool::WriteInteger(const std::string& name, int32_t value) {
  auto setValue = Entry<PCeRegSetValueEx>(TRapiEntry::CeRegSetValueEx);
  if (!Connected || !setValue || KeyHandle == NoKey) return false;
  return setValue(KeyHandle, DeviceText(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) ==
         ERROR_SUCCESS;
}

}  // namespace vnt
