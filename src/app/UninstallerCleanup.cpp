#include "app/UninstallerCleanup.h"

#include <windows.h>

#include <cstdlib>
#include <optional>

#include "install/win32/Registrations.h"
#include "package/SetupStrings.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"
#include "setup/win32/TempSetupFolder.h"

namespace vnt {

bool DeleteWhenEnded(const std::string& program, const std::string& tempFolder) {
  TRunLock lock;
  std::string folder = MakeTempSetupFolder(tempFolder, lock);
  if (folder.empty()) return false;
  std::string copy = folder + "\\" + UninstallerProgramName;
  HANDLE self = nullptr;
  if (!CopyFileA(ProgramPath().c_str(), copy.c_str(), FALSE) ||
      !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, SYNCHRONIZE, TRUE, 0)) {
    lock.Release();
    RemoveFolderTree(folder);
    return false;
  }
  // The next setup clears the folder once the copy has ended; while it runs, its program
  // cannot be deleted.
  lock.Release();
  std::string command = "\"" + copy + "\" \"/DELETEAFTER=" +
                        std::to_string(reinterpret_cast<uintptr_t>(self)) + ":" + program + "\"";
  STARTUPINFOA start{};
  start.cb = sizeof start;
  PROCESS_INFORMATION process{};
  bool started = CreateProcessA(copy.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                &start, &process);
  CloseHandle(self);
  if (!started) {
    RemoveFolderTree(folder);
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

namespace {

// Which file the path names: a setup that installs the uninstaller again makes a new one,
// with a file index of its own on NTFS.
struct TFileIdentity {
  DWORD Volume = 0, High = 0, Low = 0;
  bool operator==(const TFileIdentity&) const = default;
};

std::optional<TFileIdentity> IdentityOf(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  bool known = GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  if (!known) return std::nullopt;
  return TFileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// A product set up since the removal began has the uninstaller again: it counted itself as
// a user, or wrote a new copy.
bool TakenOverSince(const std::string& path, const std::optional<TFileIdentity>& before) {
  return HasSharedCount(path) || IdentityOf(path) != before;
}

}  // namespace

int RunDeleteAfter(const std::string& value) {
  size_t colon = value.find(':');
  if (colon == std::string::npos) return 1;
  auto process = reinterpret_cast<HANDLE>(std::strtoull(value.substr(0, colon).c_str(), nullptr, 10));
  const std::string path = value.substr(colon + 1);
  const std::optional<TFileIdentity> before = IdentityOf(path);
  if (WaitForSingleObject(process, 60000) != WAIT_OBJECT_0) return 1;
  CloseHandle(process);
  // The system may hold the image a moment after the process has ended.
  for (int tries = 0; tries < 20; ++tries) {
    if (TakenOverSince(path, before)) return 0;
    if (DeleteFileForce(path) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    Sleep(250);
  }
  if (TakenOverSince(path, before)) return 0;
  return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? 0 : 1;
}

}  // namespace vnt
