// The uninstall record and the Add/Remove Programs entry; in maintenance mode the removal of
// the components no longer chosen; after a device-only run the removal of the desktop copies.
#include "install/InstallRules.h"
#include "install/UninstallEntry.h"
#include "install/InstallTexts.h"
#include "install/win32/EarlierInstallation.h"
#include "install/win32/RecordFiles.h"
#include "install/win32/RemovalSystem.h"
#include "install/win32/VantryInstall.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemServices.h"
#include "script/DesktopRules.h"
#include "setup/win32/PreviousSetup.h"

namespace vnt {

namespace {

constexpr char RecordWriteError[] = "Setup cannot write the uninstall record <file>.";

uint8_t RootByte(HKEY root) { return root == HKEY_CURRENT_USER ? 1 : root == HKEY_CLASSES_ROOT ? 0 : 2; }

}  // namespace

bool TVantryInstall::WritesRecord() const {
  return State.Package.Option(OptCreateUninstaller) && !State.Package.Option(OptDeviceOnly);
}

// Where this run's record goes and, for a product set up again over its own installation,
// the record it adds to. Before anything is made: the journal lies beside the record, and a
// shared file the product counted before is not counted again.
void TVantryInstall::FindEarlierRecord() {
  std::string installDir = Vars().ExpandText("%InstallDir%");
  RecordPath = UninstallRecordPath(installDir);
  if (!WritesRecord()) return;
  const TSetupProperties& p = State.Description.Properties;
  std::string product = p.CompanyName + " " + p.SoftwareName;
  std::string entryRecord = PreviousUninstallRecord(State.Desktop->Sources, p.CompanyName, p.SoftwareName);
  if (!Maintenance() && !entryRecord.empty()) LoadBase(entryRecord);
  // The record this run maintains or adds to was read already: it is the product's, even when
  // another program holds it now.
  bool read = Maintenance() || Base;
  auto ownerAt = [&](const std::string& path) -> std::optional<std::string> {
    return read && SameTextIgnoringCase(path, entryRecord) ? std::optional<std::string>(product) : RecordOwnerAt(path);
  };
  RecordPath = ChooseRecordPath(installDir, entryRecord, product, ownerAt);
  if (RecordPath.empty()) return Fail(ReplacePlaceholder(NoRecordNameText, "<file>", installDir));
  Others = OtherProductsBeside(RecordPath, product);
  Log("record " + RecordPath);
}

// A record that is not the entry's own, or was changed, is not added to: what it names is
// not taken on trust.
void TVantryInstall::LoadBase(const std::string& path) {
  const TSetupProperties& p = State.Description.Properties;
  TUninstallRecord record;
  std::string problem;
  TRecordLoad load = LoadEntryRecord(ProductEntryOf(State, p.CompanyName, p.SoftwareName), path, record, problem);
  if (load == TRecordLoad::Loaded) Base = std::move(record);
  if (load == TRecordLoad::Unusable) Show(TBoxKind::Warning, problem);
}

const std::vector<TUninstItem>& TVantryInstall::EarlierItems() const {
  static const std::vector<TUninstItem> none;
  if (Maintenance() && Earlier) return Earlier->Items;
  return Base ? Base->Items : none;
}

void TVantryInstall::WriteUninstallData() {
  if (IsAborted) return;
  const TSetupDescription& d = State.Description;
  const std::string& path = RecordPath;
  TEntryPlaces places{State.Info.WindowsFolder(), State.Package.Path, Icon, path};
  const TSetupMessage& table = CurrentMessageTable(d, Vars().ExpandText("%Language%"));
  std::string bytes;
  {  // the record's items are let go before its file is written
    TUninstallRecord record = UninstallRecordOf(d, table.Texts, Vars(), State.Package.Options[OptOwnFonts - 1],
                                                State.Package.Options[OptUninstallOption - 1], places);
    WriteAddRemoveEntry(places, !Maintenance());
    // Folders another product's record names and this run puts files in: the product removed
    // last takes them.
    std::vector<std::string> shared = Others.SharedFolders(Items);
    TItemMerge merge(EarlierItems().size() + shared.size() + Items.size() + 1);
    merge.Take(EarlierItems());
    for (std::string& folder : shared) merge.Take({UninstFolder, std::move(folder), {}, {}});
    merge.Take(Items);
    // The record lists itself; the journal takes it once it is written, so that a rollback
    // never takes for the record whatever stood in its way.
    merge.Take({UninstPlainFile, path, {}, {}});
    record.Items = std::move(merge).Items();
    bytes = WriteUninstallRecord(record);
  }
  // Without its record the entry would point at nothing: the run cannot stand.
  if (!WriteRecordFile(path, bytes)) {
    DWORD error = GetLastError();
    return Fail(ReplacePlaceholder(RecordWriteError, "<file>", path) + "\n\n" + SystemErrorText(error));
  }
  if (!Maintenance()) Record(UninstPlainFile, path);
  WriteRecordDigest(bytes);
}

// The entry keeps the record's digest, so that a record changed later is not acted on.
void TVantryInstall::WriteRecordDigest(const std::string& bytes) {
  const TSetupProperties& p = State.Description.Properties;
  const TDesktopSources& at = State.Desktop->Sources;
  TProductEntry entry = ProductEntryOf(State, p.CompanyName, p.SoftwareName);
  NoteOldValue(at.UninstallRoot, RootByte(at.UninstallRoot), entry.Key, RecordDigestValue);
  if (!StoreRecordDigest(entry, bytes)) Log("no digest kept for " + RecordPath);
}

void TVantryInstall::WriteAddRemoveEntry(const TEntryPlaces& places, bool record) {
  const TSetupProperties& p = State.Description.Properties;
  const TDesktopSources& at = State.Desktop->Sources;
  std::string key = UninstallEntryKey(at.UninstallKey, p.CompanyName, p.SoftwareName);
  TRegKeyHandle handle = OpenKey(at.UninstallRoot, key, KEY_SET_VALUE, true);
  if (!handle) {
    Show(TBoxKind::Error, Message(State, MsgCannotCreateEntry));
    return;
  }
  for (const TRegistryText& value : AddRemoveValues(p, Vars(), places)) {
    NoteOldValue(at.UninstallRoot, RootByte(at.UninstallRoot), key, value.Name);
    RegSetValueExA(handle.Get(), value.Name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.Value.c_str()),
                   DWORD(value.Value.size() + 1));
    if (!record) continue;
    TUninstItem item = EntryValueItem(key, value);
    item.RegChange.Edit().Root = RootByte(at.UninstallRoot);
    Items.push_back(item);
  }
}

