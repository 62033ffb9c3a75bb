#include <gtest/gtest.h>

#include <map>
#include <set>

#include "install/RemoveItems.h"
#include "package/SetupStrings.h"

using namespace vnt;

namespace {

// A machine of files, folders and registry values, and what was done to it.
struct TFakeMachine {
  std::set<std::string> Files, Folders, Locked, Unschedulable;
  std::set<std::string> Values;  // "root|key|name"
  std::set<std::string> Keys;    // "root|key"
  std::vector<std::string> Done, Asked;
  std::map<int, TReplaceAnswer> Answers;
  std::map<std::string, int64_t> SharedUsers;  // users left after a release
  std::set<std::string> Counted;               // files with a shared count
  size_t StopAt = SIZE_MAX;

  TRemovalSystem System() {
    TRemovalSystem s;
    s.RemoveFile = [this](const std::string& p) {
      if (!Locked.count(p)) Files.erase(p);
      return !Files.count(p);
    };
    s.Exists = [this](const std::string& p) { return Files.count(p) || Folders.count(p); };
    s.FolderEmpty = [this](const std::string& f) { return FolderEmpty(f); };
    s.RemoveFolder = [this](const std::string& f) {
      if (FolderEmpty(f)) Folders.erase(f);
      return !Folders.count(f);
    };
    s.ReleaseSharedCount = [this](const std::string& p) -> int64_t {
      Done.push_back("release " + p);
      return SharedUsers.count(p) ? SharedUsers[p] : 0;
    };
    s.HasSharedCount = [this](const std::string& p) { return Counted.count(p) > 0; };
    s.UnregisterTypeLibrary = [this](const std::string& p) { Done.push_back("typelib " + p); };
    s.UnregisterServer = [this](const std::string& p) { Done.push_back("server " + p); };
    s.UnregisterConduit = [](const std::string& creator) { return creator != "FAIL"; };
    s.DeleteValue = [this](const TSetupRegChange& r) {
      std::string v = std::to_string(r.Root) + "|" + r.Key + "|" + r.ValueName;
      if (r.ValueName == "locked") return false;
      Values.erase(v);
      return true;
    };
    s.DeleteKeyIfEmpty = [this](uint8_t root, const std::string& key) {
      std::string k = std::to_string(root) + "|" + key;
      for (const auto& v : Values) if (v.rfind(k + "|", 0) == 0) return true;   // has values: stays
      for (const auto& o : Keys) if (o != k && o.rfind(k + "\\", 0) == 0) return true;  // has subkeys
      Keys.erase(k);
      return true;
    };
    s.Ask = [this](int position, const std::string& path) {
      Asked.push_back(std::to_string(position) + " " + path);
      return Answers.count(position) ? Answers[position] : TReplaceAnswer::Yes;
    };
    s.Progress = [this](size_t done, size_t) { return done < StopAt; };
    s.ScheduleRemoval = [this](const std::string& p) {
      if (Unschedulable.count(p)) return false;
      Done.push_back("at restart " + p);
      return true;
    };
    s.FolderHoldsOnly = [this](const std::string& f, const std::vector<std::string>& paths) {
      std::set<std::string> allowed(paths.begin(), paths.end());
      for (const auto& p : Files) if (p.rfind(f + "\\", 0) == 0 && !allowed.count(p)) return false;
      return true;
    };
    return s;
  }
  bool FolderEmpty(const std::string& f) const {
    for (const auto& p : Files) if (p.rfind(f + "\\", 0) == 0) return false;
    for (const auto& p : Folders) if (p != f && p.rfind(f + "\\", 0) == 0) return false;
    return true;
  }
};

TUninstItem File(const std::string& path, const std::string& components, uint8_t shared = 0, uint8_t typelib = 0) {
  TUninstItem i;
  i.Kind = UninstFile;
  i.Path = path;
  TSetupFile& f = i.File.Edit();
  f.Components = components;
  f.Shared = shared;
  f.TypeLibrary = typelib;
  return i;
}
TUninstItem Folder(const std::string& path) {
  TUninstItem i;
  i.Kind = UninstFolder;
  i.Path = path;
  return i;
}
TUninstItem Value(const std::string& key, const std::string& name, const std::string& components) {
  TUninstItem i;
  i.Kind = UninstRegValue;
  i.RegChange = TSetupRegChange{1, key, 0, name, "x", 0, "", "", components, ""};
  return i;
}

TRemovalRequest Request(bool whole) {
  TRemovalRequest r;
  r.WholeProduct = whole;
  r.Texts = UninstallerMessages(DefaultMessages());
  return r;
}

}  // namespace

