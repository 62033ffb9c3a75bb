// The state of one setup run: the package, the description, the variables, the interpreter
// with its commands, and the hooks that later layers fill in. Kept for the whole run.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupFuncs.h"
#include "package/SetupVariables.h"
#include "platform/win32/SystemBuiltins.h"
#include "platform/win32/SystemInfo.h"
#include "script/ScriptContext.h"
#include "script/ScriptInterpretor.h"
#include "script/ValueCommands.h"
#include "script/win32/DLLCall.h"
#include "script/win32/DesktopCommands.h"
#include "setup/SetupSwitches.h"
#include "setup/win32/SetupLog.h"
#include "setup/win32/TempSetupFolder.h"

namespace vnt {

struct TSetupState {
  std::string ApplicationTitle;
  // The command line's switches (none for a run a person clicks through) and the run's log,
  // which every layer writes to through its callbacks.
  TSetupSwitches Switches;
  TSetupLog Log;
  TPackage Package;
  TSystemInfo Info;
  TSystemBuiltins Builtins{Info};
  TSetupDescription Description;
  // Destroyed in reverse: the commands before the context, the context before the table.
  std::unique_ptr<TSetupVariables> Vars;  // the table exists from the reading of SecVariables
  // The interpreter and its commands' program-wide state, made with the variable table.
  std::unique_ptr<TScriptContext> Script;
  std::unique_ptr<TScriptInterpreter> Interpreter;
  TValueCommands ValueCommands;
  TDLLCall Library;
  std::unique_ptr<TDesktopCommands> Desktop;
  std::string TempSetupDir;               // no trailing backslash; empty until created
  TRunLock RunLock;                       // held in TempSetupDir until clean-up
  std::vector<std::string> RestoredFiles;
  std::vector<std::string> CreatedFolders;  // made for support files, parents first
  // Reads an earlier installation's uninstall record, answering its installed components;
  // nothing when the record is damaged. The installation engine provides it.
  std::function<std::optional<std::string>(const std::string& path)> ReadUninstallRecord;
  // Rolls back an earlier run of this product that never finished, before the start script;
  // the installation engine provides it.
  std::function<void()> RecoverInterruptedRun;
  // What the program entry adds from the device side: its script commands, registered as the
  // interpreter is made, and the HotSync user names %HotSyncUser% starts with ("|" between).
  std::function<void(TScriptContext& script)> AddDeviceCommands;
  // The web commands, registered the same way.
  std::function<void(TScriptContext& script)> AddWebCommands;
  // The progress display current at the moment (the wizard's page or its copying window),
  // which a download reports to; unset while no wizard exists.
  std::function<void(uint8_t kind, const std::string& text, int32_t value)> ProgressSink;
  std::function<std::string()> HotSyncUsers;
  // Called whenever Description.DeviceTable is set (the package read, an uninstall record
  // taken over), so that the device side matches devices against it.
  std::function<void()> DeviceTableRead;
  // Items a removal could not delete, shown by the not-deleted list.
  std::vector<std::string> NotDeleted;
};

}  // namespace vnt
