// The run's temporary setup folder under the user's temporary folder: made afresh, held by a
// lock file while the run lives, and the folders of runs that died cleared away first.
#pragma once

#include <windows.h>

#include <string>

namespace vnt {

// The lock file a run keeps open, unshared, for as long as it lives: while it is open no
// other run can delete it, and so none takes the folder for a leftover.
class TRunLock {
public:
  TRunLock() = default;
  ~TRunLock() { Release(); }
  TRunLock(const TRunLock&) = delete;
  TRunLock& operator=(const TRunLock&) = delete;

  // Creates the lock file in folder and holds it; answers whether it is held.
  bool Take(const std::string& folder);
  // Lets go of the file; it stays, and goes with its folder.
  void Release();

private:
  HANDLE Handle = INVALID_HANDLE_VALUE;
};

// Removes the setup folders (vnt and three digits) under tempFolder whose run has ended:
// those whose lock file could be deleted, and those without one that have not changed for a
// day. Links are never followed; nothing else is touched.
void RemoveLeftoverSetupFolders(const std::string& tempFolder);

// Makes the first free setup folder under tempFolder and takes its lock; answers its path,
// or nothing when no folder can be made.
std::string MakeTempSetupFolder(const std::string& tempFolder, TRunLock& lock);

}  // namespace vnt
