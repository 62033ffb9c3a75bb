// Registering the restored files: shared counts, self-registering servers, type libraries
// and fonts, each failure told in a box while the run goes on.
#include "install/RecordRules.h"
#include "install/win32/Registrations.h"
#include "install/win32/SharedUninstaller.h"
#include "install/win32/VantryInstall.h"
#include "package/SetupStrings.h"
#include "script/DesktopRules.h"

namespace vnt {

// The files made so far; each item is taken on its own, as a registration may add to the list.
void TVantryInstall::RegisterFiles() {
  for (size_t i = 0, made = Items.size(); i < made && !IsAborted; ++i) {
    if (Items[i].Kind != UninstFile && Items[i].Kind != UninstUninstaller) continue;
    TUninstItem item = Items[i];
    if (item.Kind == UninstUninstaller) CountUninstaller(item.Path);
    else RegisterFile(item);
  }
}

// Each product counts the uninstaller it shares once, however often it is set up again.
void TVantryInstall::CountUninstaller(const std::string& path) {
  if (!SystemKeepsSharedCounts() || CountsUninstaller(EarlierItems(), path)) return;
  const TDesktopSources& at = State.Desktop->Sources;
  const TSetupProperties& p = State.Description.Properties;
  int64_t others = OtherEntriesRunning(at.UninstallRoot, at.UninstallKey,
                                       UninstallEntryKey(at.UninstallKey, p.CompanyName, p.SoftwareName), path);
  if (!CountUninstallerUser(path, others)) return Log("no shared count kept for " + path);
  NoteSharedCounted(path);
  Log("counted the shared uninstaller " + path);
}

void TVantryInstall::RegisterFile(const TUninstItem& item) {
  const TSetupFile& f = *item.File;
  const std::string& path = item.Path;
  auto fail = [&](int message) { Show(TBoxKind::Error, ReplacePlaceholder(Message(State, message), "<file>", path)); };
  // A HotSync file goes to the users' queues and is not registered on the PC.
  if (f.HotSync) return QueueHotSyncFile(path);
  // A product counts a shared file once, however often it is set up again.
  if (f.Shared && SystemKeepsSharedCounts() && !CountsSharedFile(EarlierItems(), path)) {
    if (AddSharedCount(path)) NoteSharedCounted(path);
    else fail(MsgSharedError);
  }
  if ((f.RegisterServer || f.RegisterServer2) && !RegisterServer(path)) fail(MsgServerError);
  if (f.TypeLibrary && !RegisterTypeLibrary(path)) fail(MsgTypeLibError);
  if (f.Font) RegisterFont(f.FontFaceName, path, State.Info.FontsFolder());
  if (!(f.Shared || f.RegisterServer || f.RegisterServer2 || f.TypeLibrary || f.Font)) return;
  NoteRegistered(path);
  Log("registered " + path);
}

}  // namespace vnt
