// Start-up and clean-up: the program's entry sequence up to the wizard, and the end of the run.
#pragma once

#include <string>

#include "setup/win32/SetupState.h"

namespace vnt {

// Exit codes: 2 when the start script ended the setup (cancel or finish).
enum TStartupResult { StartupOk = 0, StartupFailed = 1, StartupEndedByScript = 2 };

// Runs the start-up steps up to the point where the wizard would open.
TStartupResult RunStartup(TSetupState& state);
// Frees the description, deletes the restored support files and the temporary folder;
// safe to call more than once.
void CleanUp(TSetupState& state);
// Makes the variable table and the interpreter with its commands for the description the
// state holds; start-up does it once the variables section is read.
void MakeRunState(TSetupState& state);
// The expanded text of message index in the current language.
std::string Message(TSetupState& state, int index);

}  // namespace vnt
