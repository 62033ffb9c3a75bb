// Registry keys: a handle that closes its key, opening a key, and asking for a value.
#pragma once

#include <windows.h>

#include <string>

namespace vnt {

// An opened registry key, closed when it goes out of scope.
class TRegKeyHandle {
public:
  TRegKeyHandle() = default;
  explicit TRegKeyHandle(HKEY key) : Key(key) {}
  ~TRegKeyHandle() { if (Key) RegCloseKey(Key); }
  TRegKeyHandle(const TRegKeyHandle&) = delete;
  TRegKeyHandle& operator=(const TRegKeyHandle&) = delete;
  explicit operator bool() const { return Key != nullptr; }
  HKEY Get() const { return Key; }

private:
  HKEY Key = nullptr;
};

// Opens an existing key with full access rights; empty when it cannot be opened so.
TRegKeyHandle OpenFullAccess(HKEY root, const std::string& path);
// Opens a key with the rights given, making it (and its parents) first when create is set;
// empty when that fails.
TRegKeyHandle OpenKey(HKEY root, const std::string& path, REGSAM rights, bool create = false);
bool RegValueExists(HKEY key, const std::string& name);
// Deletes the key when it has neither values nor subkeys; false only when such a key stays
// (a missing key, or one still in use, is no failure).
bool DeleteKeyIfEmpty(HKEY root, const std::string& path);

}  // namespace vnt
