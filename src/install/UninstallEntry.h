// What the uninstall record and the Add/Remove Programs entry hold for a run: the values of
// the entry, and the record made from the setup and the items of the run.
#pragma once

#include <string>
#include <vector>

#include "install/UninstallData.h"
#include "package/SetupDescription.h"
#include "package/SetupVariables.h"

namespace vnt {

struct TRegistryText {
  std::string Name, Value;
  bool operator==(const TRegistryText&) const = default;
};

// Where the run's files and the system are.
struct TEntryPlaces {
  std::string WindowsFolder;
  std::string SetupProgram;  // the running setup's full path
  std::string IconFile;      // the installed product icon; empty when none
  std::string RecordPath;    // the uninstall record; empty: "uninst.dat" in the install folder
};

// The entry's string values in the order they are written; "DisplayIcon" only with an icon.
std::vector<TRegistryText> AddRemoveValues(const TSetupProperties& properties, TSetupVariables& vars,
                                           const TEntryPlaces& places);

// The record of a run, without its items: the setup's names, font and uninstaller texts of
// the current language, its uninstall scripts, the chosen components and every variable.
TUninstallRecord UninstallRecordOf(const TSetupDescription& desc, const TSetupMessages& messages,
                                   const TSetupVariables& vars, uint8_t ownFontsOption, uint8_t option5,
                                   const TEntryPlaces& places);

// A kind 5 item for a value the entry wrote (root HKEY_LOCAL_MACHINE, string).
TUninstItem EntryValueItem(const std::string& key, const TRegistryText& value);

}  // namespace vnt