TEST(RemoveItems, MaintenanceTakesOnlyWhatNoKeptComponentNeeds) {
  TFakeMachine m;
  m.Files = {"C:\\App\\app.exe", "C:\\App\\Docs\\guide.pdf", "C:\\App\\common.dll", "C:\\App\\uninst.dat"};
  m.Folders = {"C:\\App", "C:\\App\\Docs"};
  m.Values = {"1|Software\\App\\Docs|Path", "1|Software\\App|Version"};
  m.Keys = {"1|Software", "1|Software\\App", "1|Software\\App\\Docs"};
  std::vector<TUninstItem> items = {Folder("C:\\App"), Folder("C:\\App\\Docs"), File("C:\\App\\app.exe", "Program"),
                                    File("C:\\App\\Docs\\guide.pdf", "Docs"), File("C:\\App\\common.dll", "Program|Docs", 1),
                                    Value("Software\\App\\Docs", "Path", "Docs"), Value("Software\\App", "Version", "Program")};
  items.push_back(items[0]);
  items.back().Kind = UninstPlainFile;
  items.back().Path = "C:\\App\\uninst.dat";
  TRemovalRequest r = Request(false);
  r.Removed = "Docs";
  r.Kept = "Program";
  r.DropFromItems = true;
  TRemovalResult result = RemoveInstalledItems(items, r, m.System());
  EXPECT_TRUE(result.Completed);
  EXPECT_TRUE(result.NotRemoved.empty());
  EXPECT_EQ(m.Files, (std::set<std::string>{"C:\\App\\app.exe", "C:\\App\\common.dll", "C:\\App\\uninst.dat"}));
  EXPECT_EQ(m.Folders, std::set<std::string>{"C:\\App"});  // not empty: stays
  EXPECT_EQ(m.Values, std::set<std::string>{"1|Software\\App|Version"});
  EXPECT_EQ(m.Keys, (std::set<std::string>{"1|Software", "1|Software\\App"}));
  EXPECT_TRUE(m.Asked.empty());  // the shared file was not the removal's
  std::vector<std::string> left;
  for (const auto& i : items) left.push_back(i.Path.empty() ? i.RegChange->ValueName : i.Path);
  EXPECT_EQ(left, (std::vector<std::string>{"C:\\App", "C:\\App\\app.exe", "C:\\App\\common.dll", "Version",
                                            "C:\\App\\uninst.dat"}));
}

TEST(RemoveItems, WholeProductAsksPerKindOfFileAndListsWhatStays) {
  TFakeMachine m;
  m.Files = {"C:\\App\\a.dll", "C:\\App\\b.dll", "C:\\App\\t.tlb", "C:\\App\\u.tlb", "C:\\App\\busy.exe", "C:\\App\\x.ico"};
  m.Locked = {"C:\\App\\busy.exe"};
  m.Folders = {"C:\\App"};
  m.Values = {"2|Software\\App|locked"};
  m.Answers = {{6, TReplaceAnswer::No}, {7, TReplaceAnswer::YesToAll}};
  m.SharedUsers = {{"C:\\App\\b.dll", 1}};  // another product still uses it
  std::vector<TUninstItem> items = {Folder("C:\\App"), File("C:\\App\\a.dll", "P", 1), File("C:\\App\\b.dll", "P", 1),
                                    File("C:\\App\\t.tlb", "P", 0, 1), File("C:\\App\\u.tlb", "P", 0, 1),
                                    File("C:\\App\\busy.exe", ""), Value("Software\\App", "locked", "")};
  items.back().RegChange.Edit().Root = 2;
  TUninstItem icon;
  icon.Kind = UninstPlainFile;
  icon.Path = "C:\\App\\x.ico";
  TUninstItem conduit;
  conduit.Kind = UninstConduit;
  conduit.Path = "FAIL";
  items.push_back(icon);
  items.push_back(conduit);
  TRemovalResult result = RemoveInstalledItems(items, Request(true), m.System());
  EXPECT_TRUE(result.Completed);
  EXPECT_EQ(m.Asked, (std::vector<std::string>{"6 C:\\App\\a.dll", "7 C:\\App\\t.tlb"}));
  EXPECT_EQ(m.Files, (std::set<std::string>{"C:\\App\\a.dll", "C:\\App\\b.dll", "C:\\App\\busy.exe"}));
  EXPECT_EQ(m.Done, (std::vector<std::string>{"release C:\\App\\a.dll", "release C:\\App\\b.dll",
                                              "typelib C:\\App\\t.tlb", "typelib C:\\App\\u.tlb"}));
  EXPECT_EQ(result.NotRemoved,
            (std::vector<std::string>{"C:\\App\\busy.exe", "Conduit: FAIL", "C:\\App\\",
                                      "Key: HKEY_LOCAL_MACHINE\\Software\\App    Value: locked"}));
  EXPECT_EQ(items.size(), 9u);  // a whole removal keeps its list
}

TEST(RemoveItems, ProgressCanStopTheRemoval) {
  TFakeMachine m;
  m.Files = {"C:\\a", "C:\\b"};
  std::vector<TUninstItem> items = {File("C:\\a", ""), File("C:\\b", "")};
  m.StopAt = 1;
  TRemovalResult result = RemoveInstalledItems(items, Request(true), m.System());
  EXPECT_FALSE(result.Completed);
  EXPECT_EQ(m.Files, std::set<std::string>{"C:\\b"});
  std::vector<TUninstItem> none;
  EXPECT_TRUE(RemoveInstalledItems(none, Request(true), TFakeMachine{}.System()).Completed);
}

