// Component lists: names separated by "|"; membership ignores case and skips empty items.
#pragma once

#include <string>
#include <vector>

namespace vnt {

std::vector<std::string> SplitComponentList(const std::string& list);
bool ComponentListContains(const std::string& list, const std::string& name);
// Whether any item of one list is in the other.
bool ComponentListsMeet(const std::string& items, const std::string& list);
std::string JoinComponentList(const std::vector<std::string>& names);

}  // namespace vnt
