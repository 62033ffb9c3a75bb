#include <gtest/gtest.h>

#include <map>
#include <set>

#include "install/InstallJournal.h"
#include "install/Rollback.h"

using namespace vnt;

namespace {

TUninstItem Item(uint8_t kind, const std::string& path) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = path;
  if (kind == UninstFile || kind == UninstDeviceFile) {  // only these keep their file record
    TSetupFile& f = item.File.Edit();
    f.SourceName = "x.dll";
    f.Components = "Core";
  }
  return item;
}

TUninstItem Value(const std::string& key, const std::string& name, const std::string& data) {
  TUninstItem item;
  item.Kind = UninstRegValue;
  TSetupRegChange& r = item.RegChange.Edit();
  r.Root = 1;
  r.Key = key;
  r.ValueName = name;
  r.Data = data;
  return item;
}

TJournalEntry Entry(TJournalKind kind, const std::string& path, const std::string& other = "", bool existed = false) {
  TJournalEntry e;
  e.Kind = kind;
  e.Path = path;
  e.Other = other;
  e.Existed = existed;
  return e;
}

TJournalEntry OldValue(const std::string& key, const std::string& name, bool existed, const std::string& data) {
  TJournalEntry e;
  e.Kind = TJournalKind::OldValue;
  e.Root = 1;
  e.Key = key;
  e.Name = name;
  e.Existed = existed;
  e.Type = 1;
  e.Data = data;
  return e;
}

// Every kind of entry, with texts and bytes a careless codec would lose.
TJournal RichJournal() {
  TJournal j;
  j.Start = {"Vantry Tests Tour", "C:\\T\\uninst.dat", true};
  j.Entries.push_back(MadeEntry(Item(UninstFolder, "C:\\T")));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\a.dll", "C:\\T\\vnt1.tmp", true));
  j.Entries.push_back(Entry(TJournalKind::MovedAside, "C:\\T\\a.dll", "C:\\T\\vnt2.tmp"));
  j.Entries.push_back(MadeEntry(Item(UninstFile, "C:\\T\\a.dll")));
  j.Entries.push_back(Entry(TJournalKind::SharedCounted, "C:\\T\\a.dll"));
  j.Entries.push_back(Entry(TJournalKind::Registered, "C:\\T\\a.dll"));
  j.Entries.push_back(OldValue("Software\\V", "Bin", true, std::string("\0\1\xff", 3)));
  j.Entries.push_back(MadeEntry(Value("Software\\V", "Bin", "01 ff ")));
  TJournalEntry un = MadeEntry(Item(UninstFile, "C:\\T\\font.ttf"));
  un.Kind = TJournalKind::Unregistered;
  un.Op = TRegistration::Font;
  j.Entries.push_back(un);
  j.Entries.push_back(Entry(TJournalKind::FolderRemoved, "C:\\T\\old"));
  return j;
}

std::string Bytes(const TJournal& j) {
  std::string bytes = JournalOpening(j.Start);
  for (const auto& e : j.Entries) bytes += JournalFrame(e);
  return bytes;
}

}  // namespace

