// Registering the restored files: shared counts, self-registering servers, type libraries
// and fonts, each failure told in a box while the run goes on.
#include "install/RecordRules.h"
#include "install/win32/Registrations.h"
#include "install/win32/VantryInstall.h"
#include "package/SetupStrings.h"

namespace vnt {

void TVantryInstall::RegisterFiles() {
  std::vector<TUninstItem> files;
  for (const auto& item : Items)
    if (item.Kind == UninstFile) files.push_back(item);
  for (const auto& item : files) {
    if (IsAborted) return;
    RegisterFile(item);
  }
}

void TVantryInstall::RegisterFile(const TUninstItem& item) {
  const TSetupFile& f = item.File;
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
  if (f.Shared || f.RegisterServer || f.RegisterServer2 || f.TypeLibrary || f.Font) NoteRegistered(path);
  Log("registered " + path);
}

}  // namespace vnt
