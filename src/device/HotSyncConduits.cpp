#include "device/HotSyncConduits.h"

#include "package/SetupStrings.h"

namespace vnt {

uint32_t CreatorCode(const std::string& creator) {
  uint32_t code = 0;
  for (size_t k = 0; k < 4; ++k) code = code << 8 | (k < creator.size() ? uint8_t(creator[k]) : 0u);
  return code;
}

const char* ConduitListName(bool integrated) { return integrated ? "Component" : "Application"; }

std::string ConduitKeyName(bool integrated, int n) { return ConduitListName(integrated) + std::to_string(n); }

std::optional<int> ConduitKeyNumber(const std::string& keyName, bool integrated) {
  const std::string list = ConduitListName(integrated);
  if (keyName.size() <= list.size() || !SameTextIgnoringCase(keyName.substr(0, list.size()), list)) return {};
  const std::string digits = keyName.substr(list.size());
  if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0')) return {};
  int n = 0;
  for (char d : digits) {
    if (d < '0' || d > '9') return {};
    n = n * 10 + (d - '0');
  }
  return n;
}

std::vector<TConduitValue> ConduitValues(const THotSyncConduit& c,
                                         const std::function<std::string(const std::string&)>& expand) {
  std::vector<TConduitValue> values;
  auto textIfAny = [&](const char* name, const std::string& raw) {
    std::string text = expand(raw);
    if (!text.empty()) values.push_back({name, std::move(text)});
  };
  const bool integrated = c.Integrate != 0;
  values.push_back({"Creator", CreatorCode(c.Creator)});
  values.push_back({"Conduit", c.ComConduit ? std::string("ComConduit.dll") : expand(c.ConduitFile)});
  textIfAny("Directory", c.Directory);
  textIfAny("Remote0", c.RemoteDatabase);
  textIfAny("File0", c.File);
  values.push_back({"Integrate", uint32_t(integrated ? 1 : 0)});
  textIfAny("Name", c.Name);
  textIfAny("Information", c.Information);
  values.push_back({"Priority", uint32_t(c.Priority)});
  // A module belongs to an application conduit only.
  if (!integrated) textIfAny("Module", c.Module);
  if (c.ComConduit) values.push_back({"COMClient", expand(c.ComClient)});
  return values;
}

}  // namespace vnt
