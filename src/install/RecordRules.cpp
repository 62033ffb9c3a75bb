#include "install/RecordRules.h"

#include <algorithm>
#include <unordered_map>

#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "package/VarList.h"

namespace vnt {

namespace {

constexpr int RecordNameTries = 99;

bool IsFileKind(uint8_t kind) {
  return kind == UninstFile || kind == UninstDeviceFile || kind == UninstPlainFile || kind == UninstUninstaller;
}

std::string PathKey(const std::string& path) { return UpperCase(StripFolderBackslash(path)); }

// One text per thing, for finding the same thing among many items.
std::string Identity(const TUninstItem& item) {
  if (item.Kind == UninstRegValue) {
    const TSetupRegChange& r = *item.RegChange;
    return "5|" + std::to_string(r.Root) + "|" + UpperCase(r.Key) + "|" + UpperCase(r.ValueName);
  }
  return std::to_string(item.Kind) + "|" + PathKey(item.Path);
}

bool Under(const std::string& pathKey, const std::string& folderKey) {
  return pathKey.size() > folderKey.size() + 1 && pathKey.compare(0, folderKey.size(), folderKey) == 0 &&
         pathKey[folderKey.size()] == '\\';
}

}  // namespace

std::string RecordProductName(const TUninstallRecord& record) {
  return record.CompanyName + " " + record.SoftwareName;
}

std::string ChooseRecordPath(const std::string& installDir, const std::string& entryRecord,
                             const std::string& product,
                             const std::function<std::optional<std::string>(const std::string&)>& ownerAt) {
  auto usable = [&](const std::string& path) {
    std::optional<std::string> owner = ownerAt(path);
    return owner && (owner->empty() || SameTextIgnoringCase(*owner, product));
  };
  std::string folder = WithFolderBackslash(installDir);
  bool entryHere = !entryRecord.empty() && PathKey(FolderOfFile(entryRecord)) == PathKey(folder) &&
                   !FileNamePart(entryRecord).empty();
  if (entryHere && usable(entryRecord)) return entryRecord;
  for (int n = 1; n <= RecordNameTries; ++n) {
    std::string path = folder + (n == 1 ? std::string("uninst") : "uninst" + std::to_string(n)) + ".dat";
    if (usable(path)) return path;
  }
  return "";
}

bool SameRecordItem(const TUninstItem& a, const TUninstItem& b) { return Identity(a) == Identity(b); }

std::vector<TUninstItem> MergeRecordItems(const std::vector<TUninstItem>& earlier,
                                          const std::vector<TUninstItem>& current) {
  TItemMerge merge(earlier.size() + current.size());
  merge.Take(earlier);
  merge.Take(current);
  return std::move(merge).Items();
}

TItemMerge::TItemMerge(size_t expected) {
  Merged.reserve(expected);
  At.reserve(expected);
}

void TItemMerge::Take(TUninstItem item) {
  std::string identity = Identity(item);
  size_t hash = std::hash<std::string>{}(identity);
  for (auto [it, end] = At.equal_range(hash); it != end; ++it) {
    if (Identity(Merged[it->second]) != identity) continue;
    Merged[it->second] = std::move(item);
    return;
  }
  At.emplace(hash, Merged.size());
  Merged.push_back(std::move(item));
}

void TItemMerge::Take(const std::vector<TUninstItem>& items) {
  for (const auto& item : items) Take(item);
}

bool CountsSharedFile(const std::vector<TUninstItem>& items, const std::string& path) {
  return std::any_of(items.begin(), items.end(), [&](const TUninstItem& item) {
    return item.Kind == UninstFile && item.File->Shared && PathKey(item.Path) == PathKey(path);
  });
}

bool CountsUninstaller(const std::vector<TUninstItem>& items, const std::string& path) {
  return std::any_of(items.begin(), items.end(), [&](const TUninstItem& item) {
    return item.Kind == UninstUninstaller && PathKey(item.Path) == PathKey(path);
  });
}

void TOtherProducts::AddFile(const std::string& path) { Paths.insert(PathKey(path)); }

void TOtherProducts::Add(const std::vector<TUninstItem>& items) {
  for (const auto& item : items) {
    if (IsFileKind(item.Kind)) AddFile(item.Path);
    if (item.Kind == UninstFolder) {
      Paths.insert(PathKey(item.Path));
      Folders.insert(PathKey(item.Path));
    }
  }
}

bool TOtherProducts::Needs(const TUninstItem& item) const {
  std::string key = PathKey(item.Path);
  if (IsFileKind(item.Kind)) return Paths.count(key) > 0;
  if (item.Kind != UninstFolder) return false;
  if (Paths.count(key)) return true;
  // Paths under the folder sort right after its name and a backslash.
  auto prefix = Paths.lower_bound(key + "\\");
  return prefix != Paths.end() && Under(*prefix, key);
}

std::vector<std::string> TOtherProducts::SharedFolders(const std::vector<TUninstItem>& items) const {
  std::vector<std::string> shared;
  std::set<std::string> taken;  // their keys
  for (const auto& item : items) {
    if (!IsFileKind(item.Kind) && item.Kind != UninstFolder) continue;
    std::string path = StripFolderBackslash(item.Path);
    // Each folder above the item, as the item spells it.
    for (size_t cut = path.find_last_of('\\'); cut != std::string::npos && cut > 0; cut = path.find_last_of('\\', cut - 1)) {
      std::string folder = path.substr(0, cut);
      std::string key = PathKey(folder);
      if (Folders.count(key) && taken.insert(key).second) shared.push_back(folder);
    }
  }
  std::stable_sort(shared.begin(), shared.end(),
                   [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  return shared;
}

}  // namespace vnt
