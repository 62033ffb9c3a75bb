// The setup without a person (/SILENT, /VERYSILENT): no pages; the machine checks, the
// installation with the scripts it runs, every question answered by rule and written to the
// log, and the restart as the switches say. A very silent run makes no window that shows.
#pragma once

#include <memory>
#include <string>

#include "install/win32/VantryInstall.h"
#include "platform/win32/CloseListener.h"
#include "setup/win32/SetupState.h"
#include "ui/win32/windows/CopyingFiles.h"

namespace vnt {

class TSilentSetup {
public:
  TSilentSetup(TSetupState& state, TUninstallRecord* earlier);
  ~TSilentSetup();
  TSilentSetup(const TSilentSetup&) = delete;
  TSilentSetup& operator=(const TSilentSetup&) = delete;

  // The whole run after start-up; answers the exit code (a TWizardEnd).
  int Run();

private:
  int Install();
  int Finish();
  TInstallPrompts Prompts();
  void ShowCopying();
  std::optional<std::string> WaitForVolume(uint16_t volume, const std::string& folder);
  // A request to close (the copying window, the system, another program): the close script
  // may refuse it; otherwise the installation stops and is undone.
  void CloseRequested();
  void WizardCommand(uint8_t opcode);
  TSetupVariables& Vars() { return *State.Vars; }

  TSetupState& State;
  TUninstallRecord* Earlier;
  std::unique_ptr<TVantryInstall> Driver;
  std::unique_ptr<TfrmCopyingFiles> Copying;
  std::unique_ptr<TCloseListener> Listener;
  std::string LastStatus;
  bool Installing = false;
  bool Cancelled = false;  // a script cancelled the setup
};

// The run after start-up for a setup started with /SILENT or /VERYSILENT; answers the exit code.
int RunSilentSetup(TSetupState& state, TUninstallRecord* earlier);

}  // namespace vnt
