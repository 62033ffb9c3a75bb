// The installation's device steps: the Application Manager's files and run, the HotSync
// queue and the Palm conduits. The device side does the work through TDeviceSteps; a step it
// does not give is left out.
#include "install/win32/VantryInstall.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

void TVantryInstall::WriteAppMgrFiles() {
  if (IsAborted || Maintenance() || !Device.WriteAppMgrFiles) return;
  for (const auto& path : Device.WriteAppMgrFiles()) Record(UninstPlainFile, path);
}

void TVantryInstall::QueueHotSyncFile(const std::string& path) {
  if (Device.QueueHotSyncFile) Device.QueueHotSyncFile(path, Vars().Stored("%HotSyncUser%"));
  Log("queued for HotSync " + path);
}

void TVantryInstall::RegisterConduits() {
  if (!Device.RegisterConduit) return;
  for (const auto& conduit : State.Description.Conduits) {
    if (IsAborted) return;
    std::string file = Vars().ExpandText(conduit.ConduitFile);
    if (!FileExists(file)) continue;
    if (Device.RegisterConduit(conduit)) Record(UninstConduit, conduit.Creator);
    else Show(TBoxKind::Error, ReplacePlaceholder(Message(State, MsgConduitError), "<file>", file));
  }
}

std::string TVantryInstall::AppMgrCommand() const {
  return IsAborted || !Device.AppMgrCommand ? std::string() : Device.AppMgrCommand();
}

void TVantryInstall::RunAppMgr(const std::string& command) {
  if (IsAborted || command.empty() || !Device.RunAppMgr) return;
  StatusMessage(MsgStartingDeviceInstall);
  Status(ProgressDetail, "");
  Log("Application Manager " + command);
  Device.RunAppMgr(command);
}

}  // namespace vnt
