// The earlier installation a setup maintains: its uninstall record read back and what it
// hands this run (names, font, variables, the items it made).
#pragma once

#include <optional>
#include <string>

#include "install/UninstallData.h"
#include "setup/win32/SetupState.h"

namespace vnt {

enum class TRecordLoad { Loaded, Missing, Unusable };
// Reads the record file at path into record; an unusable record is reported in an error box
// over owner with the caption given.
TRecordLoad LoadUninstallRecord(const std::string& path, const std::string& caption, HWND owner,
                                TUninstallRecord& record);

// Reads the record at path into earlier and takes its settings into the run; answers the
// components it installed. A record that cannot be used is reported in a box and answers
// nothing: the run is then a new installation.
std::optional<std::string> TakeEarlierInstallation(TSetupState& state, const std::string& path,
                                                   TUninstallRecord& earlier);

// Makes a run of the uninstaller from a record: the product's names and font, the record's
// messages over the default ones, its uninstall scripts, its variables, and the interpreter.
void RunStateFromRecord(TSetupState& state, const TUninstallRecord& record);

}  // namespace vnt
