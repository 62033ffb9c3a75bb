// The HotSync desktop software's users as its users file lists them, and the flag of a user's
// install queue.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vnt {

struct THotSyncUser {
  uint16_t Id = 0;
  std::string Name;    // at most MaxHotSyncNameLength characters
  std::string Folder;  // the user's folder under the data folder, same limit
  bool operator==(const THotSyncUser&) const = default;
};

inline constexpr size_t MaxHotSyncNameLength = 31;

// The users of a users file's bytes. A short or damaged file gives the users whose records
// can be read whole; nothing is read outside the bytes.
std::vector<THotSyncUser> ParseHotSyncUsers(std::string_view bytes);

// Position of the user of that name (case ignored), or -1.
int FindHotSyncUser(const std::vector<THotSyncUser>& users, const std::string& name);

// The value that flags a user's queue ("Install3").
std::string InstallValueName(uint16_t userId);

}  // namespace vnt
