// The HotSync module against Wine's registry and file system. The software's base keys are
// pointed into a test key of its own, so nothing of a real or e2e HotSync set-up is touched.
#include <gtest/gtest.h>
#include <windows.h>

#include "Win32Fixtures.h"

#include <algorithm>
#include <string>
#include <vector>

#include "device/win32/HotSync.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::string Record(uint16_t id, const std::string& name, const std::string& folder) {
  std::string r{char(id & 0xFF), char(id >> 8), '\0', '\0'};
  return r + char(name.size()) + name + char(folder.size()) + folder + '\0';
}

struct HotSyncFixture : ::testing::Test {
  TTestKey Key;
  TTempFolder Data;
  std::string Robotics = "U.S. Robotics", Palm = "Palm Computing";

  THotSyncSources Sources() const { return {HKEY_CURRENT_USER, {Key.Sub(Robotics), Key.Sub(Palm)}}; }
  // The software's keys below one base, with users Ann (id 3) and Bob (id 7) in the data folder.
  void Install(const std::string& base, const std::string& lastUser = "bob") {
    Key.SetText(base + "\\Pilot Desktop\\Preferences", "LastUserName", lastUser);
    Key.SetText(base + "\\Pilot Desktop\\Core", "Path", Data.Path);
    Key.SetText(base + "\\Pilot Desktop\\Core", "HotSyncPath", "C:\\Palm\\HotSync.exe");
    Key.CreateEmpty(base + "\\Pilot Desktop\\HotSync Manager");
    std::string users(13, '\0');
    users[0] = 2;
    users += Record(3, "Ann", "AnnF") + "\x01\x80" + Record(7, "Bob", "BobF");
    WriteBytes(Data / "users.dat", users);
    CreateDirectoryA((Data / "AnnF").c_str(), nullptr);
    CreateDirectoryA((Data / "BobF").c_str(), nullptr);
  }
  THotSync Started() const {
    THotSync h(Sources());
    h.Start("C:\\windows\\");
    return h;
  }
  std::string Desktop(const std::string& sub = "") const {
    return Robotics + "\\Pilot Desktop" + (sub.empty() ? "" : "\\" + sub);
  }
  void Conduit(const std::string& key, uint32_t creator) const {
    Key.SetNumber(Desktop(key), "Creator", creator);
    Key.SetText(Desktop(key), "Conduit", key + ".dll");
  }
  // Sorted by name.
  std::vector<std::string> ValueNames(const std::string& sub) const {
    std::vector<std::string> names;
    HKEY key = Key.Open(sub);
    char name[256];
    for (DWORD k = 0, size = sizeof name; key && RegEnumValueA(key, k, name, &size, nullptr, nullptr, nullptr, nullptr) ==
                                                    ERROR_SUCCESS;
         ++k, size = sizeof name)
      names.push_back(name);
    if (key) RegCloseKey(key);
    std::sort(names.begin(), names.end());  // the listing order is the system's
    return names;
  }
};

std::string Identity(const std::string& text) { return text; }

THotSyncConduit Named(const std::string& creator, const std::string& file = "") {
  THotSyncConduit c;
  c.Creator = creator;
  c.ConduitFile = file;
  return c;
}

}  // namespace

TEST_F(HotSyncFixture, WithoutABaseKeyNothingIsInstalled) {
  THotSync h = Started();
  EXPECT_FALSE(h.IsHotSyncInstalled());
  EXPECT_EQ(h.GetHotSyncFolder(), "C:\\windows\\");
  EXPECT_EQ(h.GetUserCount(), 0);
  EXPECT_FALSE(h.QueueFileForUser("Ann", Data / "users.dat"));
  EXPECT_TRUE(h.UnregisterConduit("ABCD"));
  EXPECT_FALSE(h.RegisterConduit(Named("ABCD"), Identity));
}