TEST(InstallJournal, ReadsBackWhatWasWrittenAndACutJournalOnlyTheWholeEntriesBeforeTheCut) {
  TJournal j = RichJournal();
  std::string bytes = Bytes(j);
  std::optional<TJournal> back = ReadJournal(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Start, j.Start);
  EXPECT_EQ(back->Entries, j.Entries);

  // Where each entry ends: a cut at any byte keeps exactly the entries that end before it.
  std::vector<size_t> ends;
  size_t at = JournalOpening(j.Start).size();
  for (const auto& e : j.Entries) ends.push_back(at += JournalFrame(e).size());
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    std::optional<TJournal> part = ReadJournal(bytes.substr(0, cut));
    if (cut < JournalOpening(j.Start).size()) {
      EXPECT_FALSE(part) << cut;
      continue;
    }
    ASSERT_TRUE(part) << cut;
    size_t whole = size_t(std::count_if(ends.begin(), ends.end(), [&](size_t end) { return end <= cut; }));
    ASSERT_EQ(part->Entries.size(), whole) << cut;
    EXPECT_TRUE(std::equal(part->Entries.begin(), part->Entries.end(), j.Entries.begin())) << cut;
  }

  // The frames alone, as a run keeps them in memory, read back the same way.
  std::string frames = bytes.substr(JournalOpening(j.Start).size());
  EXPECT_EQ(ReadJournalFrames(frames), j.Entries);
  EXPECT_EQ(ReadJournalFrames(bytes.substr(0, ends[3] - 1).substr(JournalOpening(j.Start).size())).size(), 3u);

  // A changed byte in an entry ends the journal there; a foreign file is no journal.
  std::string damaged = bytes;
  damaged[ends[2] + 6] ^= 0x20;
  EXPECT_EQ(ReadJournal(damaged)->Entries.size(), 3u);
  EXPECT_FALSE(ReadJournal("iUNS and more"));
}

namespace {

// A machine whose every change is logged in order, with files and values as they stand.
struct TRollbackMachine {
  std::map<std::string, std::string> Files;  // path -> contents
  std::set<std::string> Folders;
  std::map<std::string, std::string> Values;  // key|name -> data
  std::vector<std::string> Log;

  bool Empty(const std::string& folder) const {
    for (const auto& [p, _] : Files) if (p.rfind(folder + "\\", 0) == 0) return false;
    for (const auto& p : Folders) if (p != folder && p.rfind(folder + "\\", 0) == 0) return false;
    return true;
  }

  TRollbackSystem System() {
    TRollbackSystem s;
    TRemovalSystem& r = s.Removal;
    r.RemoveFile = [this](const std::string& p) { return Log.push_back("delete " + p), Files.erase(p), true; };
    r.Exists = [this](const std::string& p) { return Files.count(p) || Folders.count(p); };
    r.FolderEmpty = [this](const std::string& f) { return Empty(f); };
    r.RemoveFolder = [this](const std::string& f) { return Log.push_back("rmdir " + f), Folders.erase(f), true; };
    r.ReleaseSharedCount = [this](const std::string& p) -> int64_t { return Log.push_back("release " + p), 0; };
    r.UnregisterServer = [this](const std::string& p) { Log.push_back("unregister " + p); };
    r.UnregisterTypeLibrary = [this](const std::string& p) { Log.push_back("untypelib " + p); };
    r.DeleteValue = [this](const TSetupRegChange& v) { return Log.push_back("delvalue " + v.ValueName), Values.erase(v.Key + "|" + v.ValueName), true; };
    r.DeleteKeyIfEmpty = [](uint8_t, const std::string&) { return true; };
    r.Ask = [this](int, const std::string& p) { return Log.push_back("asked " + p), TReplaceAnswer::No; };
    s.DeleteIfThere = [this](const std::string& p) {
      if (Files.erase(p)) Log.push_back("delete " + p);
    };
    s.MoveBack = [this](const std::string& aside, const std::string& path) {
      if (!Files.count(aside)) return;
      Log.push_back("move back " + path);
      Files[path] = Files[aside];
      Files.erase(aside);
    };
    s.RestoreValue = [this](const TJournalEntry& e) {
      Log.push_back("restore " + e.Name);
      if (e.Existed) Values[e.Key + "|" + e.Name] = e.Data;
      else Values.erase(e.Key + "|" + e.Name);
    };
    s.Register = [this](TRegistration op, const TUninstItem& item) {
      Log.push_back("register " + std::to_string(int(op)) + " " + item.Path);
    };
    s.MakeFolder = [this](const std::string& f) { Log.push_back("mkdir " + f), Folders.insert(f); };
    s.DropJournal = [this] { Log.push_back("drop journal"), Files.erase("C:\\T\\uninst.jnl"); };
    return s;
  }
};

}  // namespace

