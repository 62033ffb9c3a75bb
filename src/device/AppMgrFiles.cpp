#include "device/AppMgrFiles.h"

#include <cstring>

#include "package/ComponentLists.h"

namespace vnt {

namespace {

const std::string Rule = ";" + std::string(50, '=');

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string WithBackslash(const std::string& folder) {
  return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

}  // namespace

std::vector<TSetupDeviceFileGroup> DeviceGroupsInOrder(const TSetupDescription& desc) {
  const TSetupProperties& p = desc.Properties;
  std::vector<TSetupDeviceFileGroup> groups;
  groups.push_back({p.SoftwareName, p.MainGroupDesktopFolder, p.Description, "", p.MainGroupCabinetFiles});
  groups.insert(groups.end(), desc.DeviceGroups.begin(), desc.DeviceGroups.end());
  return groups;
}

std::vector<TSetupDeviceFileGroup> UsedDeviceGroups(const TSetupDescription& desc, const TGroupIsUsed& isUsed) {
  std::vector<TSetupDeviceFileGroup> used;
  for (auto& group : DeviceGroupsInOrder(desc))
    if (isUsed(group)) used.push_back(std::move(group));
  return used;
}

std::string AppMgrSafeName(const std::string& name) {
  std::string safe = name;
  for (char& c : safe)
    if (c != '\0' && std::strchr("\\/:*?\"<>|,", c) != nullptr) c = '_';
  return safe;
}

std::string AppMgrFilePath(const std::string& expandedFolder, const std::string& groupName) {
  return WithBackslash(expandedFolder) + AppMgrSafeName(groupName) + ".ini";
}

std::string AppMgrFileText(const TSetupDeviceFileGroup& group, const std::string& company,
                           bool withUninstall, const std::string& iconFile) {
  const std::string& n = group.Name;
  std::vector<std::string> lines = {
      Rule,
      "; " + AppMgrSafeName(n) + ".ini",
      ";",
      "; " + n,
      ";",
      "; Setup created by " + company + " with",
      std::string("; ") + AppMgrFileWebAddress,
      Rule,
      "",
      "[CEAppManager]",
      "Version = 1.0",
      "Component = " + n,
      "",
      "[" + n + "]",
      "Description = " + Quoted(group.Description),
  };
  if (withUninstall) lines.push_back("Uninstall = " + Quoted(company + " " + n));
  if (!iconFile.empty()) lines.push_back("IconFile = " + Quoted(FileNamePart(iconFile)));
  std::string cabs;
  for (const auto& cab : SplitComponentList(group.CabinetFiles)) cabs += (cabs.empty() ? "" : ",") + cab;
  lines.push_back("CabFiles = " + cabs);
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::vector<TAppMgrFile> PlanAppMgrFiles(const TSetupDescription& desc, const TGroupIsUsed& isUsed,
                                         const TExpandText& expand, const std::string& iconFile) {
  std::vector<TAppMgrFile> files;
  for (const auto& group : UsedDeviceGroups(desc, isUsed))
    files.push_back({AppMgrFilePath(expand(group.DesktopFolder), group.Name),
                     AppMgrFileText(group, desc.Properties.CompanyName, files.empty(), iconFile)});
  return files;
}

std::vector<TAppMgrFile> PlanAppMgrFiles(const TSetupDescription& desc, const TSetupQueries& queries,
                                         TSetupVariables& vars, const std::string& iconFile) {
  return PlanAppMgrFiles(
      desc, [&](const TSetupDeviceFileGroup& g) { return queries.GroupHasSelectedFile(g); },
      [&](const std::string& text) { return vars.ExpandText(text); }, iconFile);
}

std::string AppMgrArguments(const std::vector<std::string>& paths) {
  std::string args;
  for (const auto& path : paths) args += (args.empty() ? "" : " ") + Quoted(path);
  return args;
}

}  // namespace vnt
