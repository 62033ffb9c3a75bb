// The installation's device steps: the Application Manager's files and run, the HotSync
// queue and the Palm conduits. The device side does the work through TDeviceSteps; a step it
// does not give is left out.
#include "install/win32/VantryInstall.h"

#include <stdexcept>

#include "device/win32/AppMgr.h"
#include "device/win32/HotSync.h"
#include "install/InstallRules.h"
#include "package/ComponentLists.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

// The device side of this machine: the Application Manager and the HotSync software as they
// are installed. Tests and callers may replace any step afterwards.
void TVantryInstall::ConnectDeviceSide() {
  auto hotSync = std::make_shared<THotSync>();
  hotSync->Start(WithFolderBackslash(State.Info.WindowsFolder()));
  const std::string appMgr = AppMgrPath(State.Info);
  auto plan = [this] {
    TSetupQueries queries(State.Description, Vars());
    return PlanAppMgrFiles(State.Description, queries, Vars(), IconFile());
  };
  Device.WriteAppMgrFiles = [plan] { return vnt::WriteAppMgrFiles(plan()); };
  Device.AppMgrCommand = [plan, appMgr] { return AppMgrArgumentsIfPresent(appMgr, plan()); };
  Device.RunAppMgr = [this, appMgr](const std::string& arguments) {
    if (DWORD error = vnt::RunAppMgr(appMgr, arguments, Vars().ExpandText("%InstallDir%"), Prompts.Pump))
      Log("Application Manager not started: error " + std::to_string(error));
  };
  Device.QueueHotSyncFile = [this, hotSync](const std::string& path, const std::string& users) {
    for (const std::string& user : SplitComponentList(users)) {
      std::optional<THotSyncQueueTarget> target = hotSync->QueueTarget(user, path);
      if (!target || !NoteQueueTarget(*target, hotSync->Root()) || !hotSync->QueueFileAt(*target, path))
        Log("not queued for " + user + ": " + path);
    }
  };
  Device.RegisterConduit = [this, hotSync](const THotSyncConduit& conduit) {
    return hotSync->RegisterConduit(conduit, [this](const std::string& text) { return Vars().ExpandText(text); });
  };
}

// A rollback takes back what queuing changes: the user's install folder when the run makes it,
// the file (one that stood there comes back) and the user's flag.
bool TVantryInstall::NoteQueueTarget(const THotSyncQueueTarget& target, HKEY root) {
  if (!FolderExists(target.Folder)) {
    TUninstItem folder;
    folder.Kind = UninstFolder;
    folder.Path = target.Folder;
    Note(MadeEntry(folder));
  }
  if (!Files.PrepareInPlace(target.File)) return false;
  NoteOldValue(root, root == HKEY_CURRENT_USER ? RootCurrentUser : RootLocalMachine, target.FlagKey, target.FlagName);
  return true;
}

void TVantryInstall::WriteAppMgrFiles() {
  if (IsAborted || Maintenance() || !Device.WriteAppMgrFiles) return;
  try {
    for (const auto& path : Device.WriteAppMgrFiles()) Record(UninstPlainFile, path);
  } catch (const std::runtime_error& e) {
    Fail(e.what());
  }
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
