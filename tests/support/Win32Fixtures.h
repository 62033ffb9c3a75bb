// Files, folders and registry keys of a test's own under Wine, removed when the test ends.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

namespace vnt::test {

// Unique per process, moment and call, so tests in parallel never share a name.
inline std::string UniqueName(const char* prefix) {
  static std::atomic<int> counter{0};
  return std::string(prefix) + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
         std::to_string(++counter);
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream all;
  all << f.rdbuf();
  return all.str();
}

// 0xRRGGBB of a colour, as the test pictures take it.
inline uint32_t RgbOf(COLORREF c) { return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c); }

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(child);
      else
        DeleteFileA(child.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

// A folder of its own under the temporary folder (the prefix puts a blank in its name).
struct TTempFolder {
  std::string Path;  // without trailing backslash
  explicit TTempFolder(const char* prefix = "vnt test ") : Path(SystemTempFolder() + UniqueName(prefix)) {
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~TTempFolder() { RemoveTree(Path); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  std::string operator/(const std::string& name) const { return Path + "\\" + name; }
};

inline void DeleteKeyTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char name[256];
    for (DWORD size = sizeof name; RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         size = sizeof name)
      DeleteKeyTree(key, name);
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, path.c_str());
}

// A key of its own under HKEY_CURRENT_USER, removed with its subkeys at the end.
struct TTestKey {
  std::string Path = "Software\\VantryTests\\" + UniqueName("key");
  ~TTestKey() { DeleteKeyTree(HKEY_CURRENT_USER, Path); }

  std::string Sub(const std::string& sub) const { return Path + "\\" + sub; }
  TRegLocation At(const std::string& sub) const { return {HKEY_CURRENT_USER, Sub(sub)}; }
  void Set(const std::string& sub, const std::string& name, DWORD type, const void* data, DWORD size) const {
    HKEY key;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void SetText(const std::string& sub, const std::string& name, const std::string& text, DWORD type = REG_SZ) const {
    Set(sub, name, type, text.c_str(), DWORD(text.size() + 1));
  }
  void SetNumber(const std::string& sub, const std::string& name, DWORD value) const {
    Set(sub, name, REG_DWORD, &value, sizeof value);
  }
  void CreateEmpty(const std::string& sub) const {
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
  }
  HKEY Open(const std::string& sub) const {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, KEY_QUERY_VALUE, &key);
    return key;
  }
  bool KeyExists(const std::string& sub) const {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  // Type and raw data of a value; type REG_NONE when missing.
  std::pair<DWORD, std::string> Value(const std::string& sub, const std::string& name) const {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {REG_NONE, ""};
    char data[512];
    DWORD type = REG_NONE, size = sizeof data;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
      type = REG_NONE, size = 0;
    RegCloseKey(key);
    return {type, std::string(data, size)};
  }
};

}  // namespace vnt::test
