// The uninstaller all products share, counted like a shared file so that it goes with the
// last product that uses it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace vnt {

// The Add/Remove Programs entries under root\uninstallKey, other than ownKey (a full key
// path), whose command runs the uninstaller at path.
int64_t OtherEntriesRunning(HKEY root, const std::string& uninstallKey, const std::string& ownKey,
                            const std::string& path);

// Counts one more user of the uninstaller at path. A count that starts now starts with the
// products set up before the uninstaller was counted (others), so that it outlives them.
bool CountUninstallerUser(const std::string& path, int64_t others);

}  // namespace vnt
