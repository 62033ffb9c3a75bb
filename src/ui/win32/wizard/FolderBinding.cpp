#include "ui/win32/wizard/FolderBinding.h"

#include "package/VarList.h"
#include "platform/win32/SystemServices.h"
#include "ui/BindingRules.h"
#include "ui/win32/controls/VNComponents.h"

namespace vnt {

namespace {

bool IsFolder(const std::string& path) { return FolderExists(path); }

// The controls the user is acting on; null while a refresh runs or no page is shown, when
// a change is the binding's own and not passed on.
const TPageControls* ControlsForUserChange(TBinding& binding) {
  if (binding.Refreshing || !binding.ActiveControls) return nullptr;
  return binding.ActiveControls();
}

// Setting a text the box already shows would move the caret of a box being typed in.
void SetEditText(TVNControl& edit, const std::string& text) {
  if (edit.Caption() != text) edit.SetCaption(text);
}

void ShowDrive(TVNDriveCombo& combo, char letter) {
  if (combo.Drive() != letter && !combo.SetDrive(letter)) return;
  combo.SetRememberedDrive(letter);
}

}  // namespace

void UpdateFolderEdit(TVNEdit& edit, TBinding& binding) {
  TSetupVariables& vars = binding.Vars();
  if (edit.Role() == RoleProgramGroup) {
    SetEditText(edit, vars.ExpandText("%ProgramGroup%"));
  } else {
    std::string dir = vars.ExpandText("%InstallDir%");
    if (!SameFolderText(dir, edit.Caption())) edit.SetCaption(dir);
  }
  edit.OnEvent = [&binding](TVNControl& c) { ProgramGroupEditChanged(c, binding); };
}

void ProgramGroupEditChanged(TVNControl& edit, TBinding& binding) {
  // A refresh setting the text from the variable is no change of the user's.
  if (binding.Refreshing) return;
  if (edit.Role() == RoleProgramGroup)
    binding.Vars().SetVariable("%ProgramGroup%", edit.Caption());
  else if (edit.Role() == RoleInstallDir)
    binding.Vars().SetVariable("%InstallDir%", edit.Caption());
  if (binding.RunControlScript) binding.RunControlScript(edit);
}

void BindDirList(TVNDirList& list, TBinding& binding) {
  list.OnChange = [&binding](TVNDirList& l) { DirListChanged(l, binding); };
  std::string value = binding.Vars().ExpandText(list.Binding());
  std::optional<std::string> start = DirListStart(value, IsFolder, binding.State.Info.WindowsFolder());
  list.SetRememberedDirectory(FolderWithBackslash(value));
  if (start) list.SetDirectory(*start);
}

void BindDriveCombo(TVNDriveCombo& combo, TBinding& binding) {
  combo.OnChange = [&binding](TVNDriveCombo& c) { DriveComboChanged(c, binding); };
  char letter = DriveLetterOf(binding.Vars().ExpandText(combo.Binding()));
  if (letter && FolderExists(DriveRootOf(letter))) ShowDrive(combo, letter);
}

void DirListChanged(TVNDirList& list, TBinding& binding) {
  const TPageControls* controls = ControlsForUserChange(binding);
  if (!controls) return;
  std::string dir = FolderWithBackslash(list.Directory());
  if (SameFolderText(dir, list.RememberedDirectory())) return;
  list.SetRememberedDirectory(dir);
  char letter = DriveLetterOf(dir);
  for (const auto& c : *controls) {
    if (auto* edit = dynamic_cast<TVNEdit*>(c.get())) {
      if (EditFollowsFolderPick(edit->Role(), edit->Binding(), list.Binding()) &&
          CompareTextIgnoringCase(edit->Caption(), dir) != 0)
        edit->SetCaption(dir);
    } else if (auto* combo = dynamic_cast<TVNDriveCombo*>(c.get())) {
      if (letter && BoundAlike(combo->Binding(), list.Binding())) ShowDrive(*combo, letter);
    }
  }
}

void DriveComboChanged(TVNDriveCombo& combo, TBinding& binding) {
  const TPageControls* controls = ControlsForUserChange(binding);
  if (!controls) return;
  char letter = combo.Drive();
  std::string root = DriveRootOf(letter);
  if (!letter || !FolderExists(root)) {  // not ready: back to the drive last accepted
    if (combo.RememberedDrive()) combo.SetDrive(combo.RememberedDrive());
    return;
  }
  combo.SetRememberedDrive(letter);
  for (const auto& c : *controls) {
    if (auto* edit = dynamic_cast<TVNEdit*>(c.get())) {
      if (EditFollowsFolderPick(edit->Role(), edit->Binding(), combo.Binding()) &&
          !TextOnDrive(edit->Caption(), letter))
        edit->SetCaption(root);
    } else if (auto* list = dynamic_cast<TVNDirList*>(c.get())) {
      if (BoundAlike(list->Binding(), combo.Binding()) && DriveLetterOf(list->Directory()) != letter)
        list->SetDirectory(root);
    }
  }
}

}  // namespace vnt
