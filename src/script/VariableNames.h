// The names of the variables a package uses: those its scripts write and those its page
// controls hold. Start-up empties them before it sets the initial values.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "package/DialogEditorFuncs.h"
#include "package/ScriptTypes.h"

namespace vnt {

// Whether a command writes the variable named by its first argument.
bool WritesVariable(uint8_t opcode);

std::vector<std::string> CollectVariableNames(const std::array<TScript, PackageScriptCount>& scripts,
                                              const std::vector<TSetupDialog>& dialogs);

}  // namespace vnt
