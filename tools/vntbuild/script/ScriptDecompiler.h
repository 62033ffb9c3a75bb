// Prints a stored statement list as script source that compiles back to the same stored bytes.
#pragma once

#include <string>

#include "package/ScriptTypes.h"

namespace vnt {

// Blocks the setup pairs by id and that nest become If/Else/EndIf and the like; statements
// that do not fit the structure, and opcodes without a command, are written with "@op".
// The result is compiled once to make sure it gives the same bytes; should it not, the list
// is written entirely with "@op", so nothing is ever lost.
std::string DecompileScript(const TScript& script);

// The two forms DecompileScript chooses between, without the check.
std::string DecompileStructured(const TScript& script);
std::string DecompileRaw(const TScript& script);

}  // namespace vnt
