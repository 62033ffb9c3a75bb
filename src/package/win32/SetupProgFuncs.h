// Start-up and clean-up: the program's entry sequence and the state it keeps for the run.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DLLCall.h"
#include "DesktopCommands.h"
#include "ScriptContext.h"
#include "ScriptInterpretor.h"
#include "SetupDescription.h"
#include "SetupFuncs.h"
#include "SetupVariables.h"
#include "SystemBuiltins.h"
#include "SystemInfo.h"
#include "ValueCommands.h"

namespace vnt {

struct TSetupState {
  std::string ApplicationTitle;
  TPackage Package;
  TSystemInfo Info;
  TSystemBuiltins Builtins{Info};
  TSetupDescription Description;
  // Destroyed in reverse: the commands before the context, the context before the table.
  std::unique_ptr<TSetupVariables> Vars;  // the table exists from the reading of section 4
  // The interpreter and its commands' program-wide state, made with the variable table.
  std::unique_ptr<TScriptContext> Script;
  std::unique_ptr<TScriptInterpreter> Interpreter;
  TValueCommands ValueCommands;
  TDLLCall Library;
  std::unique_ptr<TDesktopCommands> Desktop;
  std::string TempSetupDir;               // no trailing backslash; empty until created
  std::vector<std::string> RestoredFiles;
  // Checks the machine against the setup's requirements when the wizard is made, answering
  // whether the setup goes on; the installation run provides it.
  std::function<bool()> CheckRequirements;
  // Reads an earlier installation's uninstall record, answering its installed components;
  // nothing when the record is damaged. The installation engine provides it.
  std::function<std::optional<std::string>(const std::string& path)> ReadUninstallRecord;
  // Items a removal could not delete, shown by the not-deleted list.
  std::vector<std::string> NotDeleted;
};

// Exit codes: 2 when the start script ended the setup (cancel or finish).
enum TStartupResult { StartupOk = 0, StartupFailed = 1, StartupEndedByScript = 2 };

// Runs the start-up steps up to the point where the wizard would open.
TStartupResult RunStartup(TSetupState& state);
// Whether the wizard has a page to show after the start script.
bool HasPages(const TSetupState& state);
// Frees the description, deletes the restored support files and the temporary folder;
// safe to call more than once.
void CleanUp(TSetupState& state);
// The expanded text of message index in the current language.
std::string Message(TSetupState& state, int index);

}  // namespace vnt
