#include "device/HotSyncCommands.h"

#include "package/ScriptTypes.h"

namespace vnt {

std::string HotSyncUserNameAt(const std::vector<THotSyncUser>& users, int32_t position) {
  if (position < 1 || size_t(position) > users.size()) return {};
  return users[size_t(position) - 1].Name;
}

void RegisterHotSyncCommands(TScriptContext& context, THotSyncUserSource users) {
  context.SetCommand(OpGetHotSyncUserCount, [&context, users](const ScriptStatement& s) {
    context.Assign(s.F[0], std::to_string(users().size()));
  });
  context.SetCommand(OpGetHotSyncUserName, [&context, users](const ScriptStatement& s) {
    context.Assign(s.F[0], HotSyncUserNameAt(users(), TScriptContext::AsInteger(context.Expand(s.F[1]))));
  });
}

}  // namespace vnt
