#include "install/Rollback.h"

#include <map>
#include <set>
#include <tuple>

#include "package/VarList.h"

namespace vnt {

namespace {

using TPathSet = std::set<std::string>;

std::string Key(const std::string& path) { return UpperCase(path); }

bool In(const TPathSet& set, const std::string& path) { return set.count(Key(path)) > 0; }

struct TRunFacts {
  TPathSet Replaced;    // files that stood there before the run first wrote them
  TPathSet New;         // files the run brought where none stood
  TPathSet Recorded;    // files the run recorded as made
  TPathSet Registered;  // made files whose registrations were done
  TPathSet Counted;     // made files whose shared count the run raised
  std::set<std::tuple<uint8_t, std::string, std::string>> OldValues;  // values that were there before
};

TRunFacts FactsOf(const TJournal& journal) {
  TRunFacts f;
  std::map<std::string, bool> first;  // whether a file stood there when the run first wrote it
  for (const auto& e : journal.Entries) {
    if (e.Kind == TJournalKind::Writing) first.emplace(Key(e.Path), e.Existed);
    if (e.Kind == TJournalKind::Made) f.Recorded.insert(Key(e.Item.Path));
    if (e.Kind == TJournalKind::Registered) f.Registered.insert(Key(e.Path));
    if (e.Kind == TJournalKind::SharedCounted) f.Counted.insert(Key(e.Path));
    if (e.Kind == TJournalKind::OldValue && e.Existed) f.OldValues.insert({e.Root, Key(e.Key), Key(e.Name)});
  }
  for (const auto& [path, existed] : first) (existed ? f.Replaced : f.New).insert(path);
  return f;
}

bool IsFile(const TUninstItem& item) {
  return item.Kind == UninstFile || item.Kind == UninstDeviceFile || item.Kind == UninstPlainFile ||
         item.Kind == UninstUninstaller;
}

// The made items the removal takes: not the folders (they go last), not files that replaced
// another (they are moved back), not values that were there before (they are written back).
std::vector<TUninstItem> ItemsToRemove(const TJournal& journal, const TRunFacts& f) {
  std::vector<TUninstItem> items;
  for (const auto& e : journal.Entries) {
    if (e.Kind != TJournalKind::Made || e.Item.Kind == UninstFolder) continue;
    const TUninstItem& item = e.Item;
    if (IsFile(item) && In(f.Replaced, item.Path)) continue;
    const TSetupRegChange& r = *item.RegChange;
    if (item.Kind == UninstRegValue && f.OldValues.count({r.Root, Key(r.Key), Key(r.ValueName)})) continue;
    items.push_back(item);
  }
  return items;
}

// The removal of the run's own items: no questions, and registrations undone only where the
// run made them.
TRemovalSystem RunRemoval(const TRemovalSystem& machine, const TRunFacts& f) {
  TRemovalSystem s = machine;
  s.Ask = [](int, const std::string&) { return TReplaceAnswer::Yes; };
  // An undo is never stopped half-way.
  s.Progress = [progress = machine.Progress](size_t done, size_t total) {
    if (progress) progress(done, total);
    return true;
  };
  auto registered = [&f](const std::string& path) { return In(f.Registered, path); };
  s.ReleaseSharedCount = [machine, &f](const std::string& path) -> int64_t {
    return In(f.Counted, path) && machine.ReleaseSharedCount ? machine.ReleaseSharedCount(path) : 0;
  };
  s.UnregisterTypeLibrary = [machine, registered](const std::string& path) {
    if (registered(path) && machine.UnregisterTypeLibrary) machine.UnregisterTypeLibrary(path);
  };
  s.UnregisterServer = [machine, registered](const std::string& path) {
    if (registered(path) && machine.UnregisterServer) machine.UnregisterServer(path);
  };
  s.RemoveFont = [machine, registered](const TSetupFile& file, const std::string& path) {
    if (registered(path) && machine.RemoveFont) machine.RemoveFont(file, path);
  };
  return s;
}

const TUninstItem* MadeItem(const TJournal& journal, const std::string& path) {
  for (const auto& e : journal.Entries)
    if (e.Kind == TJournalKind::Made && Key(e.Item.Path) == Key(path)) return &e.Item;
  return nullptr;
}

void DeleteLeftovers(const TJournal& journal, const TRunFacts& f, const TRollbackSystem& system) {
  for (const auto& e : journal.Entries) {
    if (e.Kind != TJournalKind::Writing) continue;
    if (!e.Other.empty()) system.DeleteIfThere(e.Other);
    // Written new but killed before it was recorded: nobody else's file stands there.
    if (!e.Existed && !In(f.Recorded, e.Path)) system.DeleteIfThere(e.Path);
  }
  // The removal keeps the shared uninstaller; this run brought it, so it goes.
  for (const auto& e : journal.Entries)
    if (e.Kind == TJournalKind::Made && e.Item.Kind == UninstUninstaller && !In(f.Replaced, e.Item.Path))
      system.DeleteIfThere(e.Item.Path);
}

void RestoreEarlierState(const TJournal& journal, const TRunFacts& f, const TRollbackSystem& system) {
  for (auto it = journal.Entries.rbegin(); it != journal.Entries.rend(); ++it) {
    const TJournalEntry& e = *it;
    switch (e.Kind) {
      case TJournalKind::MovedAside:
        // A file the run wrote twice: its first version is the run's too.
        if (In(f.New, e.Path)) system.DeleteIfThere(e.Other);
        else system.MoveBack(e.Other, e.Path);
        break;
      case TJournalKind::OldValue: system.RestoreValue(e); break;
      case TJournalKind::Unregistered: system.Register(e.Op, e.Item); break;
      case TJournalKind::FolderRemoved: system.MakeFolder(e.Path); break;
      case TJournalKind::SharedCounted:
        // The run counted a replaced shared file once more; the old file takes the count back.
        if (In(f.Replaced, e.Path) && system.Removal.ReleaseSharedCount) system.Removal.ReleaseSharedCount(e.Path);
        break;
      default: break;
    }
  }
  // The file back in place registers itself as it did before the run replaced it.
  for (const auto& e : journal.Entries) {
    if (e.Kind != TJournalKind::Registered || !In(f.Replaced, e.Path)) continue;
    const TUninstItem* item = MadeItem(journal, e.Path);
    if (!item) continue;
    if (item->File->TypeLibrary) system.Register(TRegistration::TypeLibrary, *item);
    if (item->File->RegisterServer || item->File->RegisterServer2) system.Register(TRegistration::Server, *item);
  }
}

std::vector<std::string> RemoveMadeFolders(const TJournal& journal, const TRollbackSystem& system) {
  std::vector<std::string> left;
  for (auto it = journal.Entries.rbegin(); it != journal.Entries.rend(); ++it) {
    if (it->Kind != TJournalKind::Made || it->Item.Kind != UninstFolder) continue;
    const std::string& folder = it->Item.Path;
    if (!system.Removal.Exists(folder)) continue;
    if (system.Removal.FolderEmpty(folder)) system.Removal.RemoveFolder(folder);
    if (system.Removal.Exists(folder)) left.push_back(folder + "\\");
  }
  return left;
}

}  // namespace

std::vector<std::string> RollBack(const TJournal& journal, const TRollbackSystem& system) {
  TRunFacts facts = FactsOf(journal);
  DeleteLeftovers(journal, facts, system);
  std::vector<TUninstItem> items = ItemsToRemove(journal, facts);
  TRemovalRequest request;
  request.WholeProduct = true;
  TRemovalResult removed = RemoveInstalledItems(items, request, RunRemoval(system.Removal, facts));
  RestoreEarlierState(journal, facts, system);
  if (system.DropJournal) system.DropJournal();
  std::vector<std::string> left = std::move(removed.NotRemoved);
  std::vector<std::string> folders = RemoveMadeFolders(journal, system);
  left.insert(left.end(), folders.begin(), folders.end());
  return left;
}

}  // namespace vnt
