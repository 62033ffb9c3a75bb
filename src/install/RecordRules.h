// What a product's uninstall record holds when the product is set up again, and where it
// goes when another product shares the folder: the name of its record, the items of two runs
// merged, and what the other products in the folder still name.
#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "install/UninstallData.h"

namespace vnt {

// The product a record belongs to, as its Add/Remove Programs key is named: the company,
// a blank, the software name.
std::string RecordProductName(const TUninstallRecord& record);

// The record a product writes in its install folder. What stands at a path comes from
// ownerAt: the product name of the record there, "" when nothing is there, nothing for a
// file that is no readable record (never overwritten). The record the entry names stays the
// record when it lies in this folder and is free or the product's own; otherwise
// "uninst.dat", "uninst2.dat", "uninst3.dat", ... the first that is free or the product's own.
// Empty when none of the first 99 names is.
std::string ChooseRecordPath(const std::string& installDir, const std::string& entryRecord,
                             const std::string& product,
                             const std::function<std::optional<std::string>(const std::string&)>& ownerAt);

// Whether two items are the same thing: a file, folder or conduit of the same kind and path,
// a value of the same root, key and name (letter case aside).
bool SameRecordItem(const TUninstItem& a, const TUninstItem& b);

// The items of a product run again: the earlier items, each taken over by this run's item of
// the same thing, then this run's items that are new, each thing once.
std::vector<TUninstItem> MergeRecordItems(const std::vector<TUninstItem>& earlier,
                                          const std::vector<TUninstItem>& current);

// The same merge taken a part at a time, so that a run's record is made without a copy of
// its items first: each thing once, a later item taking the place of the same thing before.
class TItemMerge {
public:
  // expected: how many items will come, at most; the list is made at that size.
  explicit TItemMerge(size_t expected);
  void Take(TUninstItem item);
  void Take(const std::vector<TUninstItem>& items);
  std::vector<TUninstItem> Items() && { return std::move(Merged); }

private:
  std::vector<TUninstItem> Merged;
  // The hash of an item's identity and its place: a few bytes an item, not the identity's text.
  std::unordered_multimap<size_t, size_t> At;
};

// Whether the items hold path as a shared file: the product has counted it already.
bool CountsSharedFile(const std::vector<TUninstItem>& items, const std::string& path);
// Whether the items hold the shared uninstaller at path: the product counted it already.
bool CountsUninstaller(const std::vector<TUninstItem>& items, const std::string& path);

// What other products still need: the files and folders their records name, and files a
// removal left in place for them.
class TOtherProducts {
public:
  void Add(const std::vector<TUninstItem>& items);
  void AddFile(const std::string& path);
  // A file another product names, or a folder another product names or holds something in.
  bool Needs(const TUninstItem& item) const;
  bool Empty() const { return Paths.empty(); }
  // The folders another product names that hold one of the items: this product uses them too,
  // so the one removed last takes them. Parents first.
  std::vector<std::string> SharedFolders(const std::vector<TUninstItem>& items) const;

private:
  std::set<std::string> Paths;    // upper case
  std::set<std::string> Folders;  // upper case, folders named as folders
};

}  // namespace vnt
