#include "setup/TempFolderRules.h"

#include <cstdio>

namespace vnt {

std::string SetupTempFolderName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "vnt%03d", n);
  return name;
}

bool IsSetupTempFolderName(std::string_view name) {
  if (name.size() != 6 || name.substr(0, 3) != "vnt") return false;
  for (char c : name.substr(3))
    if (c < '0' || c > '9') return false;
  return true;
}

bool IsLeftoverSetupFolder(TRunLockState lock, int64_t secondsUnchanged) {
  switch (lock) {
    case TRunLockState::Released: return true;
    case TRunLockState::Missing: return secondsUnchanged >= LocklessFolderSeconds;
    default: return false;
  }
}

}  // namespace vnt
