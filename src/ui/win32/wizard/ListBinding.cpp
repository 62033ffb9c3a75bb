// The page commands of scripts on the lists they address by tag.
#include <algorithm>

#include "ui/BindingRules.h"
#include "ui/PageFlow.h"
#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/wizard/RoleBinding.h"
#include "ui/win32/wizard/SetupMainBinding.h"

namespace vnt {

namespace {

using Op = TListOperation;

std::vector<std::string> LanguageNames(const TBinding& binding) {
  std::vector<std::string> names;
  for (const auto& language : binding.State.Description.Languages) names.push_back(language.Name);
  SortItems(names);
  return names;
}

// The toolkit raises its list-index error at the first item a single-select list is asked to
// select or deselect; nothing happens to the list.
void RequireMultiSelect(const TVNListBox& list, bool touchesItem) {
  if (!list.MultiSelect() && touchesItem) throw EScriptError("List index out of bounds");
}

void SelectMatching(TVNListBox& list, const std::string& text) {
  std::vector<std::string> entries = SelectionEntries(text);
  std::vector<int> matches;
  for (int i = 0, n = list.Count(); i < n; ++i)
    if (InSelection(entries, list.Text(i))) matches.push_back(i);
  RequireMultiSelect(list, !matches.empty());
  for (int i : matches) list.SetItemSelected(i, true);
}

void SelectAll(TVNListBox& list, bool on) {
  RequireMultiSelect(list, list.Count() > 0);
  for (int i = 0, n = list.Count(); i < n; ++i) list.SetItemSelected(i, on);
}

// Sorting refills the box; the items picked before stay picked.
void SortKeepingSelection(TVNListBox& list) {
  std::vector<std::string> picked;
  for (int i = 0, n = list.Count(); i < n; ++i)
    if (list.ItemSelected(i)) picked.push_back(list.Text(i));
  list.SortItems();
  for (int i = 0, n = list.Count(); i < n && !picked.empty(); ++i) {
    auto it = std::find(picked.begin(), picked.end(), list.Text(i));
    if (it == picked.end()) continue;
    list.SetItemSelected(i, true);
    picked.erase(it);
  }
}

void ListBoxCommand(TVNListBox& list, TBinding& binding, const std::string& text, Op op) {
  switch (op) {
    case Op::Clear: list.ClearItems(); break;
    case Op::Add: list.AddItem(text); break;
    case Op::SelectAll: SelectAll(list, true); break;
    case Op::DeselectAll: SelectAll(list, false); break;
    case Op::SelectItems: SelectMatching(list, text); break;
    case Op::Sort: SortKeepingSelection(list); break;
    case Op::FillLanguages:
      list.SetItems(LanguageNames(binding));
      SetValueQuietly(list, binding.Vars().ExpandText(list.Definition().P[2]));
      break;
  }
}

void ComboCommand(TVNComboBox& combo, TBinding& binding, const std::string& text, Op op) {
  switch (op) {
    case Op::Clear: combo.ClearItems(); break;
    case Op::Add: combo.AddItem(text); break;
    case Op::Sort: combo.SortItems(); break;
    case Op::FillLanguages:
      combo.SetItems(LanguageNames(binding));
      SetValueQuietly(combo, binding.Vars().ExpandText(combo.Definition().P[3]));
      return;
    default: return;
  }
  // Refilling empties the edit of an editable box: it shows the value it still holds.
  SetValueQuietly(combo, combo.Value());
}

void MemoCommand(TVNMemoList& memo, const std::string& text, Op op) {
  switch (op) {
    case Op::Clear: memo.ClearLines(); break;
    case Op::Add: memo.AddLine(text); break;
    case Op::Sort: memo.SortLines(); break;
    default: break;
  }
}

}  // namespace

void ListCommand(const TPageControls& controls, TBinding& binding, const std::string& tag, const std::string& text,
                 TListOperation op) {
  for (const auto& c : controls) {
    if (!SameTag(c->Tag(), tag)) continue;
    if (auto* list = dynamic_cast<TVNListBox*>(c.get()))
      ListBoxCommand(*list, binding, text, op);
    else if (auto* combo = dynamic_cast<TVNComboBox*>(c.get()))
      ComboCommand(*combo, binding, text, op);
    else if (auto* memo = dynamic_cast<TVNMemoList*>(c.get()))
      MemoCommand(*memo, text, op);
  }
}

}  // namespace vnt
