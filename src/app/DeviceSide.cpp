#include "app/DeviceSide.h"

#include "device/HotSyncCommands.h"
#include "package/ComponentLists.h"
#include "package/SystemRules.h"

namespace vnt {

void AttachDeviceSide(TSetupState& state, THotSync& hotSync) {
  hotSync.Start(WithFolderBackslash(state.Info.WindowsFolder()));
  state.Builtins.HotSyncFolder = StripFolderBackslash(hotSync.GetHotSyncFolder());
  state.AddDeviceCommands = [&hotSync](TScriptContext& script) {
    RegisterHotSyncCommands(script, [&hotSync]() -> const std::vector<THotSyncUser>& { return hotSync.GetUsers(); });
  };
  // Every user to begin with: a page or a script may narrow the list.
  state.HotSyncUsers = [&hotSync] {
    std::vector<std::string> names;
    for (const THotSyncUser& user : hotSync.GetUsers()) names.push_back(user.Name);
    return JoinComponentList(names);
  };
}

}  // namespace vnt
