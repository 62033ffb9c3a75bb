// Files, folders and registry keys of a test's own under Wine, removed when the test ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>

#include "SystemServices.h"

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

}  // namespace vnt::test