TEST_F(HotSyncFixture, TheFirstBaseKeyWins) {
  Install(Palm, "Ann");
  Install(Robotics, "bob");
  Key.SetText(Palm + "\\Pilot Desktop\\Core", "HotSyncPath", "D:\\Other\\HotSync.exe");
  THotSync h = Started();
  ASSERT_TRUE(h.IsHotSyncInstalled());
  EXPECT_EQ(h.GetHotSyncFolder(), "C:\\Palm\\");
  EXPECT_EQ(h.GetLastUserName(), "bob");
  ASSERT_EQ(h.GetUserCount(), 2);
  EXPECT_EQ(h.GetLastUserIndex(), 1);
  EXPECT_EQ(h.GetUserName(0), "Ann");
  EXPECT_EQ(h.GetUserFolder(1), "BobF");
  EXPECT_EQ(h.GetUserId(1), 7);
  EXPECT_EQ(h.GetUserName(2), "");
  EXPECT_EQ(h.GetUserId(-1), 0);
  EXPECT_EQ(h.FindUser("ANN"), 0);
  // Started again once the software is gone, nothing of it stays.
  DeleteKeyTree(HKEY_CURRENT_USER, Key.Sub(Robotics));
  DeleteKeyTree(HKEY_CURRENT_USER, Key.Sub(Palm));
  h.Start("C:\\other\\");
  EXPECT_FALSE(h.IsHotSyncInstalled());
  EXPECT_EQ(h.GetUserCount(), 0);
  EXPECT_EQ(h.GetLastUserName(), "");
  EXPECT_EQ(h.GetHotSyncFolder(), "C:\\other\\");
}

TEST_F(HotSyncFixture, TheSecondBaseServesWhenTheFirstIsMissing) {
  Install(Palm, "Nobody");
  THotSync h = Started();
  EXPECT_TRUE(h.IsHotSyncInstalled());
  EXPECT_EQ(h.GetUserCount(), 2);
  EXPECT_EQ(h.GetLastUserIndex(), 0);
}

TEST_F(HotSyncFixture, AProgramPathWithoutFolderKeepsTheDefault) {
  Install(Robotics);
  Key.SetText(Desktop("Core"), "HotSyncPath", "HotSync.exe");
  EXPECT_EQ(Started().GetHotSyncFolder(), "C:\\windows\\");
}

TEST_F(HotSyncFixture, QueuesAFileForEachUser) {
  Install(Robotics);
  WriteBytes(Data / "app.prc", "palm app");
  CreateDirectoryA((Data / "BobF\\Install").c_str(), nullptr);
  WriteBytes(Data / "BobF\\Install\\app.prc", "older");
  THotSync h = Started();
  EXPECT_TRUE(h.QueueFileForUser("ann", Data / "app.prc"));
  EXPECT_TRUE(h.QueueFileForUser("Bob", Data / "app.prc"));
  EXPECT_EQ(ReadBytes(Data / "AnnF\\Install\\app.prc"), "palm app");
  EXPECT_EQ(ReadBytes(Data / "BobF\\Install\\app.prc"), "palm app");
  DWORD one = 1;
  const std::string flag(reinterpret_cast<const char*>(&one), sizeof one);
  EXPECT_EQ(Key.Value(Desktop("HotSync Manager"), "Install3"), std::make_pair(DWORD(REG_DWORD), flag));
  EXPECT_EQ(Key.Value(Desktop("HotSync Manager"), "Install7"), std::make_pair(DWORD(REG_DWORD), flag));
}

TEST_F(HotSyncFixture, AnUnknownUserOrAMissingFileQueuesNothing) {
  Install(Robotics);
  WriteBytes(Data / "app.prc", "palm app");
  THotSync h = Started();
  EXPECT_FALSE(h.QueueFileForUser("Cy", Data / "app.prc"));
  EXPECT_FALSE(Exists(Data / "AnnF\\Install"));
  EXPECT_FALSE(Exists(Data / "BobF\\Install"));
  EXPECT_FALSE(h.QueueFileForUser("Ann", Data / "missing.prc"));
  EXPECT_EQ(ValueNames(Desktop("HotSync Manager")).size(), 0u);
  // The manager's key is not made: without it the queue is not flagged.
  DeleteKeyTree(HKEY_CURRENT_USER, Key.Sub(Desktop("HotSync Manager")));
  EXPECT_FALSE(h.QueueFileForUser("Ann", Data / "app.prc"));
  EXPECT_FALSE(Key.KeyExists(Desktop("HotSync Manager")));
}

TEST_F(HotSyncFixture, AUserFolderOutsideTheDataFolderIsRefused) {
  Install(Robotics);
  std::string users(13, '\0');
  users[0] = 2;
  users += Record(1, "Up", "..") + "\x01\x80" + Record(2, "Deep", "a\\..\\..");
  WriteBytes(Data / "users.dat", users);
  WriteBytes(Data / "app.prc", "palm app");
  THotSync h = Started();
  ASSERT_EQ(h.GetUserCount(), 2);
  EXPECT_FALSE(h.QueueFileForUser("Up", Data / "app.prc"));
  EXPECT_FALSE(h.QueueFileForUser("Deep", Data / "app.prc"));
  EXPECT_EQ(ValueNames(Desktop("HotSync Manager")).size(), 0u);
}

