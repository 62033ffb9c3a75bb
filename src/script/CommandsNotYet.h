// The commands a script may hold that the setup does not carry out yet; none today. Such a
// command would compile and run as one that does nothing; the builder lists them, and the
// command reference marks each of them.
#pragma once

#include <cstdint>
#include <vector>

#include "script/ScriptContext.h"

namespace vnt {

// Their opcodes, ascending.
const std::vector<uint8_t>& CommandsNotYetCarriedOut();

// Sets each of them on the context as a command that does nothing, over any command set
// before, so that no other handler (the wizard's) takes them and the list stays true.
// Called after every other family.
void RegisterCommandsNotYetCarriedOut(TScriptContext& context);

}  // namespace vnt
