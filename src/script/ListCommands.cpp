#include "script/ListCommands.h"

#include "package/VarList.h"

namespace vnt {

namespace {

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  std::string out;
  size_t at = 0;
  for (size_t hit; (hit = text.find(from, at)) != std::string::npos; at = hit + from.size())
    out.append(text, at, hit - at).append(to);
  return out.append(text, at, std::string::npos);
}

bool SameItem(const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) == 0; }

}  // namespace

std::vector<std::string> SplitListText(const std::string& text) {
  const std::string internal = ReplaceAll(text, ", ", "|");
  std::vector<std::string> items;
  size_t at = 0;
  for (size_t bar; (bar = internal.find('|', at)) != std::string::npos; at = bar + 1)
    items.push_back(internal.substr(at, bar - at));
  items.push_back(internal.substr(at));
  return items;
}

std::string JoinListText(const std::vector<std::string>& items) {
  std::string internal;
  for (size_t k = 0; k < items.size(); ++k) {
    if (k) internal += '|';
    internal += items[k];
  }
  return ReplaceAll(internal, "|", ", ");
}

bool ListHolds(const std::vector<std::string>& items, const std::string& item) {
  if (item.empty()) return false;
  for (const auto& x : items)
    if (SameItem(x, item)) return true;
  return false;
}

std::string ListAddItem(const std::string& list, const std::string& item) {
  if (list.empty()) return item;
  std::vector<std::string> items = SplitListText(list);
  if (!item.empty() && !ListHolds(items, item)) items.push_back(item);
  return JoinListText(items);
}

std::string ListRemoveItem(const std::string& list, const std::string& item) {
  std::vector<std::string> kept;
  for (auto& x : SplitListText(list))
    if (!x.empty() && !SameItem(x, item)) kept.push_back(std::move(x));
  return JoinListText(kept);
}

std::string ListItemAt(const std::string& list, int32_t position) {
  const std::vector<std::string> items = SplitListText(list);
  if (position < 1 || size_t(position) > items.size()) return std::string();
  return items[size_t(position) - 1];
}

int ListCountItems(const std::string& list) {
  int n = 0;
  for (const auto& x : SplitListText(list))
    if (!x.empty()) ++n;
  return n;
}

void RegisterListCommands(TScriptContext& c) {
  c.SetCommand(OpListAdd, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], ListAddItem(c.Expand(s.F[0]), c.Expand(s.F[1])));
  });
  c.SetCommand(OpListRemove, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], ListRemoveItem(c.Expand(s.F[0]), c.Expand(s.F[1])));
  });
  c.SetCommand(OpListContains, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], ListHolds(SplitListText(c.Expand(s.F[1])), c.Expand(s.F[2])) ? "1" : "0");
  });
  c.SetCommand(OpListItem, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], ListItemAt(c.Expand(s.F[1]), TScriptContext::AsInteger(c.Expand(s.F[2]))));
  });
  c.SetCommand(OpListCount, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], std::to_string(ListCountItems(c.Expand(s.F[1]))));
  });
}

}  // namespace vnt