// Written under a staging name and put in the record's place only when complete; the earlier
// record is moved aside, so a failure or a rollback leaves it as it was.
bool TVantryInstall::WriteRecordFile(const std::string& path, const std::string& bytes) {
  std::string staged = Files.StagingName(path);
  HANDLE file = CreateFileA(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool complete = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size() &&
                  FlushFileBuffers(file);
  DWORD error = complete ? 0 : GetLastError();
  CloseHandle(file);
  if (complete && (!FileExists(path) || Files.RemoveFile(path)) && Files.PlaceStaged(staged, path)) {
    Log("record " + path);
    return true;
  }
  if (!error) error = GetLastError();
  DeleteFileA(staged.c_str());
  SetLastError(error);
  return false;
}

void TVantryInstall::RemoveComponents(int range) {
  if (IsAborted || !Earlier) return;
  StatusMessage(MsgRemovingComponents);
  Status(ProgressDetail, "");
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
    Status(ProgressPosition, "", half + int(total ? done * size_t(half) / total : size_t(half)));
    return true;
  };
  TRemovalResult result =
      RemoveInstalledItems(Earlier->Items, request, JournalledRemoval(MachineRemovalSystem(ask, progress)));
  State.NotDeleted.insert(State.NotDeleted.end(), result.NotRemoved.begin(), result.NotRemoved.end());
}

// A file that stood where a copy went comes back: the copy only fed the device installation.
void TVantryInstall::RemoveDeviceCopies() {
  for (const auto& item : Items)
    if ((item.Kind == UninstDeviceFile || item.Kind == UninstPlainFile) && DeleteFileForce(item.Path))
      Files.PutBack(item.Path);
  for (auto it = Items.rbegin(); it != Items.rend(); ++it)
    if (it->Kind == UninstFolder) RemoveDirectoryA(it->Path.c_str());
}

}  // namespace vnt
