#include "app/DeviceSide.h"

#include "device/HotSyncCommands.h"
#include "device/win32/DeviceCommands.h"
#include "package/ComponentLists.h"
#include "package/SystemRules.h"
#include "ui/win32/windows/AuxiliaryTexts.h"

namespace vnt {

namespace {

// The wait window shows while a device connects; asking to close it gives the wait up.
// Without a person there is no window to give up the wait with: the wait has a time limit,
// and the log tells of it.
void MakeRapiTool(TSetupState& state, TDeviceSide& device) {
  device.Rapi = std::make_unique<TRapiTool>();
  device.Rapi->Definitions = state.Description.DeviceTable;
  if (state.Switches.Unattended()) {
    device.Rapi->ConnectTimeLimitMs = UnattendedWaitSeconds * 1000;
    device.Rapi->OnConnecting = [&state, &device](bool done) {
      if (!done) state.Log.Line("connecting to the device, waiting up to " + std::to_string(UnattendedWaitSeconds) + " s");
      else state.Log.Line(device.Rapi->Connected ? "the device is connected" : "no device connected");
    };
    return;
  }
  device.ConnectionWindow.emplace([&state] { return StartCEConnectionTexts(state); });
  device.ConnectionWindow->OnCancel = [&device] { device.Rapi->CancelConnect = true; };
  device.Rapi->OnConnecting = [&device](bool done) { (*device.ConnectionWindow)(done); };
}

}  // namespace

void AttachDeviceSide(TSetupState& state, TDeviceSide& device) {
  THotSync& hotSync = device.HotSync;
  hotSync.Start(WithFolderBackslash(state.Info.WindowsFolder()));
  state.Builtins.HotSyncFolder = StripFolderBackslash(hotSync.GetHotSyncFolder());
  state.AddDeviceCommands = [&state, &device](TScriptContext& script) {
    RegisterHotSyncCommands(script, [&device]() -> const std::vector<THotSyncUser>& {
      return device.HotSync.GetUsers();
    });
    if (!device.Rapi) MakeRapiTool(state, device);
    RegisterDeviceCommands(script, *device.Rapi);
  };
  state.DeviceTableRead = [&state, &device] {
    if (device.Rapi) device.Rapi->Definitions = state.Description.DeviceTable;
  };
  // Every user to begin with: a page or a script may narrow the list.
  state.HotSyncUsers = [&hotSync] {
    std::vector<std::string> names;
    for (const THotSyncUser& user : hotSync.GetUsers()) names.push_back(user.Name);
    return JoinComponentList(names);
  };
}

}  // namespace vnt
