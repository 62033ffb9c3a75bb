// The uninstall record and the Add/Remove Programs entry; in maintenance mode the removal of
// the components no longer chosen; after a device-only run the removal of the desktop copies.
#include "install/InstallRules.h"
#include "install/UninstallEntry.h"
#include "install/win32/RemovalSystem.h"
#include "install/win32/VantryInstall.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemServices.h"
#include "script/DesktopRules.h"

namespace vnt {

namespace {

enum TRecordMessage { MsgEntryError = 11, MsgRemovingComponents = 59, MsgConduitLabel = 63 };
constexpr char RecordWriteError[] = "Setup cannot write the uninstall record <file>. The earlier record is kept.";

uint8_t RootByte(HKEY root) { return root == HKEY_CURRENT_USER ? 1 : root == HKEY_CLASSES_ROOT ? 0 : 2; }

}  // namespace

void TVantryInstall::WriteUninstallData() {
  if (IsAborted) return;
  const TSetupDescription& d = State.Description;
  TEntryPlaces places{State.Info.WindowsFolder(), State.Package.Path, Icon};
  const TSetupMessage& table = CurrentMessageTable(d, Vars().ExpandText("%Language%"));
  TUninstallRecord record = UninstallRecordOf(d, table.Texts, Vars(), State.Package.Options[OptOwnFonts - 1],
                                              State.Package.Options[OptUninstallOption - 1], places);
  std::string path = UninstallRecordPath(Vars().ExpandText("%InstallDir%"));
  WriteAddRemoveEntry(places, !Maintenance());
  if (!Maintenance()) Record(UninstPlainFile, path);
  if (Maintenance() && Earlier) record.Items = Earlier->Items;
  record.Items.insert(record.Items.end(), Items.begin(), Items.end());
  if (!WriteRecordFile(path, WriteUninstallRecord(record)))
    Show(TBoxKind::Error, ReplacePlaceholder(RecordWriteError, "<file>", path));
}

void TVantryInstall::WriteAddRemoveEntry(const TEntryPlaces& places, bool record) {
  const TSetupProperties& p = State.Description.Properties;
  const TDesktopSources& at = State.Desktop->Sources;
  std::string key = UninstallEntryKey(at.UninstallKey, p.CompanyName, p.SoftwareName);
  TRegKeyHandle handle = OpenKey(at.UninstallRoot, key, KEY_SET_VALUE, true);
  if (!handle) {
    Show(TBoxKind::Error, Message(State, MsgEntryError));
    return;
  }
  for (const TRegistryText& value : AddRemoveValues(p, Vars(), places)) {
    RegSetValueExA(handle.Get(), value.Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.Value.c_str()),
                   DWORD(value.Value.size() + 1));
    if (!record) continue;
    TUninstItem item = EntryValueItem(key, value);
    item.RegChange.Root = RootByte(at.UninstallRoot);
    Items.push_back(item);
  }
}

// Written beside the old record and put in its place only when complete: a failure leaves
// the earlier record as it was.
bool TVantryInstall::WriteRecordFile(const std::string& path, const std::string& bytes) {
  std::string fresh = path + ".new";
  HANDLE file = CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool complete = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size() &&
                  FlushFileBuffers(file);
  CloseHandle(file);
  if (complete && MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Log("record " + path);
    return true;
  }
  DeleteFileA(fresh.c_str());
  return false;
}

void TVantryInstall::RemoveComponents(int range) {
  if (IsAborted || !Earlier) return;
  StatusMessage(MsgRemovingComponents);
  Status(1, "");
  TRemovalRequest request;
  request.Removed = Vars().RemovedComponents();
  request.Kept = Vars().SelectedComponents;
  request.DropFromItems = true;
  request.Texts = Earlier->Messages;
  request.ConduitLabel = Message(State, MsgConduitLabel);
  auto ask = [this](int position, const std::string& path) {
    std::string text = ReplacePlaceholder(Vars().ExpandText(Earlier->Messages[size_t(position - 1)]), "<file>", path);
    return Prompts.AskRemove ? Prompts.AskRemove(text, path) : TReplaceAnswer::No;
  };
  // The removal takes the second half of the range.
  auto progress = [this, range](size_t done, size_t total) {
    int half = range / 2;
    Status(2, "", half + int(total ? done * size_t(half) / total : size_t(half)));
    return true;
  };
  TRemovalResult result = RemoveInstalledItems(Earlier->Items, request, MachineRemovalSystem(ask, progress));
  State.NotDeleted.insert(State.NotDeleted.end(), result.NotRemoved.begin(), result.NotRemoved.end());
}

void TVantryInstall::RemoveDeviceCopies() {
  for (const auto& item : Items)
    if (item.Kind == UninstDeviceFile || item.Kind == UninstPlainFile) DeleteFileForce(item.Path);
  for (auto it = Items.rbegin(); it != Items.rend(); ++it)
    if (it->Kind == UninstFolder) RemoveDirectoryA(it->Path.c_str());
}

}  // namespace vnt
