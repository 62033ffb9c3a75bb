#include "package/SetupQueries.h"

#include <algorithm>

#include "package/ComponentLists.h"
#include "package/Conditions.h"
#include "package/FolderPrefixes.h"
#include "package/SystemRules.h"

namespace vnt {

std::string FileNamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && CompareTextIgnoringCase(text.substr(0, prefix.size()), prefix) == 0;
}

namespace {
std::string WithTrailingBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}
}  // namespace

bool TSetupQueries::Selected(const std::string& components, const std::string& condition) const {
  return Vars.IsComponentSelected(components) && EvaluateCondition(condition, Vars);
}

bool TSetupQueries::SelectedForInstall(const std::string& components, const std::string& condition) const {
  return Vars.IsComponentSelectedForInstall(components) && EvaluateCondition(condition, Vars);
}

bool TSetupQueries::IsDeviceCabinet(const std::string& fileName) const {
  std::string name = FileNamePart(fileName);
  if (ComponentListContains(Desc.Properties.MainGroupCabinetFiles, name)) return true;
  return std::any_of(Desc.DeviceGroups.begin(), Desc.DeviceGroups.end(),
                     [&](const TSetupDeviceFileGroup& g) { return ComponentListContains(g.CabinetFiles, name); });
}

bool TSetupQueries::GroupHasSelectedFile(const TSetupDeviceFileGroup& group) const {
  for (const auto& f : Desc.ProductFiles) {
    if (!Selected(f.File.Components, f.File.Condition)) continue;
    if (CompareTextIgnoringCase(f.File.DestFolder, group.DesktopFolder) != 0) continue;
    if (ComponentListContains(group.CabinetFiles, FileNamePart(f.File.SourceName))) return true;
  }
  return false;
}

uint64_t TSetupQueries::SelectedSize() const {
  uint64_t total = 0;
  for (const auto& f : Desc.ProductFiles)
    if (Selected(f.File.Components, f.File.Condition)) total += f.File.Size;
  return total;
}

std::map<char, uint64_t> TSetupQueries::BytesByDrive() const {
  std::map<char, uint64_t> bytes;
  for (const auto& f : Desc.ProductFiles) {
    if (!SelectedForInstall(f.File.Components, f.File.Condition)) continue;
    if (char drive = DriveOfPath(Vars.ExpandText(f.File.DestFolder))) bytes[drive] += f.File.Size;
  }
  return bytes;
}

uint64_t TSetupQueries::ComponentSize(const std::string& name) const {
  uint64_t total = 0;
  for (const auto& f : Desc.ProductFiles)
    if (ComponentListContains(f.File.Components, name) && EvaluateCondition(f.File.Condition, Vars))
      total += f.File.Size;
  return total;
}

bool TSetupQueries::ComponentHasEntries(const std::string& name) const {
  for (const auto& s : Desc.Shortcuts)
    if (ComponentListContains(s.Components, name) && EvaluateCondition(s.Condition, Vars)) return true;
  for (const auto& r : Desc.RegChanges)
    if (ComponentListContains(r.Components, name) && EvaluateCondition(r.Condition, Vars)) return true;
  return false;
}

bool TSetupQueries::FolderIsUnused(const std::string& folder) const {
  std::string prefix = WithTrailingBackslash(folder);
  for (const auto& f : Desc.ProductFiles)
    if (Selected(f.File.Components, f.File.Condition) && StartsWithIgnoringCase(f.File.DestFolder, prefix)) return false;
  return true;
}

bool TSetupQueries::ShortcutFolderIsUnused(const std::string& folder) const {
  std::string prefix = WithTrailingBackslash(folder);
  for (const auto& s : Desc.Shortcuts)
    if (Selected(s.Components, s.Condition) && StartsWithIgnoringCase(s.Folder, prefix)) return false;
  return true;
}

namespace {
std::vector<bool> NotHeld(const TFolderPrefixes& used, const std::vector<std::string>& folders) {
  std::vector<bool> unused;
  unused.reserve(folders.size());
  for (const auto& folder : folders) unused.push_back(!used.Holds(folder));
  return unused;
}
}  // namespace

std::vector<bool> TSetupQueries::UnusedFolders(const std::vector<std::string>& folders) const {
  TFolderPrefixes used;
  for (const auto& f : Desc.ProductFiles)
    if (Selected(f.File.Components, f.File.Condition)) used.AddDestination(f.File.DestFolder);
  return NotHeld(used, folders);
}

std::vector<bool> TSetupQueries::UnusedShortcutFolders(const std::vector<std::string>& folders) const {
  TFolderPrefixes used;
  for (const auto& s : Desc.Shortcuts)
    if (Selected(s.Components, s.Condition)) used.AddDestination(s.Folder);
  return NotHeld(used, folders);
}

std::string TSetupQueries::FindDestinationFolder(const std::string& fileName) const {
  for (const auto& f : Desc.ProductFiles)
    if (Selected(f.File.Components, f.File.Condition) &&
        CompareTextIgnoringCase(FileNamePart(f.File.SourceName), fileName) == 0)
      return f.File.DestFolder;
  return "%InstallDir%\\";
}

}  // namespace vnt
