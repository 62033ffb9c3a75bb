// A run's state as the earlier-installation code needs it: a product's names, the variables,
// the script context and the desktop commands over a given Add/Remove Programs place.
#pragma once

#include <memory>
#include <string>

#include "script/win32/DesktopCommands.h"
#include "setup/win32/SetupProgFuncs.h"

namespace vnt::test {

inline void MakeProductState(TSetupState& state, const std::string& company, const std::string& software,
                             TDesktopSources sources) {
  state.Description.Properties.CompanyName = company;
  state.Description.Properties.SoftwareName = software;
  state.Vars = std::make_unique<TSetupVariables>(state.Description, state.Builtins);
  state.Vars->InitVariables({}, "");
  state.Script = std::make_unique<TScriptContext>(*state.Vars);
  state.Desktop = std::make_unique<TDesktopCommands>(*state.Script, std::move(sources));
}

}  // namespace vnt::test
