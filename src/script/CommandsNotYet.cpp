#include "script/CommandsNotYet.h"

#include "package/ScriptTypes.h"

namespace vnt {

const std::vector<uint8_t>& CommandsNotYetCarriedOut() {
  static const std::vector<uint8_t> opcodes = {};
  return opcodes;
}

void RegisterCommandsNotYetCarriedOut(TScriptContext& context) {
  for (uint8_t op : CommandsNotYetCarriedOut()) context.SetCommand(op, [](const ScriptStatement&) {});
}

}  // namespace vnt
