#include "SetupMainBinding.h"

#include "PageFlow.h"
#include "VNComponents.h"

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

void UpdateEdit(TVNEdit& edit, TSetupVariables& vars, const TRefresh& how) {
  if (!(how.Filtered || how.Initial || !how.Name.empty()) || edit.Role() != RoleNone) return;
  const std::string& binding = edit.Binding();
  if (!how.Filtered) {
    bool bound = IsDeclaredVariable(vars, binding);
    SetTextIfChanged(edit, vars.ExpandText(bound ? binding : edit.Definition().P[0]));
  } else if (how.Filter == 0 && !how.Name.empty() && SameTag(how.Name, binding)) {
    SetTextIfChanged(edit, vars.ExpandText(binding));
  }
}

void UpdateLists(TVNControl& c, TSetupVariables& vars, const TRefresh& how) {
  const auto& P = c.Definition().P;
  if (auto* list = dynamic_cast<TVNListBox*>(&c)) {
    if (how.Initial && c.Role() == RoleNone && RoleSelected(c, how)) {
      list->SetItems(ExpandedItems(vars, P[1]));
      list->SetValue(vars.ExpandText(P[2]));
    }
  } else if (auto* combo = dynamic_cast<TVNComboBox*>(&c)) {
    if (!how.Filtered && how.Initial) {
      combo->SetItems(ExpandedItems(vars, P[2]));
      combo->SetValue(vars.ExpandText(P[3]));
    }
  } else if (auto* memo = dynamic_cast<TVNMemoList*>(&c)) {
    if (how.Initial) memo->SetLines(ExpandedItems(vars, P[1]));
  }
}

}  // namespace

bool IsDeclaredVariable(const TSetupVariables& vars, const std::string& name) {
  return !name.empty() && vars.Table.IndexOf(name) >= 0;
}

void UpdateControl(TVNControl& c, TBinding& binding, const TRefresh& how) {
  TSetupVariables& vars = binding.Vars();
  const std::string& p1 = c.Definition().P[0];
  if (dynamic_cast<TVNLabel*>(&c)) {
    uint8_t role = c.Role();
    if ((role == RoleNone || role == RoleStatus || role == RoleDetail) && RoleSelected(c, how))
      c.SetCaption(Caption(vars, p1));
  } else if (auto* edit = dynamic_cast<TVNEdit*>(&c)) {
    UpdateEdit(*edit, vars, how);
  } else if (dynamic_cast<TVNButton*>(&c)) {
    if (!how.Filtered) c.SetCaption(vars.ExpandText(p1));
  } else if (auto* check = dynamic_cast<TVNCheckBox*>(&c)) {
    if (!how.Filtered) {
      c.SetCaption(Caption(vars, p1));
      if (how.Initial) check->SetValue(vars.ExpandText(c.Definition().P[2]));
    }
  } else if (dynamic_cast<TVNRadioButton*>(&c) || dynamic_cast<TVNFrame*>(&c)) {
    if (!how.Filtered) c.SetCaption(Caption(vars, p1));
  } else {
    UpdateLists(c, vars, how);
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
  // The built-in roles these three drive are refreshed by role, not by binding.
  for (const char* special : {"%INSTALLDIR%", "%PROGRAMGROUP%", "%COMMONSHELLFOLDERS%"})
    if (SameTag(name, special)) return {};
  if (!IsDeclaredVariable(vars, name)) return {};
  return {PageRefresh(vars, false, name, 0)};
}

void ListCommand(const TPageControls&, TBinding&, const std::string&, const std::string&, TListOperation) {}

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
  for (const auto& c : controls)
    if (auto* radio = dynamic_cast<TVNRadioButton*>(c.get()))
      if (radio->SelectedValue() == vars.ExpandText(radio->Binding(), true)) radio->SetChecked(true);
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
