// The earlier installation a setup maintains: its uninstall record read back and what it
// hands this run (names, font, variables, the items it made).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "install/UninstallData.h"
#include "install/win32/RecordFiles.h"
#include "setup/win32/SetupState.h"

namespace vnt {

enum class TRecordLoad { Loaded, Missing, Unusable };
// Reads the record file at path into record (and its bytes into bytesRead when given); for an
// unusable record, problem holds the text to show.
TRecordLoad LoadUninstallRecord(const std::string& path, TUninstallRecord& record, std::string& problem,
                                std::string* bytesRead = nullptr);
// As LoadUninstallRecord, and a record that is not the entry's own and unchanged
// (RecordTrustProblem) is unusable too.
TRecordLoad LoadEntryRecord(const TProductEntry& entry, const std::string& path, TUninstallRecord& record,
                            std::string& problem);
// The entry of a product of the setup's Add/Remove Programs place.
TProductEntry ProductEntryOf(const TSetupState& state, const std::string& company, const std::string& software);

// Reads the record at path into earlier and takes its settings into the run; answers the
// components it installed. A record that cannot be used is told through tell and answers
// nothing: the run is then a new installation.
std::optional<std::string> TakeEarlierInstallation(TSetupState& state, const std::string& path,
                                                   TUninstallRecord& earlier,
                                                   const std::function<void(const std::string&)>& tell);

// Makes a run of the uninstaller from a record: the product's names and font, the record's
// messages over the default ones, its uninstall scripts, its variables, and the interpreter.
void RunStateFromRecord(TSetupState& state, const TUninstallRecord& record);

}  // namespace vnt
