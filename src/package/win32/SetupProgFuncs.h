// Start-up: the program's entry sequence and the state it keeps for the whole run.
#pragma once

#include <string>

#include "SetupDescription.h"
#include "SetupFuncs.h"

namespace vnt {

struct TSetupState {
  std::string ApplicationTitle;
  TPackage Package;
  TSetupDescription Description;
  std::string Language;  // %Language% until the variable table holds it
};

enum TStartupResult { StartupOk = 0, StartupFailed = 1 };

// Runs the start-up steps: open and check the package, load the description.
TStartupResult RunStartup(TSetupState& state);
// Reads every section of the description in start-up order; raises EPackageError on damage.
void LoadDescription(TSetupState& state);

}  // namespace vnt
