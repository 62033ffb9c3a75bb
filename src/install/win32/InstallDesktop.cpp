// The shortcuts with the program group and their folders, and the registry changes.
#include <algorithm>

#include "install/InstallRules.h"
#include "install/win32/VantryInstall.h"
#include "package/IntegerText.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/ShellLink.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

constexpr char GroupFolderText[] = "%ProgramGroupDir%\\";

}  // namespace

void TVantryInstall::CreateShortcuts() {
  if (IsAborted) return;
  StatusMessage(MsgCreatingShortcuts);
  if (!MakeProgramGroup()) return;  // told: no shortcut goes in a group that is not there
  MakeListedFolders(State.Description.ShortcutFolders, true);
  TSetupQueries queries(State.Description, Vars());
  for (const auto& s : State.Description.Shortcuts)
    if (!IsAborted && queries.SelectedForInstall(s.Components, s.Condition)) MakeShortcut(s);
}

bool TVantryInstall::MakeProgramGroup() {
  TSetupQueries queries(State.Description, Vars());
  const auto& all = State.Description.Shortcuts;
  bool wanted = std::any_of(all.begin(), all.end(), [&](const TSetupShortcut& s) {
    return s.Folder == GroupFolderText && queries.SelectedForInstall(s.Components, s.Condition);
  });
  std::string group = Vars().ExpandText("%ProgramGroupDir%");
  if (!wanted || (Maintenance() && FolderExists(group))) return true;
  return MakeFolder(group, MsgCannotCreateGroup, false);
}

void TVantryInstall::MakeShortcut(const TSetupShortcut& s) {
  std::string link = WithFolderBackslash(Vars().ExpandText(s.Folder)) + Vars().ExpandText(s.Name) + ".lnk";
  std::string target, arguments;
  if (SameTextIgnoringCase(s.Target, "UNINSTALLER")) {
    target = Vars().ExpandText("%WinDir%\\vntuninst.exe");
    arguments = "\"" + RecordPath + "\"";
  } else {
    target = StripFolderBackslash(Vars().ExpandText(s.Target));
    if (!FolderExists(target)) {
      std::string folder = TSetupQueries(State.Description, Vars()).FindDestinationFolder(s.Target);
      target = Vars().ExpandText(WithFolderBackslash(folder) + s.Target);
    }
    arguments = Vars().ExpandText(s.Arguments);
  }
  TShellLink shell;
  bool saved = false;
  if (shell) {
    IShellLinkA* l = shell.Link();
    l->SetPath(target.c_str());
    l->SetArguments(arguments.c_str());
    std::string working = FolderOfFile(target);
    if (!working.empty()) l->SetWorkingDirectory(working.c_str());
    std::string icon = Vars().ExpandText(s.IconFile);
    if (!icon.empty()) l->SetIconLocation(icon.c_str(), s.IconIndex);
    // 0 would start the program hidden: a stored 0 means the usual window.
    l->SetShowCmd(s.ShowCommand ? s.ShowCommand : SW_SHOWNORMAL);
    std::string description = Vars().ExpandText(s.Description);
    if (!description.empty()) l->SetDescription(description.c_str());
    // A link of the same name that stood there is kept aside, for a rollback.
    saved = Files.PrepareInPlace(link) && shell.Save(link);
  }
  if (!saved) {
    Log("shortcut failed " + link);
    if (!ShortcutErrorShown) Show(TBoxKind::Error, Message(State, MsgShortcutError));
    ShortcutErrorShown = true;
    return;
  }
  TSetupFile f;
  f.SourceName = link;
  f.DestFolder = s.Folder;
  f.Group = s.Group;
  f.Components = s.Components;
  f.Condition = s.Condition;
  Record(UninstFile, link, &f);
}

void TVantryInstall::WriteRegistry() {
  if (IsAborted) return;
  StatusMessage(MsgCreatingRegistryEntries);
  uint8_t root = 1;  // HKEY_CURRENT_USER until a change names another
  bool failed = false;
  TSetupQueries queries(State.Description, Vars());
  for (auto& change : State.Description.RegChanges)
    if (queries.SelectedForInstall(change.Components, change.Condition)) WriteValue(change, root, failed);
  if (failed) Show(TBoxKind::Error, Message(State, MsgRegistryError));
}

// The expanded texts are kept in the record, so that the uninstall data holds what was written.
void TVantryInstall::WriteValue(TSetupRegChange& change, uint8_t& root, bool& failed) {
  if (RootKey(change.Root)) root = change.Root;
  change.Key = StripFolderBackslash(Vars().ExpandText(change.Key));
  change.ValueName = Vars().ExpandText(change.ValueName);
  change.Data = Vars().ExpandText(change.Data);
  NoteOldValue(RootKey(root), root, change.Key, change.ValueName);
  TRegKeyHandle key = OpenKey(RootKey(root), change.Key, KEY_SET_VALUE, true);
  if (!key) {
    Log("registry key failed " + change.Key);
    failed = true;
    return;
  }
  std::string bytes;
  DWORD type = REG_SZ;
  switch (change.Type) {
    case 0: bytes = change.Data + '\0'; break;
    case 1: {
      int32_t number = AsInteger(change.Data);
      bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
      type = REG_DWORD;
      break;
    }
    case 2: bytes = RegistryBinaryData(change.Data), type = REG_BINARY; break;
    default: bytes = RegistryMultiStringData(change.Data), type = REG_MULTI_SZ; break;
  }
  if (RegSetValueExA(key.Get(), change.ValueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     DWORD(bytes.size())) != ERROR_SUCCESS) {
    failed = true;
    return;
  }
  TSetupRegChange done = change;
  done.Root = root;
  RecordValue(done);
}

}  // namespace vnt
