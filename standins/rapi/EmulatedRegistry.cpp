#include "EmulatedRegistry.h"

#include <map>
#include <sstream>
#include <vector>

#include "EmulatedDevice.h"

namespace standin {

namespace {

struct TValue {
  std::wstring Name;
  DWORD Type = 0;
  std::string Bytes;
};

struct TKey {
  std::wstring Path;
  std::map<std::wstring, TValue> Values;  // by upper-case name
};

using TRegistry = std::map<std::wstring, TKey>;  // by upper-case path

std::map<ULONG_PTR, std::wstring> OpenKeys;  // handle -> path
ULONG_PTR NextHandle = 0x1000;

std::wstring Upper(std::wstring text) {
  CharUpperBuffW(text.data(), DWORD(text.size()));
  return text;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), n);
  return out;
}

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

std::string Unhex(const std::string& text) {
  std::string out;
  for (size_t i = 0; i + 1 < text.size(); i += 2) out.push_back(char(std::stoi(text.substr(i, 2), nullptr, 16)));
  return out;
}

std::wstring RegistryFile() { return DeviceFolder() + L"\\registry.txt"; }

TRegistry Load() {
  TRegistry reg;
  std::stringstream in(ReadWhole(RegistryFile()));
  std::string line;
  TKey* key = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> parts;
    std::stringstream fields(line);
    for (std::string part; std::getline(fields, part, '\t');) parts.push_back(part);
    try {
    if (parts.size() == 2 && parts[0] == "key") {
      std::wstring path = Wide(parts[1]);
      key = &reg[Upper(path)];
      key->Path = path;
    } else if (parts.size() >= 3 && parts[0] == "value" && key) {
      TValue v{Wide(parts[1]), DWORD(std::stoul(parts[2])), parts.size() > 3 ? Unhex(parts[3]) : ""};
      key->Values[Upper(v.Name)] = v;
    }
    } catch (const std::exception&) {
      // A line the tests damaged is left out.
    }
  }
  return reg;
}

void Save(const TRegistry& reg) {
  std::ostringstream out;
  for (const auto& [upper, key] : reg) {
    out << "key\t" << Narrow(key.Path) << "\n";
    for (const auto& [name, v] : key.Values)
      out << "value\t" << Narrow(v.Name) << "\t" << v.Type << "\t" << Hex(v.Bytes) << "\n";
  }
  WriteWhole(RegistryFile(), out.str(), false);
}

bool RootName(HKEY root, std::wstring& path) {
  if (root == HKEY_CLASSES_ROOT) path = L"HKCR";
  else if (root == HKEY_CURRENT_USER) path = L"HKCU";
  else if (root == HKEY_LOCAL_MACHINE) path = L"HKLM";
  else {
    auto open = OpenKeys.find(ULONG_PTR(root));
    if (open == OpenKeys.end()) return false;
    path = open->second;
  }
  return true;
}

bool KeyPath(HKEY root, const wchar_t* subKey, std::wstring& path) {
  if (!RootName(root, path)) return false;
  std::wstring sub = subKey ? subKey : L"";
  while (!sub.empty() && sub.back() == L'\\') sub.pop_back();
  if (!sub.empty()) path += L"\\" + sub;
  return true;
}

bool IsRoot(const std::wstring& path) { return path.find(L'\\') == std::wstring::npos; }

// The key of an open handle, when it still exists; roots always do.
TKey* FindKey(TRegistry& reg, HKEY key, TKey& rootHolder) {
  std::wstring path;
  if (!KeyPath(key, nullptr, path)) return nullptr;
  auto found = reg.find(Upper(path));
  if (found != reg.end()) return &found->second;
  if (!IsRoot(path)) return nullptr;
  rootHolder.Path = path;
  return &(reg[Upper(path)] = rootHolder);
}

}  // namespace

LONG RegOpen(HKEY root, const wchar_t* subKey, bool create, HKEY* result) {
  std::wstring path;
  if (!result || !KeyPath(root, subKey, path)) return ERROR_INVALID_HANDLE;
  TRegistry reg = Load();
  if (!IsRoot(path) && reg.find(Upper(path)) == reg.end()) {
    if (!create) return ERROR_FILE_NOT_FOUND;
    for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
      TKey& parent = reg[Upper(path.substr(0, at))];
      if (parent.Path.empty()) parent.Path = path.substr(0, at);
    }
    reg[Upper(path)].Path = path;
    Save(reg);
  }
  OpenKeys[NextHandle] = path;
  *result = HKEY(NextHandle++);
  return ERROR_SUCCESS;
}

LONG RegClose(HKEY key) { return OpenKeys.erase(ULONG_PTR(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

LONG RegDeleteKeyTree(HKEY root, const wchar_t* subKey) {
  std::wstring path;
  if (!KeyPath(root, subKey, path) || IsRoot(path)) return ERROR_INVALID_PARAMETER;
  TRegistry reg = Load();
  std::wstring upper = Upper(path);
  if (reg.erase(upper) == 0) return ERROR_FILE_NOT_FOUND;
  for (auto it = reg.begin(); it != reg.end();)
    it = it->first.rfind(upper + L"\\", 0) == 0 ? reg.erase(it) : std::next(it);
  Save(reg);
  return ERROR_SUCCESS;
}

LONG RegDeleteValueOf(HKEY key, const wchar_t* name) {
  TRegistry reg = Load();
  TKey holder;
  TKey* k = FindKey(reg, key, holder);
  if (!k) return ERROR_INVALID_HANDLE;
  if (k->Values.erase(Upper(name ? name : L"")) == 0) return ERROR_FILE_NOT_FOUND;
  Save(reg);
  return ERROR_SUCCESS;
}

LONG RegQuery(HKEY key, const wchar_t* name, DWORD* type, BYTE* data, DWORD* size) {
  TRegistry reg = Load();
  TKey holder;
  TKey* k = FindKey(reg, key, holder);
  if (!k) return ERROR_INVALID_HANDLE;
  auto found = k->Values.find(Upper(name ? name : L""));
  if (found == k->Values.end()) return ERROR_FILE_NOT_FOUND;
  const TValue& v = found->second;
  if (type) *type = v.Type;
  if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  DWORD room = *size;
  *size = DWORD(v.Bytes.size());
  if (!data) return ERROR_SUCCESS;
  if (room < v.Bytes.size()) return ERROR_MORE_DATA;
  memcpy(data, v.Bytes.data(), v.Bytes.size());
  return ERROR_SUCCESS;
}

LONG RegSet(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
  TRegistry reg = Load();
  TKey holder;
  TKey* k = FindKey(reg, key, holder);
  if (!k) return ERROR_INVALID_HANDLE;
  std::wstring n = name ? name : L"";
  k->Values[Upper(n)] = TValue{n, type, std::string(reinterpret_cast<const char*>(data), data ? size : 0)};
  Save(reg);
  return ERROR_SUCCESS;
}

void RegPut(const std::wstring& path, const std::wstring& name, DWORD type, const std::string& bytes) {
  HKEY key;
  std::wstring sub = path.substr(path.find(L'\\') + 1);
  HKEY root = path.rfind(L"HKCU", 0) == 0 ? HKEY_CURRENT_USER : path.rfind(L"HKCR", 0) == 0 ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
  if (RegOpen(root, sub.c_str(), true, &key) != ERROR_SUCCESS) return;
  RegSet(key, name.c_str(), type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
  RegClose(key);
}

}  // namespace standin
