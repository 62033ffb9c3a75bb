// Removing what an installation recorded: files (with questions for shared files, type
// libraries and servers), conduits, folders, registry values and the keys they leave empty.
// The machine is reached through TRemovalSystem, so the passes decide without touching it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/OverwriteRules.h"
#include "install/RecordRules.h"
#include "install/UninstallData.h"

namespace vnt {

struct TRemovalSystem {
  // Clears the read-only attribute and deletes; true when the file is gone (or was not
  // there), so that no second look at the disk is needed.
  std::function<bool(const std::string& path)> RemoveFile;
  std::function<bool(const std::string& path)> Exists;  // a file or a folder
  std::function<bool(const std::string& folder)> FolderEmpty;
  // Removes an empty folder; true when it is gone (or was not there).
  std::function<bool(const std::string& folder)> RemoveFolder;
  // Drops one from the file's shared count (removing the count at zero); answers the users
  // left.
  std::function<int64_t(const std::string& path)> ReleaseSharedCount;
  std::function<void(const std::string& path)> UnregisterTypeLibrary;
  std::function<void(const std::string& path)> UnregisterServer;
  std::function<void(const TSetupFile& file, const std::string& path)> RemoveFont;
  std::function<bool(const std::string& creator)> UnregisterConduit;
  // Deletes a value when it exists; false when it is still there.
  std::function<bool(const TSetupRegChange& value)> DeleteValue;
  // Deletes a key that has neither values nor subkeys; false when such a key stays.
  std::function<bool(uint8_t root, const std::string& key)> DeleteKeyIfEmpty;
  // The question of a text position about a file, with Yes, Yes To All, No and No To All.
  std::function<TReplaceAnswer(int textPosition, const std::string& path)> Ask;
  // Items done of all; false stops the removal.
  std::function<bool(size_t done, size_t total)> Progress;
  // Marks a file, or a folder, for deletion when Windows next starts; false when the system
  // does not allow it or a restart would not help.
  std::function<bool(const std::string& path)> ScheduleRemoval;
  // Whether the folder holds nothing but the given paths.
  std::function<bool(const std::string& folder, const std::vector<std::string>& paths)> FolderHoldsOnly;
  // Whether the file has a shared count the system keeps; the shared uninstaller without one
  // always stays.
  std::function<bool(const std::string& path)> HasSharedCount;
};

struct TRemovalRequest {
  std::string Removed;  // the components to take away
  std::string Kept;     // the components that stay chosen
  bool WholeProduct = false;
  // Take what went out of the record's items, so that a new record no longer holds it.
  bool DropFromItems = false;
  TSetupUninstallerMsgs Texts;
  std::string ConduitLabel = "Conduit:";  // of the current message table
  // What other products in the same folder still need: left in place, and no longer this
  // product's.
  const TOtherProducts* Others = nullptr;
  // Files and folders that cannot go now (in use) go when Windows next starts.
  bool ScheduleInUse = false;
  // What an earlier pass marked to go at the next start: a folder holding only that goes too.
  std::vector<std::string> Scheduled;
  // The uninstaller program this removal runs in, which cannot go before it has ended; empty
  // when the removal runs elsewhere.
  std::string RunningUninstaller;
};

struct TRemovalResult {
  bool Completed = false;  // false when stopped through the progress
  std::vector<std::string> NotRemoved;
  std::vector<std::string> Scheduled;  // files, and folders with a backslash
  // Files left in place on purpose: other products still use them, or the user keeps them.
  std::vector<std::string> Kept;
  // The running uninstaller, when the last product that used it is gone: its caller deletes
  // it once it has ended.
  std::string UninstallerToDelete;
};

TRemovalResult RemoveInstalledItems(std::vector<TUninstItem>& items, const TRemovalRequest& request,
                                    const TRemovalSystem& system);

}  // namespace vnt