// A product removed for good: what is in use goes at the next start (its folder after it),
// what can go neither now nor then stays listed and recorded, what another product's record
// names stays in place, and a file the user keeps is no longer the product's.
TEST(RemoveItems, WholeProductSchedulesWhatIsInUseAndLeavesOtherProductsTheirs) {
  TFakeMachine m;
  m.Files = {"C:\\App\\Bin\\busy.exe", "C:\\App\\stuck.txt", "C:\\App\\theirs.dll", "C:\\App\\kept.dll",
             "C:\\App\\Both\\b.txt"};
  m.Folders = {"C:\\App", "C:\\App\\Bin", "C:\\App\\Both"};
  m.Locked = {"C:\\App\\Bin\\busy.exe", "C:\\App\\stuck.txt"};
  m.Unschedulable = {"C:\\App\\stuck.txt"};
  m.Answers = {{6, TReplaceAnswer::No}};
  std::vector<TUninstItem> items = {Folder("C:\\App"),           Folder("C:\\App\\Bin"),        Folder("C:\\App\\Both"),
                                    File("C:\\App\\Bin\\busy.exe", ""), File("C:\\App\\stuck.txt", ""),
                                    File("C:\\App\\theirs.dll", ""), File("C:\\App\\kept.dll", "", 1)};
  items.push_back(File("C:\\Win\\vntuninst.exe", ""));
  items.back().Kind = UninstUninstaller;  // shared, and without a count: stays
  m.Files.insert("C:\\Win\\vntuninst.exe");
  TOtherProducts others;
  others.Add({File("C:\\APP\\THEIRS.DLL", ""), File("C:\\App\\Both\\b.txt", "")});
  TRemovalRequest r = Request(true);
  r.DropFromItems = true;
  r.ScheduleInUse = true;
  r.Others = &others;
  TRemovalResult result = RemoveInstalledItems(items, r, m.System());
  EXPECT_TRUE(result.Completed);
  EXPECT_EQ(result.Scheduled, (std::vector<std::string>{"C:\\App\\Bin\\busy.exe", "C:\\App\\Bin\\"}));
  // The folders hold what the other product names: theirs to remove.
  EXPECT_EQ(result.NotRemoved, std::vector<std::string>{"C:\\App\\stuck.txt"});
  EXPECT_EQ(result.Kept,
            (std::vector<std::string>{"C:\\App\\theirs.dll", "C:\\App\\kept.dll", "C:\\Win\\vntuninst.exe"}));
  EXPECT_EQ(m.Files, (std::set<std::string>{"C:\\App\\Bin\\busy.exe", "C:\\App\\stuck.txt", "C:\\App\\theirs.dll",
                                            "C:\\App\\kept.dll", "C:\\App\\Both\\b.txt", "C:\\Win\\vntuninst.exe"}));
  std::vector<std::string> left;
  for (const auto& i : items) left.push_back(i.Path);
  EXPECT_EQ(left, std::vector<std::string>{"C:\\App\\stuck.txt"});
}

// The uninstaller every product shares goes with the last one counted: deleted when the
// removal runs elsewhere, handed to its caller when the removal runs in it.
TEST(RemoveItems, TheSharedUninstallerGoesWithItsLastUser) {
  const std::string path = "C:\\Win\\vntuninst.exe";
  auto remove = [&](int64_t usersLeft, const std::string& running, TFakeMachine& m) {
    m.Files = {path};
    m.Counted = {path};
    m.SharedUsers = {{path, usersLeft}};
    std::vector<TUninstItem> items = {File(path, "")};
    items.back().Kind = UninstUninstaller;
    TRemovalRequest r = Request(true);
    r.RunningUninstaller = running;
    return RemoveInstalledItems(items, r, m.System());
  };
  TFakeMachine stays;
  TRemovalResult kept = remove(1, path, stays);
  EXPECT_EQ(kept.Kept, std::vector<std::string>{path});
  EXPECT_EQ(kept.UninstallerToDelete, "");
  EXPECT_EQ(stays.Files, std::set<std::string>{path});
  TFakeMachine elsewhere;
  EXPECT_EQ(remove(0, "", elsewhere).UninstallerToDelete, "");
  EXPECT_TRUE(elsewhere.Files.empty());
  TFakeMachine running;
  EXPECT_EQ(remove(0, "c:\\win\\VNTUNINST.EXE", running).UninstallerToDelete, path);
  EXPECT_EQ(running.Files, std::set<std::string>{path});  // not while it runs
  // A component removal never takes it.
  TFakeMachine partial;
  partial.Files = {path};
  partial.Counted = {path};
  std::vector<TUninstItem> items = {File(path, "")};
  items.back().Kind = UninstUninstaller;
  RemoveInstalledItems(items, Request(false), partial.System());
  EXPECT_EQ(partial.Files, std::set<std::string>{path});
}
