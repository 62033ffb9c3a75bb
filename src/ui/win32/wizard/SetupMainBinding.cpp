#include "ui/win32/wizard/SetupMainBinding.h"

#include "ui/PageFlow.h"
#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/wizard/FolderBinding.h"
#include "ui/win32/wizard/RoleBinding.h"

namespace vnt {

namespace {

std::string Caption(TSetupVariables& vars, const std::string& text) { return vars.ExpandText(text, true); }

std::vector<std::string> ExpandedItems(TSetupVariables& vars, const std::string& text) {
  std::vector<std::string> items = SplitItems(text);
  for (auto& item : items) item = vars.ExpandText(item);
  return items;
}

// Setting a text the control already shows would move the caret of a box being typed in.
void SetTextIfChanged(TVNControl& c, const std::string& text) {
  if (c.Caption() != text) c.SetCaption(text);
}

bool RoleSelected(const TVNControl& c, const TRefresh& how) { return !how.Filtered || c.Role() == how.Filter; }

// The pass made for a change of the variable the control is bound to.
bool NamePassFor(const TVNControl& c, const TRefresh& how) {
  return how.Filtered && how.Filter == 0 && !how.Name.empty() && SameTag(how.Name, c.Binding());
}

void UpdateLabel(TVNLabel& label, TBinding& binding, const TRefresh& how) {
  if (!RoleSelected(label, how)) return;
  switch (label.Role()) {
    case RoleNone:
    case RoleStatus:
    case RoleDetail: label.SetCaption(Caption(binding.Vars(), label.Definition().P[0])); break;
    case RoleRequiredSpace:
    case RoleFreeSpace: UpdateSizeLabel(label, binding); break;
    case RoleComponentDescription: label.SetCaption(Caption(binding.Vars(), binding.ComponentDescription)); break;
    default: break;
  }
}

void UpdateEdit(TVNEdit& edit, TBinding& binding, const TRefresh& how) {
  if (!(how.Filtered || how.Initial || !how.Name.empty())) return;
  TSetupVariables& vars = binding.Vars();
  uint8_t role = edit.Role();
  if (role == RoleProgramGroup || role == RoleInstallDir) {
    if (RoleSelected(edit, how)) UpdateFolderEdit(edit, binding);
    return;
  }
  if (role != RoleNone) return;
  const std::string& bound = edit.Binding();
  if (!how.Filtered)
    SetTextIfChanged(edit, vars.ExpandText(IsDeclaredVariable(vars, bound) ? bound : edit.Definition().P[0]));
  else if (NamePassFor(edit, how))
    SetTextIfChanged(edit, vars.ExpandText(bound));
}

void UpdateListBox(TVNListBox& list, TBinding& binding, const TRefresh& how) {
  if (!RoleSelected(list, how)) return;
  TSetupVariables& vars = binding.Vars();
  const auto& P = list.Definition().P;
  switch (list.Role()) {
    case RoleNone:
      if (!how.Initial) return;
      SetPlainListLook(list);
      list.SetItems(ExpandedItems(vars, P[1]));
      list.SetValue(vars.ExpandText(P[2]));
      break;
    case RoleProgramGroups: UpdateProgramGroupList(list, binding, how.Initial); break;
    case RoleComponents:
      if (how.Initial) FillComponentList(list, binding);
      else if (how.Filtered && how.Filter == RoleComponents) CheckSelectedComponents(list, binding);
      break;
    default: break;
  }
}

void UpdateFolderControl(TVNControl& c, TBinding& binding, const TRefresh& how) {
  if (auto* dirs = dynamic_cast<TVNDirList*>(&c)) {
    bool byRole = how.Initial || (how.Filtered && how.Filter == RoleDirList);
    if (byRole || NamePassFor(c, how)) BindDirList(*dirs, binding);
  } else if (auto* drives = dynamic_cast<TVNDriveCombo*>(&c)) {
    bool byRole = how.Initial || (how.Filtered && how.Filter == RoleDrive);
    if (byRole || NamePassFor(c, how)) BindDriveCombo(*drives, binding);
  }
}

void UpdatePictureControl(TVNPictureControl& picture, TBinding& binding, const TRefresh& how) {
  if (!how.Initial || !RoleSelected(picture, how)) return;
  uint8_t role = picture.Role();
  bool button = dynamic_cast<TVNImageButton*>(&picture) != nullptr;
  if (role == RoleNone || role == RoleProgramIcon || (role == RoleSetupPicture && !button))
    UpdatePicture(picture, binding);
}

void UpdateTexts(TVNControl& c, TBinding& binding, const TRefresh& how) {
  TSetupVariables& vars = binding.Vars();
  const auto& P = c.Definition().P;
  if (auto* combo = dynamic_cast<TVNComboBox*>(&c)) {
    if (!how.Filtered && how.Initial) {
      combo->SetItems(ExpandedItems(vars, P[2]));
      combo->SetValue(vars.ExpandText(P[3]));
    }
  } else if (auto* memo = dynamic_cast<TVNMemoList*>(&c)) {
    if (how.Initial) memo->SetLines(ExpandedItems(vars, P[1]));
  } else if (auto* viewer = dynamic_cast<TVNLicense*>(&c)) {
    if (how.Initial) LoadViewerText(*viewer, binding);
  } else if (auto* notDeleted = dynamic_cast<TVNNotDeletedList*>(&c)) {
    if (how.Initial) ShowNotDeleted(*notDeleted, binding);
  }
}

void UpdateButtons(TVNControl& c, TSetupVariables& vars, const TRefresh& how) {
  if (how.Filtered) return;
  const std::string& p1 = c.Definition().P[0];
  if (dynamic_cast<TVNButton*>(&c)) {
    c.SetCaption(vars.ExpandText(p1));
  } else if (auto* check = dynamic_cast<TVNCheckBox*>(&c)) {
    c.SetCaption(Caption(vars, p1));
    if (how.Initial) check->SetValue(vars.ExpandText(c.Definition().P[2]));
  } else if (dynamic_cast<TVNRadioButton*>(&c) || dynamic_cast<TVNFrame*>(&c)) {
    c.SetCaption(Caption(vars, p1));
  }
}

}  // namespace

bool IsDeclaredVariable(const TSetupVariables& vars, const std::string& name) {
  return !name.empty() && vars.Table.IndexOf(name) >= 0;
}

void UpdateControl(TVNControl& c, TBinding& binding, const TRefresh& how) {
  if (auto* label = dynamic_cast<TVNLabel*>(&c))
    UpdateLabel(*label, binding, how);
  else if (auto* edit = dynamic_cast<TVNEdit*>(&c))
    UpdateEdit(*edit, binding, how);
  else if (auto* list = dynamic_cast<TVNListBox*>(&c))
    UpdateListBox(*list, binding, how);
  else if (auto* picture = dynamic_cast<TVNPictureControl*>(&c))
    UpdatePictureControl(*picture, binding, how);
  else if (dynamic_cast<TVNDirList*>(&c) || dynamic_cast<TVNDriveCombo*>(&c))
    UpdateFolderControl(c, binding, how);
  else {
    UpdateButtons(c, binding.Vars(), how);
    UpdateTexts(c, binding, how);
  }
}

void UpdateControls(const TPageControls& controls, TBinding& binding, const TRefresh& how) {
  for (const auto& c : controls) UpdateControl(*c, binding, how);
}

TRefresh PageRefresh(const TSetupVariables& vars, bool initial, const std::string& name, uint8_t filter) {
  TRefresh how;
  how.Initial = initial;
  if (filter != 0) {
    how.Filtered = true;
    how.Filter = filter;
  } else if (IsDeclaredVariable(vars, name)) {
    how.Filtered = true;
    how.Name = name;
  }
  return how;
}

std::vector<TRefresh> RefreshesAfterChange(const TSetupVariables& vars, const std::string& name) {
  // These three drive built-in roles, which follow them by role rather than by binding.
  if (SameTag(name, "%INSTALLDIR%"))
    return {PageRefresh(vars, false, "", RoleInstallDir), PageRefresh(vars, false, "", RoleFreeSpace),
            PageRefresh(vars, false, "", RoleDirList), PageRefresh(vars, false, "", RoleDrive)};
  if (SameTag(name, "%PROGRAMGROUP%")) return {PageRefresh(vars, false, "", RoleProgramGroup)};
  if (SameTag(name, "%COMMONSHELLFOLDERS%")) return {PageRefresh(vars, false, "", RoleProgramGroups)};
  if (!IsDeclaredVariable(vars, name)) return {};
  // A new setup type is a new selection: the component list and the required space show it.
  if (SameTag(name, "%SETUPTYPE%"))
    return {PageRefresh(vars, false, name, 0), PageRefresh(vars, false, "", RoleComponents),
            PageRefresh(vars, false, "", RoleRequiredSpace)};
  return {PageRefresh(vars, false, name, 0)};
}

void StoreControlValues(const TPageControls& controls, TSetupVariables& vars) {
  for (const auto& c : controls) {
    const std::string& binding = c->Binding();
    if (binding.empty()) continue;
    if (dynamic_cast<TVNEdit*>(c.get())) {
      vars.SetVariable(binding, c->Caption());
    } else if (dynamic_cast<TVNCheckBox*>(c.get()) || dynamic_cast<TVNComboBox*>(c.get())) {
      vars.SetVariable(binding, c->Value());
    } else if (auto* radio = dynamic_cast<TVNRadioButton*>(c.get())) {
      if (radio->Checked()) vars.SetVariable(binding, radio->SelectedValue());
    } else if (dynamic_cast<TVNListBox*>(c.get()) && c->Role() == RoleNone) {
      vars.SetVariable(binding, c->Value());
    }
  }
}

void InitialiseRadios(const TPageControls& controls, TSetupVariables& vars) {
  for (const auto& c : controls) {
    auto* radio = dynamic_cast<TVNRadioButton*>(c.get());
    if (!radio || radio->SelectedValue() != vars.ExpandText(radio->Binding(), true)) continue;
    // As a click would, checking one turns off the others of its panel: a page shown again
    // must not keep the user's earlier choice checked beside the variable's.
    for (const auto& other : controls)
      if (auto* sibling = dynamic_cast<TVNRadioButton*>(other.get()))
        if (sibling != radio && sibling->Container() == radio->Container()) sibling->SetChecked(false);
    radio->SetChecked(true);
  }
}

TVNControl* FirstFocusControl(const TPageControls& controls) {
  for (const auto& c : controls)
    if (TakesPageFocus(c->Definition().Kind)) return c.get();
  return nullptr;
}

void EnableButtons(const TPageControls& controls, const std::string& tag, bool on) {
  for (const auto& c : controls)
    if (dynamic_cast<TVNButton*>(c.get()) && SameTag(c->Tag(), tag)) c->Enable(on);
}

TVNListBox* FindListBox(const TPageControls& controls, const std::string& tag) {
  for (const auto& c : controls)
    if (auto* list = dynamic_cast<TVNListBox*>(c.get()); list && SameTag(c->Tag(), tag)) return list;
  return nullptr;
}

bool RunsControlScript(const TVNControl& c) {
  const TVNControl* p = &c;
  if (dynamic_cast<const TVNEdit*>(p)) return c.Role() == RoleNone;
  return dynamic_cast<const TVNLabel*>(p) || dynamic_cast<const TVNButton*>(p) ||
         dynamic_cast<const TVNCheckBox*>(p) || dynamic_cast<const TVNRadioButton*>(p) ||
         dynamic_cast<const TVNListBox*>(p) || dynamic_cast<const TVNComboBox*>(p) ||
         dynamic_cast<const TVNImage*>(p) || dynamic_cast<const TVNImageButton*>(p);
}

}  // namespace vnt
