// Maintenance detection: an earlier installation of this product found through its
// Add/Remove Programs entry and the uninstall record that entry's command names.
#pragma once

#include <string>

#include "script/win32/DesktopCommands.h"

namespace vnt {

struct TSetupState;

// The record path: the second word of the entry's "UninstallString" (the first is the
// uninstaller), when the entry has a "DisplayVersion" and the file exists; empty otherwise.
std::string PreviousUninstallRecord(const TDesktopSources& at, const std::string& companyName,
                                    const std::string& softwareName);

// Reads the earlier record and enters maintenance mode; nothing happens without an entry, a
// record file, or a record reader.
void LoadPreviousSetup(TSetupState& state);

}  // namespace vnt
