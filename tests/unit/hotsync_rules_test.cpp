#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeBuiltins.h"
#include "device/HotSyncCommands.h"
#include "device/HotSyncConduits.h"
#include "device/HotSyncUsers.h"
#include "script/ScriptInterpretor.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// One record as the users file holds it: id, two other bytes, name, folder, one more byte.
std::string Record(uint16_t id, const std::string& name, const std::string& folder) {
  std::string r{char(id & 0xFF), char(id >> 8), '\x7F', '\x7F'};
  r += char(name.size()) + name + char(folder.size()) + folder + '\x33';
  return r;
}

// A header of 13 bytes (count first), then the records with gap bytes and 01 80 between.
std::string UsersFile(uint8_t count, const std::vector<std::string>& records, const std::string& gap = "\x05\x06") {
  std::string bytes(13, '\0');
  bytes[0] = char(count);
  for (size_t k = 0; k < records.size(); ++k) {
    if (k) bytes += gap + "\x01\x80";
    bytes += records[k];
  }
  return bytes;
}

}  // namespace

TEST(HotSyncUsers, ReadsEveryRecordAfterItsSeparator) {
  // The gap holds a lone 01 and lone 80s: only the pair ends it.
  std::string file =
      UsersFile(3, {Record(7, "Ann", "AnnF"), Record(0x0203, "Bob", "BobF"), Record(9, "Cy", "")}, "\x05\x01\x05\x80\x80");
  std::vector<THotSyncUser> users = ParseHotSyncUsers(file);
  ASSERT_EQ(users.size(), 3u);
  EXPECT_EQ(users[0], (THotSyncUser{7, "Ann", "AnnF"}));
  EXPECT_EQ(users[1], (THotSyncUser{0x0203, "Bob", "BobF"}));
  EXPECT_EQ(users[2], (THotSyncUser{9, "Cy", ""}));
}

TEST(HotSyncUsers, TheSeparatorSearchStartsAfterTheExtraByte) {
  // Extra byte 01 followed by 80: that pair does not count, the next one does.
  std::string first = Record(1, "A", "a");
  first.back() = '\x01';
  std::string file = UsersFile(2, {first}, "");
  file += std::string("\x80\x44\x01\x80", 4) + Record(2, "B", "b");
  std::vector<THotSyncUser> users = ParseHotSyncUsers(file);
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(users[1].Name, "B");
}

TEST(HotSyncUsers, LongNamesKeepTheirFirst31Characters) {
  std::string name(40, 'n'), folder(32, 'f'), exact(31, 'e');
  std::vector<THotSyncUser> users = ParseHotSyncUsers(UsersFile(2, {Record(1, name, folder), Record(2, exact, exact)}));
  ASSERT_EQ(users.size(), 2u);
  EXPECT_EQ(users[0].Name, std::string(31, 'n'));
  EXPECT_EQ(users[0].Folder, std::string(31, 'f'));
  EXPECT_EQ(users[1].Name, exact);  // the whole long name was stepped over
  EXPECT_EQ(users[1].Folder, exact);
}

TEST(HotSyncUsers, DamagedFilesGiveTheUsersThatCanBeRead) {
  const std::string two = UsersFile(2, {Record(1, "Ann", "AnnF"), Record(2, "Bob", "BobF")});
  EXPECT_TRUE(ParseHotSyncUsers("").empty());
  EXPECT_TRUE(ParseHotSyncUsers(std::string(1, '\x05')).empty());
  EXPECT_TRUE(ParseHotSyncUsers(two.substr(0, 13)).empty());
  EXPECT_TRUE(ParseHotSyncUsers(UsersFile(0, {Record(1, "Ann", "AnnF")})).empty());
  // A count larger than the records: the ones there.
  EXPECT_EQ(ParseHotSyncUsers(UsersFile(255, {Record(1, "Ann", "AnnF"), Record(2, "Bob", "BobF")})).size(), 2u);
  // A count smaller than the records: no more than it says.
  EXPECT_EQ(ParseHotSyncUsers(UsersFile(1, {Record(1, "Ann", "AnnF"), Record(2, "Bob", "BobF")})).size(), 1u);
  // Without a separator the next record cannot be found.
  EXPECT_EQ(ParseHotSyncUsers(UsersFile(2, {Record(1, "Ann", "AnnF")}) + Record(2, "Bob", "BobF")).size(), 1u);
  // Every cut of the file: a user once its id, name and folder are whole (the last one needs
  // no extra byte), never a read past the end (the sanitizers watch the copy, which has no
  // bytes beyond its size).
  const size_t firstWhole = 13 + 4 + 1 + 3 + 1 + 4;
  for (size_t cut = 0; cut < two.size(); ++cut) {
    const std::string part = two.substr(0, cut);
    const std::vector<THotSyncUser> users = ParseHotSyncUsers(std::string_view(part));
    EXPECT_EQ(users.size(), cut + 1 == two.size() ? 2u : cut >= firstWhole ? 1u : 0u) << cut;
  }
  EXPECT_EQ(ParseHotSyncUsers(two).size(), 2u);
  // Lengths that run past the end.
  std::string longName = UsersFile(1, {Record(1, "Ann", "AnnF")});
  longName[13 + 4] = char(200);
  EXPECT_TRUE(ParseHotSyncUsers(longName).empty());
  std::string longFolder = UsersFile(1, {Record(1, "Ann", "AnnF")});
  longFolder[13 + 4 + 1 + 3] = char(200);
  EXPECT_TRUE(ParseHotSyncUsers(longFolder).empty());
}

