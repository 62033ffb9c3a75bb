// What the command line chose, checked against the package and set in the run's variables.
#pragma once

#include <string>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupVariables.h"
#include "setup/SetupSwitches.h"

namespace vnt {

// A component or language the package does not have, or a folder that is not a full path;
// empty when every name fits.
std::string SwitchValuesProblem(const TSetupSwitches& switches, const TSetupDescription& description);

// Sets the folder, group, setup type, components, language and variables the command line
// chose; answers a line for the log per value (secrets elided).
std::vector<std::string> ApplySwitchValues(const TSetupSwitches& switches, TSetupDescription& description,
                                           TSetupVariables& vars);

}  // namespace vnt
