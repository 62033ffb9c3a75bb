#include "install/win32/ProductRemoval.h"

#include "install/win32/RemovalSystem.h"
#include "package/SetupStrings.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/RegistryText.h"

namespace vnt {

namespace {

// The record's items in the order they go: what the product made, then the entry's values
// and the record itself, then the folders, which the record lies in.
struct TRecordParts {
  std::vector<TUninstItem> Made, Folders, Last;
};

TRecordParts Split(const std::vector<TUninstItem>& items, const std::string& recordPath, const TProductEntry& entry) {
  TRecordParts parts;
  const TUninstItem record{UninstPlainFile, recordPath, {}, {}};
  for (const auto& item : items) {
    bool isRecord = SameRecordItem(item, record);
    bool isEntryValue = item.Kind == UninstRegValue && RootKey(item.RegChange->Root) == entry.Root &&
                        SameTextIgnoringCase(item.RegChange->Key, entry.Key);
    // The uninstaller goes only when nothing of the product is left: a product that stays in
    // part needs it to be removed later.
    if (isRecord || isEntryValue || item.Kind == UninstUninstaller) parts.Last.push_back(item);
    else if (item.Kind == UninstFolder) parts.Folders.push_back(item);
    else parts.Made.push_back(item);
  }
  return parts;
}

void Add(TProductRemoval& to, const TRemovalResult& result) {
  to.NotRemoved.insert(to.NotRemoved.end(), result.NotRemoved.begin(), result.NotRemoved.end());
  to.Scheduled.insert(to.Scheduled.end(), result.Scheduled.begin(), result.Scheduled.end());
  to.Kept.insert(to.Kept.end(), result.Kept.begin(), result.Kept.end());
}

void DeleteDigest(const TProductEntry& entry) {
  if (TRegKeyHandle key = OpenKey(entry.Root, entry.Key, KEY_SET_VALUE)) RegDeleteValueA(key.Get(), RecordDigestValue);
}

}  // namespace

TProductRemoval RemoveProduct(TUninstallRecord& record, const std::string& recordPath, const TProductEntry& entry,
                              TSetupVariables& vars, const std::string& conduitLabel, TProductRemovalPrompts prompts) {
  TRemovalRequest request;
  request.Removed = record.InstalledComponents;
  request.WholeProduct = true;
  request.DropFromItems = true;
  request.ScheduleInUse = true;
  request.Texts = record.Messages;
  request.ConduitLabel = conduitLabel;
  request.RunningUninstaller = prompts.RunningUninstaller;
  TOtherProducts others = OtherProductsBeside(recordPath, entry.Name);
  request.Others = &others;
  auto ask = [&](int position, const std::string& path) {
    std::string text = ReplacePlaceholder(vars.ExpandText(record.Messages[size_t(position - 1)]), "<file>", path);
    return prompts.Ask ? prompts.Ask(text, path) : TReplaceAnswer::No;
  };
  TRecordParts parts = Split(record.Items, recordPath, entry);
  TProductRemoval outcome;
  TRemovalResult made = RemoveInstalledItems(parts.Made, request, MachineRemovalSystem(ask, prompts.Progress));
  outcome.Completed = made.Completed;
  Add(outcome, made);
  // What stays on purpose (used by another product, kept by the user) keeps its folders.
  for (const auto& path : made.Kept) others.AddFile(path);
  if (!made.Completed || !parts.Made.empty()) {
    // Something of the product stays: the record keeps it, and the entry its digest.
    outcome.ProductLeft = true;
    record.Items = parts.Made;
    record.Items.insert(record.Items.end(), parts.Folders.begin(), parts.Folders.end());
    record.Items.insert(record.Items.end(), parts.Last.begin(), parts.Last.end());
    std::string bytes = WriteUninstallRecord(record);
    if (ReplaceRecordFile(recordPath, bytes)) StoreRecordDigest(entry, bytes);
    return outcome;
  }
  // The folders go after the record that lies in one of them; one that holds what is not
  // the product's (the user's own files) stays, and is listed.
  DeleteDigest(entry);
  TRemovalSystem quiet = MachineRemovalSystem(nullptr, nullptr);
  request.Scheduled = made.Scheduled;
  TRemovalResult last = RemoveInstalledItems(parts.Last, request, quiet);
  outcome.UninstallerToDelete = last.UninstallerToDelete;
  Add(outcome, last);
  request.Scheduled.insert(request.Scheduled.end(), last.Scheduled.begin(), last.Scheduled.end());
  Add(outcome, RemoveInstalledItems(parts.Folders, request, quiet));
  record.Items.clear();
  return outcome;
}

}  // namespace vnt