// A fresh run killed part-way: the new files (also one renamed into place but not yet
// recorded, one written in place half-way, and a staged one), the value and the folders go;
// a replaced library and a value that stood before come back; nothing is asked; the journal
// goes before its folder.
TEST(Rollback, UndoesAFreshRunInOrderAndLeavesWhatStoodBefore) {
  TRollbackMachine m;
  m.Folders = {"C:\\T", "C:\\T\\sub", "C:\\Shared"};
  m.Files = {{"C:\\T\\uninst.jnl", "j"},         {"C:\\T\\new.txt", "new"},  {"C:\\T\\sub\\late.txt", "late"},
             {"C:\\T\\sub\\vnt3.tmp", "half"},   {"C:\\Shared\\lib.dll", "v2"}, {"C:\\Shared\\vnt2.tmp", "v1"},
             {"C:\\windows\\vntuninst.exe", "u"}, {"C:\\T\\sub\\half.txt", "ha"}};
  m.Values = {{"Software\\V|Old", "new"}, {"Software\\V|Fresh", "1"}};
  TJournal j;
  j.Entries.push_back(MadeEntry(Item(UninstFolder, "C:\\T")));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\new.txt", "C:\\T\\vnt1.tmp"));
  j.Entries.push_back(MadeEntry(Item(UninstFile, "C:\\T\\new.txt")));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\Shared\\lib.dll", "C:\\Shared\\vnt4.tmp", true));
  j.Entries.push_back(Entry(TJournalKind::MovedAside, "C:\\Shared\\lib.dll", "C:\\Shared\\vnt2.tmp"));
  TUninstItem lib = Item(UninstFile, "C:\\Shared\\lib.dll");
  TSetupFile& f = lib.File.Edit();
  f.Shared = 1;
  f.RegisterServer = 1;
  j.Entries.push_back(MadeEntry(lib));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\windows\\vntuninst.exe", "C:\\windows\\vnt5.tmp"));
  j.Entries.push_back(MadeEntry(Item(UninstUninstaller, "C:\\windows\\vntuninst.exe")));
  j.Entries.push_back(MadeEntry(Item(UninstFolder, "C:\\T\\sub")));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\sub\\late.txt", "C:\\T\\sub\\vnt3.tmp"));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\sub\\half.txt", ""));
  j.Entries.push_back(Entry(TJournalKind::SharedCounted, "C:\\Shared\\lib.dll"));
  j.Entries.push_back(Entry(TJournalKind::Registered, "C:\\Shared\\lib.dll"));
  j.Entries.push_back(OldValue("Software\\V", "Old", true, "old"));
  j.Entries.push_back(MadeEntry(Value("Software\\V", "Old", "new")));
  j.Entries.push_back(OldValue("Software\\V", "Fresh", false, ""));
  j.Entries.push_back(MadeEntry(Value("Software\\V", "Fresh", "1")));

  std::vector<std::string> left = RollBack(j, m.System());
  EXPECT_TRUE(left.empty());
  EXPECT_EQ(m.Files, (std::map<std::string, std::string>{{"C:\\Shared\\lib.dll", "v1"}}));
  EXPECT_EQ(m.Folders, std::set<std::string>{"C:\\Shared"});
  EXPECT_EQ(m.Values, (std::map<std::string, std::string>{{"Software\\V|Old", "old"}}));
  EXPECT_EQ(m.Log, (std::vector<std::string>{
                       "delete C:\\T\\sub\\vnt3.tmp", "delete C:\\T\\sub\\late.txt", "delete C:\\T\\sub\\half.txt",
                       "delete C:\\windows\\vntuninst.exe",
                       "delete C:\\T\\new.txt", "delvalue Fresh", "restore Fresh", "restore Old",
                       "release C:\\Shared\\lib.dll", "move back C:\\Shared\\lib.dll",
                       "register 2 C:\\Shared\\lib.dll", "drop journal", "rmdir C:\\T\\sub", "rmdir C:\\T"}));
}

