// The temporary setup folders: the names runs give them, and when a folder another run left
// behind may be removed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vnt {

// The file a running setup holds open, unshared, inside its temporary folder.
inline constexpr const char* RunLockFileName = "vntrun.lock";

// "vnt" and n with at least three digits: vnt001, vnt002, ...
std::string SetupTempFolderName(int n);
// Exactly "vnt" and three digits: only folders so named are ever taken for a run's.
bool IsSetupTempFolderName(std::string_view name);

// What became of a folder's lock file when it was deleted.
enum class TRunLockState {
  Released,  // it was deleted: no run holds it any more
  Missing,   // there is none: an older setup's folder, or a run that is making its own
  Held,      // a live run holds it
  Unknown,   // any other refusal (rights, a folder of that name): left alone
};

// A day without change: far longer than any run takes between making its folder and its lock.
inline constexpr int64_t LocklessFolderSeconds = 24 * 60 * 60;

// Whether a setup folder belongs to a run that has ended. secondsUnchanged is negative when
// the folder's date lies in the future.
bool IsLeftoverSetupFolder(TRunLockState lock, int64_t secondsUnchanged);

}  // namespace vnt
