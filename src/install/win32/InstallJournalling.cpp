// The run's journal: opened with the install folder, written as things are made and
// changed, dropped at the commit, or used to undo the run.
#include "install/InstallRules.h"
#include "install/InstallTexts.h"
#include "install/win32/Registrations.h"
#include "install/win32/RollbackSystem.h"
#include "install/win32/VantryInstall.h"
#include "package/SetupStrings.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/SystemServices.h"
#include "script/DesktopRules.h"

namespace vnt {

void TVantryInstall::Note(const TJournalEntry& entry) {
  std::string frame = JournalFrame(entry);
  JournalFrames += frame;
  if (!Journal.IsOpen() || Journal.Append(frame) || JournalBroken) return;
  JournalFailed();
}

// An entry a killed run may lose without harm reaches the journal's file with the next one.
void TVantryInstall::NoteWithNext(const TJournalEntry& entry) {
  std::string frame = JournalFrame(entry);
  JournalFrames += frame;
  Journal.AppendWithNext(frame);
}

// Without its journal a run could not be undone: it does not go on.
void TVantryInstall::JournalFailed() {
  JournalBroken = true;
  Fail(ReplacePlaceholder(JournalErrorText, "<file>", Journal.Path()) + "\n\n" + SystemErrorText(Journal.Failure()));
}

// Beside the record, noted under the product's Add/Remove Programs key name. What was made
// before it opened (the install folder) goes in first.
bool TVantryInstall::OpenJournal() {
  const TSetupProperties& p = State.Description.Properties;
  const TDesktopSources& at = State.Desktop->Sources;
  TJournalStart start;
  start.EntryKey = UninstallEntryKey(at.UninstallKey, p.CompanyName, p.SoftwareName);
  start.RecordPath = RecordPath;
  start.Maintenance = Maintenance();
  JournalKey = start.EntryKey;
  if (!Journal.Open(JournalPathOf(start.RecordPath), start)) {
    JournalFailed();
    return false;
  }
  RememberJournal(at.UninstallRoot, JournalKey, Journal.Path());
  if (!JournalFrames.empty()) Journal.Append(JournalFrames);
  Journal.Flush();
  return true;
}

void TVantryInstall::NoteOldValue(HKEY root, uint8_t rootByte, const std::string& key, const std::string& name) {
  TJournalEntry e;
  e.Kind = TJournalKind::OldValue;
  e.Root = rootByte;
  e.Key = key;
  e.Name = name;
  TRegKeyHandle handle = OpenKey(root, key, KEY_QUERY_VALUE);
  DWORD type = 0, size = 0;
  if (handle && RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    std::string data(size, '\0');
    if (RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
        ERROR_SUCCESS) {
      data.resize(size);
      e.Existed = true;
      e.Type = type;
      e.Data = data;
    }
  }
  Note(e);
}

void TVantryInstall::NoteSharedCounted(const std::string& path) {
  TJournalEntry e;
  e.Kind = TJournalKind::SharedCounted;
  e.Path = path;
  Note(e);
}

void TVantryInstall::NoteRegistered(const std::string& path) {
  TJournalEntry e;
  e.Kind = TJournalKind::Registered;
  e.Path = path;
  Note(e);
}

// What stood in the way is deleted now (or at the next start when something holds it), and
// the journal goes: the run is the record's.
void TVantryInstall::Commit() {
  for (const auto& a : Files.Asides())
    if (!DeleteFileForce(a.Aside)) MoveFileExA(a.Aside.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  Journal.Drop();
  if (!JournalKey.empty()) ForgetJournal(State.Desktop->Sources.UninstallRoot, JournalKey);
  // Device-only: the folders the desktop copies lay in go now that the journal is out of them.
  if (State.Package.Option(OptDeviceOnly))
    for (auto it = Items.rbegin(); it != Items.rend(); ++it)
      if (it->Kind == UninstFolder) RemoveDirectoryA(it->Path.c_str());
  if (!Pending.empty()) Vars().SetVariable("%DoReboot%", "1");
  Log("committed");
}

// The steps that put back what stood before, for the log; the removal of what the run made
// tells of itself through the items.
TRollbackSystem TVantryInstall::LoggedRollback(TRollbackSystem s) {
  auto moveBack = s.MoveBack;
  s.MoveBack = [this, moveBack](const std::string& aside, const std::string& path) {
    Log("put back " + path);
    moveBack(aside, path);
  };
  auto restoreValue = s.RestoreValue;
  s.RestoreValue = [this, restoreValue](const TJournalEntry& old) {
    Log("value put back " + old.Key + "\\" + old.Name);
    restoreValue(old);
  };
  auto makeFolder = s.MakeFolder;
  s.MakeFolder = [this, makeFolder](const std::string& folder) {
    Log("folder made again " + folder);
    makeFolder(folder);
  };
  auto registerAgain = s.Register;
  s.Register = [this, registerAgain](TRegistration op, const TUninstItem& item) {
    Log("registered again " + item.Path);
    registerAgain(op, item);
  };
  return s;
}

void TVantryInstall::RollBackRun() {
  auto forget = [this] {
    Journal.Drop();
    if (!JournalKey.empty()) ForgetJournal(State.Desktop->Sources.UninstallRoot, JournalKey);
  };
  if (JournalFrames.empty()) return forget();
  Log("rolling back");
  if (Prompts.RollingBack) Prompts.RollingBack();
  Status(ProgressStatus, Vars().ExpandText(RollingBackText));
  Status(ProgressDetail, "");
  // The bar runs back to nothing, shown a few times a second as any progress.
  auto progress = [this](size_t done, size_t total) {
    Status(ProgressPosition, "", int32_t(total ? 100 - done * 100 / total : 0));
  };
  TJournal journal;
  journal.Entries = ReadJournalFrames(JournalFrames);
  std::vector<std::string> left =
      RollBack(journal, LoggedRollback(MachineRollbackSystem(State.Info.FontsFolder(), progress, forget)));
  Items.clear();
  Pending.clear();
  for (const auto& line : left) Log("not undone: " + line);
  if (left.empty()) return;
  State.NotDeleted.insert(State.NotDeleted.end(), left.begin(), left.end());
  std::string text = RollbackLeftText;
  for (const auto& line : left) text += "\n" + line;
  Show(TBoxKind::Warning, text);
}

// The removal of components no longer chosen, journalled: files are moved aside rather than
// deleted, and every registration, folder and value it takes away is noted first.
TRemovalSystem TVantryInstall::JournalledRemoval(TRemovalSystem s) {
  auto unregistered = [this](TRegistration op, const std::string& path, const TSetupFile* file) {
    TJournalEntry e;
    e.Kind = TJournalKind::Unregistered;
    e.Op = op;
    e.Item.Path = path;
    if (file) e.Item.File = *file;
    Note(e);
  };
  // Moved aside is gone from its place; so is a file that was not there.
  s.RemoveFile = [this, exists = s.Exists](const std::string& path) { return Files.RemoveFile(path) || !exists(path); };
  s.ReleaseSharedCount = [unregistered, release = s.ReleaseSharedCount](const std::string& path) -> int64_t {
    if (SystemKeepsSharedCounts() && HasSharedCount(path)) unregistered(TRegistration::SharedCount, path, nullptr);
    return release(path);
  };
  s.UnregisterTypeLibrary = [unregistered, undo = s.UnregisterTypeLibrary](const std::string& path) {
    unregistered(TRegistration::TypeLibrary, path, nullptr);
    undo(path);
  };
  s.UnregisterServer = [unregistered, undo = s.UnregisterServer](const std::string& path) {
    unregistered(TRegistration::Server, path, nullptr);
    undo(path);
  };
  s.RemoveFont = [unregistered, undo = s.RemoveFont](const TSetupFile& file, const std::string& path) {
    unregistered(TRegistration::Font, path, &file);
    undo(file, path);
  };
  s.FolderEmpty = [this](const std::string& folder) { return Files.HoldsOnlyAsides(folder); };
  s.RemoveFolder = [this, remove = s.RemoveFolder](const std::string& folder) {
    Files.MoveAsidesOutOf(folder);
    TJournalEntry e;
    e.Kind = TJournalKind::FolderRemoved;
    e.Path = folder;
    Note(e);
    return remove(folder);
  };
  s.DeleteValue = [this, remove = s.DeleteValue](const TSetupRegChange& value) {
    if (HKEY root = RootKey(value.Root)) NoteOldValue(root, value.Root, value.Key, value.ValueName);
    return remove(value);
  };
  return s;
}

}  // namespace vnt
