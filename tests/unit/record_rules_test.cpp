#include <gtest/gtest.h>

#include <map>

#include "install/RecordRules.h"

using namespace vnt;

namespace {

TUninstItem Item(uint8_t kind, const std::string& path, uint8_t shared = 0) {
  TUninstItem i;
  i.Kind = kind;
  i.Path = path;
  i.File.Edit().Shared = shared;
  return i;
}
TUninstItem Value(const std::string& key, const std::string& name, const std::string& data) {
  TUninstItem i;
  i.Kind = UninstRegValue;
  TSetupRegChange& r = i.RegChange.Edit();
  r.Root = 2;
  r.Key = key;
  r.ValueName = name;
  r.Data = data;
  return i;
}

}  // namespace

// Version 1 then version 2 of a product: what either made is named once, in the earlier
// order, with the newer run's facts; what only version 1 had stays to be removed.
TEST(RecordRules, ARunAgainAddsToTheEarlierItems) {
  std::vector<TUninstItem> v1 = {Item(UninstFolder, "C:\\App"), Item(UninstFile, "C:\\App\\a.txt"),
                                 Item(UninstFile, "C:\\App\\old.txt"), Item(UninstFile, "C:\\App\\lib.dll", 1),
                                 Value("Uninstall\\V App", "DisplayName", "App 1"),
                                 Item(UninstPlainFile, "C:\\App\\uninst.dat")};
  std::vector<TUninstItem> v2 = {Item(UninstFile, "C:\\APP\\A.TXT"), Item(UninstFolder, "C:\\App\\New"),
                                 Item(UninstFile, "C:\\App\\lib.dll", 1), Value("uninstall\\v app", "displayname", "App 2"),
                                 Item(UninstPlainFile, "C:\\App\\uninst.dat")};
  std::vector<TUninstItem> merged = MergeRecordItems(v1, v2);
  std::vector<std::string> names;
  for (const auto& i : merged) names.push_back(i.Kind == UninstRegValue ? i.RegChange->Data : i.Path);
  EXPECT_EQ(names, (std::vector<std::string>{"C:\\App", "C:\\APP\\A.TXT", "C:\\App\\old.txt", "C:\\App\\lib.dll", "App 2",
                                             "C:\\App\\uninst.dat", "C:\\App\\New"}));
  // A file the product counted already is not counted again; a file that was not shared is.
  EXPECT_TRUE(CountsSharedFile(v1, "c:\\app\\LIB.dll"));
  EXPECT_FALSE(CountsSharedFile(v1, "C:\\App\\a.txt"));
  EXPECT_FALSE(CountsSharedFile({}, "C:\\App\\lib.dll"));
  // The same path as a file and as a folder are two things; so are two roots.
  EXPECT_FALSE(SameRecordItem(Item(UninstFile, "C:\\x"), Item(UninstFolder, "C:\\x")));
  TUninstItem user = Value("K", "N", "");
  user.RegChange.Edit().Root = 1;
  EXPECT_FALSE(SameRecordItem(user, Value("K", "N", "")));
  EXPECT_TRUE(SameRecordItem(Item(UninstFolder, "C:\\x\\"), Item(UninstFolder, "C:\\X")));
}

TEST(RecordRules, AProductTakesARecordNameOfItsOwnBesideAnother) {
  std::map<std::string, std::optional<std::string>> disk;
  auto ownerAt = [&](const std::string& path) -> std::optional<std::string> {
    auto it = disk.find(path);
    return it == disk.end() ? std::optional<std::string>("") : it->second;
  };
  EXPECT_EQ(ChooseRecordPath("C:\\App", "", "V A", ownerAt), "C:\\App\\uninst.dat");
  disk["C:\\App\\uninst.dat"] = "V B";
  EXPECT_EQ(ChooseRecordPath("C:\\App\\", "", "V A", ownerAt), "C:\\App\\uninst2.dat");
  disk["C:\\App\\uninst2.dat"] = std::nullopt;  // not a record: never overwritten
  disk["C:\\App\\uninst3.dat"] = "v a";         // the product's own
  EXPECT_EQ(ChooseRecordPath("C:\\App", "", "V A", ownerAt), "C:\\App\\uninst3.dat");
  // Stable: the record the entry names stays while it is the product's, even when a lower
  // name came free.
  disk.erase("C:\\App\\uninst.dat");
  EXPECT_EQ(ChooseRecordPath("C:\\App", "C:\\App\\uninst3.dat", "V A", ownerAt), "C:\\App\\uninst3.dat");
  // An entry naming a record in another folder or another product's: a name here.
  EXPECT_EQ(ChooseRecordPath("C:\\App", "D:\\Old\\uninst.dat", "V A", ownerAt), "C:\\App\\uninst.dat");
  disk["C:\\App\\uninst.dat"] = "V B";
  disk["C:\\App\\uninst4.dat"] = "V B";
  EXPECT_EQ(ChooseRecordPath("C:\\App", "C:\\App\\uninst4.dat", "V A", ownerAt), "C:\\App\\uninst3.dat");
  auto full = [](const std::string&) -> std::optional<std::string> { return "V B"; };
  EXPECT_EQ(ChooseRecordPath("C:\\App", "", "V A", full), "");
}

TEST(RecordRules, OtherProductsKeepWhatTheyNameAndTheFoldersTheyUse) {
  TOtherProducts others;
  EXPECT_TRUE(others.Empty());
  others.Add({Item(UninstFolder, "C:\\App"), Item(UninstFile, "C:\\App\\Lib\\common.dll"),
              Item(UninstPlainFile, "C:\\App\\uninst.dat"), Value("K", "N", "")});
  EXPECT_TRUE(others.Needs(Item(UninstFile, "c:\\app\\lib\\COMMON.DLL")));
  EXPECT_FALSE(others.Needs(Item(UninstFile, "C:\\App\\mine.txt")));
  EXPECT_TRUE(others.Needs(Item(UninstFolder, "C:\\App\\Lib\\")));  // holds their file
  EXPECT_FALSE(others.Needs(Item(UninstFolder, "C:\\App\\Li")));    // a name that only begins alike
  EXPECT_FALSE(others.Needs(Item(UninstFolder, "C:\\Apps")));
  EXPECT_FALSE(others.Needs(Value("K", "N", "")));
  EXPECT_EQ(others.SharedFolders({Item(UninstFile, "C:\\App\\Sub\\mine.txt"), Item(UninstFile, "C:\\Other\\x")}),
            std::vector<std::string>{"C:\\App"});
  EXPECT_TRUE(others.SharedFolders({Item(UninstFile, "C:\\Elsewhere\\mine.txt")}).empty());
}