// Which values and in which order is decided and tested natively; here, that they land in
// the registry with their types.
TEST_F(HotSyncFixture, AConduitGoesToTheFirstFreeKey) {
  Install(Robotics);
  Conduit("Application0", 0x31313131);
  Conduit("Application1", 0x32323232);
  THotSync h = Started();
  THotSyncConduit c = Named("Memo", "%D%\\memo.dll");
  c.Priority = 2;
  c.Module = "mod.dll";
  auto expand = [](std::string t) { return t.find("%D%") == 0 ? "C:\\Conduits" + t.substr(3) : t; };
  ASSERT_TRUE(h.RegisterConduit(c, expand));
  const std::string key = Desktop("Application2");
  EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"Conduit", "Creator", "Integrate", "Module", "Priority"}));
  EXPECT_EQ(Key.Value(key, "Creator"), std::make_pair(DWORD(REG_DWORD), std::string("omeM")));  // 0x4D656D6F
  EXPECT_EQ(Key.Value(key, "Conduit"), std::make_pair(DWORD(REG_SZ), std::string("C:\\Conduits\\memo.dll") + '\0'));
  EXPECT_EQ(Key.Value(key, "Integrate"), std::make_pair(DWORD(REG_DWORD), std::string(4, '\0')));
  EXPECT_EQ(Key.Value(key, "Priority").second, std::string("\x02\0\0\0", 4));
}

TEST_F(HotSyncFixture, AComponentConduitGoesToTheComponentList) {
  Install(Robotics);
  THotSync h = Started();
  THotSyncConduit c = Named("Co", "lib.dll");
  c.Integrate = 1;
  ASSERT_TRUE(h.RegisterConduit(c, Identity));
  EXPECT_FALSE(Key.KeyExists(Desktop("Application0")));
  EXPECT_EQ(Key.Value(Desktop("Component0"), "Integrate").second, std::string("\x01\0\0\0", 4));
}

TEST_F(HotSyncFixture, RegisteringACreatorAgainReplacesItsKey) {
  Install(Robotics);
  Conduit("Application0", 0x31313131);
  Conduit("Application1", CreatorCode("Memo"));
  Conduit("Application2", 0x33333333);
  THotSync h = Started();
  ASSERT_TRUE(h.RegisterConduit(Named("Memo", "new.dll"), Identity));
  EXPECT_EQ(Key.Value(Desktop("Application1"), "Conduit").second, std::string("new.dll") + '\0');
  EXPECT_FALSE(Key.KeyExists(Desktop("Application3")));
  EXPECT_EQ(Key.Value(Desktop("Application2"), "Conduit").second, std::string("Application2.dll") + '\0');
}

TEST_F(HotSyncFixture, UnregisteringTakesTheCreatorOutOfBothLists) {
  Install(Robotics);
  Conduit("Application0", 0x31313131);
  Conduit("Application1", CreatorCode("Memo"));
  Conduit("Component0", CreatorCode("Memo"));
  Key.CreateEmpty(Desktop("Component1"));  // no creator: stays
  THotSync h = Started();
  ASSERT_TRUE(h.UnregisterConduit("Memo"));
  EXPECT_TRUE(Key.KeyExists(Desktop("Application0")));
  EXPECT_FALSE(Key.KeyExists(Desktop("Application1")));
  EXPECT_FALSE(Key.KeyExists(Desktop("Component0")));
  EXPECT_TRUE(Key.KeyExists(Desktop("Component1")));  // keeps its number
  EXPECT_TRUE(h.UnregisterConduit("None"));
}

TEST_F(HotSyncFixture, AConduitBehindAGapIsStillFound) {
  Install(Robotics);
  Conduit("Application1", CreatorCode("Memo"));
  THotSync h = Started();
  ASSERT_TRUE(h.RegisterConduit(Named("Memo", "new.dll"), Identity));
  EXPECT_FALSE(Key.KeyExists(Desktop("Application1")));
  EXPECT_EQ(Key.Value(Desktop("Application0"), "Conduit").second, std::string("new.dll") + '\0');
}
