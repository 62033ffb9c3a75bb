#include "setup/SwitchValues.h"

#include <cctype>

#include "package/ComponentLists.h"
#include "package/SetupStrings.h"

namespace vnt {

namespace {

const TInstallerComponent* FindComponent(const TSetupDescription& d, const std::string& name) {
  for (const auto& c : d.Components)
    if (SameTextIgnoringCase(c.Name, name)) return &c;
  return nullptr;
}

const TSetupLanguage* FindLanguage(const TSetupDescription& d, const std::string& name) {
  for (const auto& l : d.Languages)
    if (SameTextIgnoringCase(l.Name, name)) return &l;
  return nullptr;
}

template <class T>
std::string Names(const std::vector<T>& items) {
  std::string list;
  for (const auto& item : items) list += (list.empty() ? "" : ", ") + item.Name;
  return list.empty() ? "none" : list;
}

// "C:\..." or "\\server\share...": a folder that does not depend on where the setup started.
bool IsFullPath(const std::string& path) {
  bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
               path[2] == '\\';
  return drive || (path.size() > 2 && path[0] == '\\' && path[1] == '\\');
}

std::string Shown(const std::string& name, const std::string& value) {
  return "%" + name + "% = " + (IsSecretName(name) ? std::string("***") : value) + " (command line)";
}

}  // namespace

std::string SwitchValuesProblem(const TSetupSwitches& s, const TSetupDescription& d) {
  for (const auto& var : s.Vars)
    if (IsReadOnlyVariable("%" + var.first + "%")) return "The variable %" + var.first + "% cannot be set.";
  if (s.Dir && !IsFullPath(*s.Dir))
    return "The folder " + *s.Dir + " of /DIR is not a full path such as C:\\Program Files\\Product.";
  if (s.Components)
    for (const std::string& name : *s.Components)
      if (!FindComponent(d, name))
        return "This setup has no component " + name + ". Its components: " + Names(d.Components) + ".";
  if (s.Lang && !FindLanguage(d, *s.Lang))
    return "This setup has no language " + *s.Lang + ". Its languages: " + Names(d.Languages) + ".";
  return {};
}

std::vector<std::string> ApplySwitchValues(const TSetupSwitches& s, TSetupDescription& d, TSetupVariables& vars) {
  std::vector<std::string> lines;
  auto set = [&](const std::string& name, const std::string& value, bool folder = false) {
    vars.SetVariable("%" + name + "%", value, folder);
    lines.push_back(Shown(name, vars.Stored("%" + name + "%")));
  };
  for (const auto& [name, value] : s.Vars) set(name, value);
  if (s.Dir) set("InstallDir", *s.Dir, true);
  if (s.Group) set("ProgramGroup", *s.Group);
  if (s.Lang) set("Language", FindLanguage(d, *s.Lang)->Name);
  if (s.Type) set("SetupType", std::to_string(*s.Type));
  if (s.Components) {
    std::vector<std::string> names;
    for (const std::string& name : *s.Components) names.push_back(FindComponent(d, name)->Name);
    // The custom type's list, chosen through the type, as the component page would.
    d.Properties.SetupTypeComponents[2] = JoinComponentList(names);
    set("SetupType", "2");
    lines.push_back("components: " + JoinComponentList(names) + " (command line)");
  }
  return lines;
}

}  // namespace vnt