TEST(HotSyncUsers, FindsNamesIgnoringCase) {
  std::vector<THotSyncUser> users{{1, "Ann", "a"}, {2, "Bob", "b"}};
  EXPECT_EQ(FindHotSyncUser(users, "bOB"), 1);
  EXPECT_EQ(FindHotSyncUser(users, "Bo"), -1);
  EXPECT_EQ(FindHotSyncUser(users, ""), -1);
}

TEST(HotSyncConduits, CreatorCodeHasTheFirstCharacterHighest) {
  EXPECT_EQ(CreatorCode("ABCD"), 0x41424344u);
  EXPECT_EQ(CreatorCode("ABCDEF"), 0x41424344u);
  EXPECT_EQ(CreatorCode("AB"), 0x41420000u);
  EXPECT_EQ(CreatorCode(""), 0u);
  EXPECT_EQ(CreatorCode("\xFF\x80zz"), 0xFF807A7Au);
}

TEST(HotSyncConduits, ConduitAndQueueNames) {
  EXPECT_EQ(ConduitKeyName(false, 2), "Application2");
  EXPECT_EQ(ConduitKeyName(true, 0), "Component0");
  EXPECT_EQ(InstallValueName(3), "Install3");
  EXPECT_EQ(InstallValueName(65535), "Install65535");
  EXPECT_EQ(ConduitKeyNumber("Application12", false), 12);
  EXPECT_EQ(ConduitKeyNumber("APPLICATION0", false), 0);
  EXPECT_EQ(ConduitKeyNumber("Component3", true), 3);
  for (const char* other : {"Application", "Application01", "Application-1", "Application1x", "Component1",
                            "Application9999999999", "Applicatio1"})
    EXPECT_EQ(ConduitKeyNumber(other, false), std::nullopt) << other;
}

TEST(HotSyncUsers, ScriptCommandsReadTheList) {
  TSetupDescription desc;
  TFakeBuiltins builtins;
  TSetupVariables vars{desc, builtins};
  TScriptContext context{vars};
  TScriptInterpreter interpreter{context};
  std::vector<THotSyncUser> users{{1, "Ann", "a"}, {2, "Bob", "b"}};
  RegisterHotSyncCommands(context, [&users]() -> const std::vector<THotSyncUser>& { return users; });
  vars.SetVariable("%P%", "2");
  auto run = [&](uint8_t op, const std::string& f2) {
    ScriptStatement s;
    s.Opcode = op;
    s.F[0] = "%R%";
    s.F[1] = f2;
    EXPECT_TRUE(interpreter.RunScript({s}));
    return vars.Stored("%R%");
  };
  EXPECT_EQ(run(OpGetHotSyncUserCount, ""), "2");
  EXPECT_EQ(run(OpGetHotSyncUserName, "1"), "Ann");
  EXPECT_EQ(run(OpGetHotSyncUserName, "%P%"), "Bob");
  for (const char* outside : {"0", "3", "-1", "x"}) EXPECT_EQ(run(OpGetHotSyncUserName, outside), "") << outside;
  users.clear();
  EXPECT_EQ(run(OpGetHotSyncUserCount, ""), "0");
}

namespace {

std::string Expand(std::string text) {
  for (auto [from, to] : {std::pair<std::string, std::string>{"%D%", "C:\\Conduits"}, {"%V%", "2.0"}, {"%E%", ""}})
    for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST(HotSyncConduits, AnApplicationConduitsValuesInTheirOrder) {
  THotSyncConduit c{.Creator = "Memo", .Integrate = 0, .ConduitFile = "%D%\\memo.dll", .Directory = "memo",
                    .RemoteDatabase = "%E%", .File = "memo.dat", .Name = "Memo %V%", .Information = "Notes",
                    .Priority = 2, .Module = "%D%\\mod.dll", .ComConduit = 0, .ComClient = "ignored"};
  EXPECT_EQ(ConduitValues(c, Expand),
            (std::vector<TConduitValue>{{"Creator", 0x4D656D6Fu},
                                        {"Conduit", std::string("C:\\Conduits\\memo.dll")},
                                        {"Directory", std::string("memo")},
                                        {"File0", std::string("memo.dat")},
                                        {"Integrate", 0u},
                                        {"Name", std::string("Memo 2.0")},
                                        {"Information", std::string("Notes")},
                                        {"Priority", 2u},
                                        {"Module", std::string("C:\\Conduits\\mod.dll")}}));
}

TEST(HotSyncConduits, ComAndComponentConduitValues) {
  THotSyncConduit c{.Creator = "Co", .Integrate = 1, .ConduitFile = "lib.dll", .Directory = "", .RemoteDatabase = "db",
                    .File = "", .Name = "", .Information = "info", .Priority = 255, .Module = "mod.dll",
                    .ComConduit = 1, .ComClient = "%E%"};
  // No module for a component; the COM client even when empty.
  EXPECT_EQ(ConduitValues(c, Expand),
            (std::vector<TConduitValue>{{"Creator", 0x436F0000u},
                                        {"Conduit", std::string("ComConduit.dll")},
                                        {"Remote0", std::string("db")},
                                        {"Integrate", 1u},
                                        {"Information", std::string("info")},
                                        {"Priority", 255u},
                                        {"COMClient", std::string()}}));
}