// A maintenance run cancelled after it took a component away: the earlier files come back
// from aside and register again, removed folders are made again, a file it wrote twice
// leaves nothing of either version.
TEST(Rollback, UndoesAMaintenanceRemovalAndAFileWrittenTwice) {
  TRollbackMachine m;
  m.Folders = {"C:\\T"};
  m.Files = {{"C:\\T\\vnt7.tmp", "earlier"}, {"C:\\T\\twice.txt", "second"}, {"C:\\T\\vnt8.tmp", "first"}};
  TJournal j;
  TJournalEntry un = MadeEntry(Item(UninstFile, "C:\\T\\old\\x.dll"));
  un.Kind = TJournalKind::Unregistered;
  un.Op = TRegistration::Server;
  j.Entries.push_back(un);
  j.Entries.push_back(Entry(TJournalKind::MovedAside, "C:\\T\\old\\x.dll", "C:\\T\\vnt7.tmp"));
  j.Entries.push_back(Entry(TJournalKind::FolderRemoved, "C:\\T\\old"));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\twice.txt", "C:\\T\\vnt6.tmp"));
  j.Entries.push_back(MadeEntry(Item(UninstFile, "C:\\T\\twice.txt")));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\twice.txt", "C:\\T\\vnt9.tmp", true));
  j.Entries.push_back(Entry(TJournalKind::MovedAside, "C:\\T\\twice.txt", "C:\\T\\vnt8.tmp"));
  j.Entries.push_back(MadeEntry(Item(UninstFile, "C:\\T\\twice.txt")));

  RollBack(j, m.System());
  EXPECT_EQ(m.Files, (std::map<std::string, std::string>{{"C:\\T\\old\\x.dll", "earlier"}}));
  EXPECT_EQ(m.Folders, (std::set<std::string>{"C:\\T", "C:\\T\\old"}));
  std::vector<std::string> tail(m.Log.end() - 4, m.Log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"mkdir C:\\T\\old", "move back C:\\T\\old\\x.dll",
                                            "register 2 C:\\T\\old\\x.dll", "drop journal"}));
}

// A product set up again over itself: its shared library was counted by the earlier run, so
// this run did not count it, and undoing the run gives back no count; a new shared file the
// run counted gives its count back.
TEST(Rollback, GivesBackOnlyTheSharedCountsTheRunAdded) {
  TRollbackMachine m;
  m.Folders = {"C:\\T"};
  m.Files = {{"C:\\T\\lib.dll", "v2"}, {"C:\\T\\vnt1.tmp", "v1"}, {"C:\\T\\new.dll", "new"}};
  TJournal j;
  TUninstItem lib = Item(UninstFile, "C:\\T\\lib.dll");
  lib.File.Edit().Shared = 1;
  TUninstItem fresh = Item(UninstFile, "C:\\T\\new.dll");
  fresh.File.Edit().Shared = 1;
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\lib.dll", "", true));
  j.Entries.push_back(Entry(TJournalKind::MovedAside, "C:\\T\\lib.dll", "C:\\T\\vnt1.tmp"));
  j.Entries.push_back(MadeEntry(lib));
  j.Entries.push_back(Entry(TJournalKind::Registered, "C:\\T\\lib.dll"));
  j.Entries.push_back(Entry(TJournalKind::Writing, "C:\\T\\new.dll", ""));
  j.Entries.push_back(MadeEntry(fresh));
  j.Entries.push_back(Entry(TJournalKind::SharedCounted, "C:\\T\\new.dll"));
  j.Entries.push_back(Entry(TJournalKind::Registered, "C:\\T\\new.dll"));
  RollBack(j, m.System());
  EXPECT_EQ(std::count(m.Log.begin(), m.Log.end(), "release C:\\T\\new.dll"), 1);
  EXPECT_EQ(std::count(m.Log.begin(), m.Log.end(), "release C:\\T\\lib.dll"), 0);
  EXPECT_EQ(m.Files, (std::map<std::string, std::string>{{"C:\\T\\lib.dll", "v1"}}));
}
