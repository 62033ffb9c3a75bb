// The Palm HotSync desktop software as the setup sees it: whether it is there, its users and
// their install queues, and the conduits registered with it. One object per run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "device/HotSyncConduits.h"
#include "device/HotSyncUsers.h"
#include "package/SetupTypes.h"
#include "platform/win32/SystemBuiltins.h"

namespace vnt {

// Where the software's keys are looked for. The defaults are its own; tests point them at
// keys of their own.
struct THotSyncSources {
  HKEY Root = HKEY_CURRENT_USER;
  // The first that exists is the base key.
  std::vector<std::string> BaseKeys = HotSyncBaseKeyNames();
};

// What queuing a file for a user changes: the user's install folder and the file in it, and
// the user's flag, a value of FlagKey under the software's root.
struct THotSyncQueueTarget {
  std::string Folder, File, FlagKey, FlagName;
};

// Expands the variables in a text of the setup.
using TExpandText = std::function<std::string(const std::string&)>;

class THotSync {
public:
  explicit THotSync(THotSyncSources sources = {});

  // Reads the last user, the folders and the users file. defaultFolder (with its trailing
  // backslash) is the program folder when the software names none.
  void Start(const std::string& defaultFolder);

  bool IsHotSyncInstalled() const { return Installed; }
  const std::string& GetHotSyncFolder() const { return ProgramFolder; }
  const std::string& GetDataFolder() const { return DataFolder; }
  int GetUserCount() const { return int(Users.size()); }
  // Empty or 0 for an index outside the list.
  std::string GetUserName(int index) const;
  std::string GetUserFolder(int index) const;
  uint16_t GetUserId(int index) const;
  const std::string& GetLastUserName() const { return LastUser; }
  // Position of the last user in the list; 0 when it is not there.
  int GetLastUserIndex() const { return LastUserIndex; }
  // Case ignored; -1 when there is no such user.
  int FindUser(const std::string& name) const { return FindHotSyncUser(Users, name); }
  const std::vector<THotSyncUser>& GetUsers() const { return Users; }

  // Where queuing the file for the user writes; nothing for an unknown user, a folder name
  // that would lead elsewhere, or without the software.
  std::optional<THotSyncQueueTarget> QueueTarget(const std::string& userName, const std::string& filePath) const;
  // Copies the file into the user's install folder and flags the user's queue.
  bool QueueFileForUser(const std::string& userName, const std::string& filePath);
  // The same, at a target QueueTarget gave.
  bool QueueFileAt(const THotSyncQueueTarget& target, const std::string& filePath);
  HKEY Root() const { return Sources.Root; }
  // Registers the conduit in place of any of the same creator; its texts go through expand.
  bool RegisterConduit(const THotSyncConduit& conduit, const TExpandText& expand);
  // Takes the conduit of that creator out of both lists; true when nothing was left behind.
  bool UnregisterConduit(const std::string& creator);

private:
  THotSyncSources Sources;
  bool Installed = false;
  std::string LastUser, DataFolder, ProgramFolder;
  std::vector<THotSyncUser> Users;
  int LastUserIndex = 0;

  std::optional<std::string> FindBaseKey() const;
  void ReadUsersFile();
  bool UnregisterFromList(const std::string& pilotDesktop, bool integrated, uint32_t code);
  bool WriteConduitValues(HKEY key, const THotSyncConduit& conduit, const TExpandText& expand);
};

}  // namespace vnt
