// The texts of the fixed windows, taken from the setup's message table in its current
// language. The installation fills the windows through these; so do the tests.
#pragma once

#include <cstdint>
#include <string>

#include "setup/win32/SetupState.h"
#include "ui/win32/windows/MsgBoxFiles.h"
#include "ui/win32/windows/NeedDisk.h"
#include "ui/win32/windows/StartCEConnection.h"

namespace vnt {

// The directory selection, with OK and Cancel of the message table.
TDirectorySelTexts DirectorySelTexts(TSetupState& state);
// The next disk prompt for disk n.
TNeedDiskTexts NeedDiskTexts(TSetupState& state, uint32_t disk);
// The replace question: message question (25, 26, 27, or 41 to 43 on removal) with "<file>"
// replaced by the file's name.
TMsgBoxFilesTexts MsgBoxFilesTexts(TSetupState& state, int question, const std::string& fileName);

struct TCopyingFilesTexts {
  std::string Caption, Cancel;
};
TCopyingFilesTexts CopyingFilesTexts(TSetupState& state);

// The device connection window: the software name, the connection message taken at
// start-up in caption mode, the setup font unless the package's controls keep their own.
TStartCEConnectionTexts StartCEConnectionTexts(TSetupState& state);

}  // namespace vnt
