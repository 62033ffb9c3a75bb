#include "package/CustomVarFuncs.h"

namespace vnt {

std::string TrimKeyPath(const std::string& key) {
  size_t first = key.find_first_not_of('\\');
  if (first == std::string::npos) return "";
  size_t last = key.find_last_not_of('\\');
  return key.substr(first, last - first + 1);
}

void SetCustomVariables(TSetupVariables& vars, const std::vector<TSetupVariable>& records,
                        const TRegistryTextReader& read) {
  uint8_t root = RootCurrentUser;
  for (const auto& r : records) {
    // An unknown root byte keeps the root of the record before.
    if (r.Reg.Root <= RootLocalMachine) root = r.Reg.Root;
    std::optional<std::string> value = read(root, TrimKeyPath(r.Reg.Key), r.Reg.ValueName);
    vars.SetVariable(r.Name, value ? *value : vars.ExpandText(r.Reg.Data), r.Folder != 0);
  }
}

}  // namespace vnt
