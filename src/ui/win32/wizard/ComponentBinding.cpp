// The component list of a page (role 4) and the description label it feeds (role 11).
#include <algorithm>
#include <limits>

#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "ui/win32/wizard/RoleBinding.h"

namespace vnt {

namespace {

int32_t StoredSize(uint64_t bytes) {
  return int32_t(std::min<uint64_t>(bytes, uint64_t(std::numeric_limits<int32_t>::max())));
}

std::string DescriptionOf(const TSetupDescription& desc, const std::string& name) {
  for (const auto& c : desc.Components)
    if (SameTextIgnoringCase(c.Name, name)) return c.Description;
  return "";
}

void ComponentPicked(TVNListBox& list, TBinding& binding) {
  if (binding.Refreshing) return;
  int index = list.ItemIndex();
  binding.ComponentDescription = index >= 0 ? DescriptionOf(binding.State.Description, list.Key(index)) : "";
  if (binding.RefreshRole) binding.RefreshRole(RoleComponentDescription);
  if (binding.RunControlScript) binding.RunControlScript(list);
}

// The checks are the selection; what a component holds may depend on the selection.
void ComponentsChanged(TVNListBox& list, TBinding& binding) {
  TSetupVariables& vars = binding.Vars();
  vars.SelectedComponents = list.CheckedKeys();
  if (vars.ExpandText("%SetupType%") == "2")
    binding.State.Description.Properties.SetupTypeComponents[2] = vars.SelectedComponents;
  TSetupQueries queries(binding.State.Description, vars);
  for (int i = 0, n = list.Count(); i < n; ++i) list.SetHasContent(i, queries.ComponentHasEntries(list.Key(i)));
  if (binding.RefreshRole) binding.RefreshRole(RoleRequiredSpace);
}

}  // namespace

void FillComponentList(TVNListBox& list, TBinding& binding) {
  list.OnComponentsChange = nullptr;
  TListLook look;
  look.Images = binding.Images ? binding.Images->Handle() : nullptr;
  look.CustomDraw = look.ShowChecks = look.ShowFileSize = look.ShowImages = true;
  look.ShowDisabledChecks = false;
  list.SetLook(look);
  list.ClearItems();
  TSetupQueries queries(binding.State.Description, binding.Vars());
  for (const auto& c : binding.State.Description.Components) {
    int32_t image = binding.Images ? binding.Images->IndexOf(c.Name) : -1;
    list.AddItem(c.Name, TCheckState::Unchecked, queries.ComponentHasEntries(c.Name), c.Name,
                 StoredSize(queries.ComponentSize(c.Name)), image);
  }
  list.SetCheckedKeys(binding.Vars().SelectedComponents);
  list.OnGetComponentSize = [&binding](const std::string& key, int64_t& size) {
    size = int64_t(TSetupQueries(binding.State.Description, binding.Vars()).ComponentSize(key));
  };
  list.OnComponentsChange = [&list, &binding] { ComponentsChanged(list, binding); };
  list.OnEvent = [&list, &binding](TVNControl&) { ComponentPicked(list, binding); };
}

void CheckSelectedComponents(TVNListBox& list, TBinding& binding) {
  list.SetCheckedKeys(binding.Vars().SelectedComponents);
}

void SetPlainListLook(TVNListBox& list) { list.SetLook(TListLook{}); }

}  // namespace vnt
