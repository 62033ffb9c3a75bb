#include "install/RemoveItems.h"

#include "install/InstallRules.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"

namespace vnt {

namespace {

constexpr int NoQuestion = 0, SharedQuestion = UtSharedQuestion + 1, TypeLibQuestion = UtTypeLibQuestion + 1,
              ServerQuestion = UtActiveXQuestion + 1;

int QuestionFor(const TSetupFile& f) {
  if (f.Shared) return SharedQuestion;
  if (f.TypeLibrary) return TypeLibQuestion;
  if (f.RegisterServer || f.RegisterServer2) return ServerQuestion;
  return NoQuestion;
}

const std::string& ComponentsOf(const TUninstItem& item) {
  return item.Kind == UninstRegValue ? item.RegChange->Components : item.File->Components;
}

class TRemoval {
public:
  TRemoval(std::vector<TUninstItem>& items, const TRemovalRequest& request, const TRemovalSystem& system)
      : Items(items), Request(request), System(system), Gone(items.size(), false), ScheduledPaths(request.Scheduled) {}

  TRemovalResult Run() {
    TRemovalResult result;
    bool completed = Report(0) && RemoveFiles() && RemoveFolders() && RemoveValues();
    if (completed) {
      RemoveEmptyKeys();
      if (Request.DropFromItems) DropGone();
      completed = Report(Items.size());
    }
    result.Completed = completed;
    result.NotRemoved = std::move(NotRemoved);
    result.Scheduled = std::move(Scheduled);
    result.Kept = std::move(Kept);
    result.UninstallerToDelete = std::move(UninstallerToDelete);
    return result;
  }

private:
  bool Takes(const TUninstItem& item) const {
    return RemovalTakesItem(ComponentsOf(item), Request.Removed, Request.Kept, Request.WholeProduct);
  }

  bool Report(size_t done) { return !System.Progress || System.Progress(std::min(done, Items.size()), Items.size()); }
  bool Step() { return Report(++Done); }

  // Whether the user lets the file go; answers for all files count per question.
  bool MayDelete(int question, const std::string& path) {
    if (question == NoQuestion) return true;
    uint8_t& forAll = ForAll[size_t(question - SharedQuestion)];
    if (forAll) return forAll == 1;
    TReplaceAnswer answer = System.Ask ? System.Ask(question, path) : TReplaceAnswer::No;
    if (answer == TReplaceAnswer::YesToAll) forAll = 1;
    if (answer == TReplaceAnswer::NoToAll) forAll = 2;
    return answer == TReplaceAnswer::Yes || answer == TReplaceAnswer::YesToAll;
  }

  bool NeededByOthers(const TUninstItem& item) const { return Request.Others && Request.Others->Needs(item); }

  // A file left in place on purpose; done with when the product no longer names it.
  void Keep(size_t i, bool doneWith) {
    Kept.push_back(Items[i].Path);
    Gone[i] = doneWith;
  }

  // Only what is really gone, or goes at the next start, leaves the record: what stays can be
  // tried again later.
  void DeleteGone(size_t i) {
    const std::string& path = Items[i].Path;
    if (System.RemoveFile(path) || Schedule(path, path)) Gone[i] = true;
    else NotRemoved.push_back(path);
  }

  bool Schedule(const std::string& path, const std::string& shown) {
    if (!Request.ScheduleInUse || !System.ScheduleRemoval || !System.ScheduleRemoval(path)) return false;
    Scheduled.push_back(shown);
    ScheduledPaths.push_back(path);
    return true;
  }

  // A folder that holds only what goes at the next start goes after it.
  bool ScheduleFolder(const std::string& folder) {
    return Request.ScheduleInUse && System.FolderHoldsOnly && System.FolderHoldsOnly(folder, ScheduledPaths) &&
           Schedule(folder, WithFolderBackslash(folder));
  }

  void RemoveInstalledFile(size_t i) {
    const TUninstItem& item = Items[i];
    const TSetupFile& f = *item.File;
    // A shared file that other products still use stays without a question: this product is
    // done with it all the same.
    if ((f.Shared && System.ReleaseSharedCount && System.ReleaseSharedCount(item.Path) > 0) || NeededByOthers(item))
      return Keep(i, true);
    // Kept: still recorded when components go; the whole product is done with it all the same.
    if (!MayDelete(QuestionFor(f), item.Path)) return Keep(i, Request.WholeProduct);
    if (f.TypeLibrary && System.UnregisterTypeLibrary) System.UnregisterTypeLibrary(item.Path);
    if ((f.RegisterServer || f.RegisterServer2) && System.UnregisterServer) System.UnregisterServer(item.Path);
    if (f.Font && System.RemoveFont) System.RemoveFont(f, item.Path);
    DeleteGone(i);
  }

