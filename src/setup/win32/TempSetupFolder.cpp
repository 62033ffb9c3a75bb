#include "setup/win32/TempSetupFolder.h"

#include <algorithm>
#include <vector>

#include "package/SystemRules.h"
#include "platform/win32/SystemServices.h"
#include "setup/TempFolderRules.h"

namespace vnt {

namespace {

// Enough numbers for any sane temporary folder; past them the folder cannot be written.
constexpr int TempFolderTries = 999;

int64_t FileTimeSeconds(const FILETIME& t) {
  return int64_t((uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000000);
}

int64_t SecondsUnchanged(const WIN32_FIND_DATAA& found) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  int64_t changed = std::max(FileTimeSeconds(found.ftCreationTime), FileTimeSeconds(found.ftLastWriteTime));
  return FileTimeSeconds(now) - changed;
}

// Deleting the lock is the test: a live run holds it open without delete sharing.
TRunLockState DeleteRunLock(const std::string& folder) {
  if (DeleteFileA((folder + "\\" + RunLockFileName).c_str())) return TRunLockState::Released;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return TRunLockState::Missing;
    case ERROR_SHARING_VIOLATION: return TRunLockState::Held;
    default: return TRunLockState::Unknown;
  }
}

struct TFoundFolder {
  std::string Path;
  int64_t SecondsUnchanged;
};

// The setup folders directly under the temporary folder; links to elsewhere are left out.
std::vector<TFoundFolder> SetupFoldersIn(const std::string& base) {
  std::vector<TFoundFolder> folders;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((base + "vnt*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return folders;
  do {
    const DWORD attributes = found.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
    if (IsSetupTempFolderName(found.cFileName)) folders.push_back({base + found.cFileName, SecondsUnchanged(found)});
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return folders;
}

}  // namespace

bool TRunLock::Take(const std::string& folder) {
  Release();
  Handle = CreateFileA((folder + "\\" + RunLockFileName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  return Handle != INVALID_HANDLE_VALUE;
}

void TRunLock::Release() {
  if (Handle == INVALID_HANDLE_VALUE) return;
  CloseHandle(Handle);
  Handle = INVALID_HANDLE_VALUE;
}

void RemoveLeftoverSetupFolders(const std::string& tempFolder) {
  if (tempFolder.empty()) return;
  // Listed first, removed after: the listing is not walked while it changes.
  for (const TFoundFolder& folder : SetupFoldersIn(WithFolderBackslash(tempFolder)))
    if (IsLeftoverSetupFolder(DeleteRunLock(folder.Path), folder.SecondsUnchanged)) RemoveFolderTree(folder.Path);
}

std::string MakeTempSetupFolder(const std::string& tempFolder, TRunLock& lock) {
  for (int n = 1; n <= TempFolderTries; ++n) {
    std::string path = WithFolderBackslash(tempFolder) + SetupTempFolderName(n);
    if (ForceFolder(path) != ForceFolderCreated) continue;
    // A folder without its lock still works; a later run leaves it alone for a day.
    lock.Take(path);
    return path;
  }
  return {};
}

}  // namespace vnt
