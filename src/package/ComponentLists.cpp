#include "package/ComponentLists.h"

#include "package/VarList.h"

namespace vnt {

std::vector<std::string> SplitComponentList(const std::string& list) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= list.size()) {
    size_t bar = list.find('|', start);
    if (bar == std::string::npos) bar = list.size();
    if (bar > start) items.push_back(list.substr(start, bar - start));
    start = bar + 1;
  }
  return items;
}

bool ComponentListContains(const std::string& list, const std::string& name) {
  if (name.empty()) return false;
  for (const auto& item : SplitComponentList(list))
    if (CompareTextIgnoringCase(item, name) == 0) return true;
  return false;
}

bool ComponentListsMeet(const std::string& items, const std::string& list) {
  for (const auto& item : SplitComponentList(items))
    if (ComponentListContains(list, item)) return true;
  return false;
}

std::string JoinComponentList(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& n : names) list += (list.empty() ? "" : "|") + n;
  return list;
}

}  // namespace vnt