  // The uninstaller every product shares is counted like a shared file and goes with the last
  // product that used it; one without a count (set up before it was counted) stays.
  void RemoveUninstaller(size_t i) {
    const std::string& path = Items[i].Path;
    if (!System.HasSharedCount || !System.HasSharedCount(path) || !System.ReleaseSharedCount ||
        System.ReleaseSharedCount(path) > 0)
      return Keep(i, true);
    if (!Request.RunningUninstaller.empty() && SameTextIgnoringCase(path, Request.RunningUninstaller)) {
      UninstallerToDelete = path;
      Gone[i] = true;
      return;
    }
    DeleteGone(i);
  }

  bool RemoveFiles() {
    for (size_t i = 0; i < Items.size(); ++i) {
      const TUninstItem& item = Items[i];
      if (item.Kind == UninstPlainFile && Request.WholeProduct) {
        if (NeededByOthers(item)) Keep(i, true);
        else DeleteGone(i);
      } else if ((item.Kind == UninstFile || item.Kind == UninstDeviceFile) && Takes(item)) {
        RemoveInstalledFile(i);
      } else if (item.Kind == UninstUninstaller && Request.WholeProduct) {
        RemoveUninstaller(i);
      } else if (item.Kind == UninstConduit && Takes(item)) {
        if (System.UnregisterConduit && System.UnregisterConduit(item.Path)) Gone[i] = true;
        else NotRemoved.push_back(Request.ConduitLabel + " " + item.Path);
      } else {
        if (Request.WholeProduct && item.Kind > UninstConduit) Gone[i] = true;
        continue;
      }
      if (!Step()) return false;
    }
    return true;
  }

  bool RemoveFolders() {
    for (size_t i = Items.size(); i-- > 0;) {
      const TUninstItem& item = Items[i];
      if (item.Kind != UninstFolder) continue;
      if (Request.WholeProduct || System.FolderEmpty(item.Path)) {
        // What another product keeps in it makes the folder that product's to remove.
        if (System.RemoveFolder(item.Path) || NeededByOthers(item) || ScheduleFolder(item.Path)) Gone[i] = true;
        else NotRemoved.push_back(WithFolderBackslash(item.Path));
      }
      if (!Step()) return false;
    }
    return true;
  }

  std::string KeyLine(const TSetupRegChange& r, const std::string& key) const {
    return Request.Texts[UtKey] + " " + RegistryRootName(r.Root) + "\\" + key;
  }

  bool RemoveValues() {
    for (size_t i = 0; i < Items.size(); ++i) {
      const TUninstItem& item = Items[i];
      if (item.Kind != UninstRegValue || !Takes(item)) continue;
      if (System.DeleteValue(*item.RegChange)) Gone[i] = true;
      else
        NotRemoved.push_back(KeyLine(*item.RegChange, item.RegChange->Key) + "    " + Request.Texts[UtValue] + " " +
                             item.RegChange->ValueName);
      if (!Step()) return false;
    }
    return true;
  }

  void RemoveEmptyKeys() {
    for (size_t i = 0; i < Items.size(); ++i) {
      const TUninstItem& item = Items[i];
      if (item.Kind != UninstRegValue || !Takes(item)) continue;
      for (const std::string& key : KeyAndParents(item.RegChange->Key))
        if (!IsSharedSystemKey(key) && !System.DeleteKeyIfEmpty(item.RegChange->Root, key))
          NotRemoved.push_back(KeyLine(*item.RegChange, key));
    }
  }

  void DropGone() {
    for (size_t i = Items.size(); i-- > 0;)
      if (Gone[i]) Items.erase(Items.begin() + std::ptrdiff_t(i));
  }

  std::vector<TUninstItem>& Items;
  const TRemovalRequest& Request;
  const TRemovalSystem& System;
  std::vector<bool> Gone;
  std::vector<std::string> ScheduledPaths;
  std::vector<std::string> NotRemoved, Scheduled, Kept;
  std::string UninstallerToDelete;
  std::array<uint8_t, 3> ForAll{};
  size_t Done = 0;
};

}  // namespace

TRemovalResult RemoveInstalledItems(std::vector<TUninstItem>& items, const TRemovalRequest& request,
                                    const TRemovalSystem& system) {
  return TRemoval(items, request, system).Run();
}

}  // namespace vnt
