// The uninstall record against its Add/Remove Programs entry: the digest the entry keeps,
// whose record a file is, and what an earlier record hands a maintenance run.
#include <gtest/gtest.h>
#include <windows.h>

#include "ProductState.h"
#include "Win32Fixtures.h"
#include "install/win32/EarlierInstallation.h"
#include "install/win32/RecordFiles.h"
#include "platform/win32/Digest.h"
#include "setup/win32/SetupProgFuncs.h"

using namespace vnt;
using namespace vnt::test;

TEST(Digest, Sha256GivesTheStandardVectors) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

namespace {

class RecordFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    MakeProductState(State, "Acme", "Rocket", {HKEY_CURRENT_USER, Key.Path});
    Path = Folder / "uninst.dat";
    Record.CompanyName = "Acme";
    Record.SoftwareName = "Rocket";
    Record.Variables = {"%Edition%=Pro", "%InstallDir%=C:\\Rocket"};
    Record.InstalledComponents = "Core|";
    Write(Record);
    Entry.Root = HKEY_CURRENT_USER;
    Entry.Key = Key.Sub("Acme Rocket");
    Entry.Name = "Acme Rocket";
    Key.SetText("Acme Rocket", "DisplayVersion", "1");
    Key.SetText("Acme Rocket", "UninstallString", "\"C:\\windows\\vntuninst.exe\" \"" + Path + "\" \"Acme Rocket\"");
  }
  void Write(const TUninstallRecord& record) {
    Bytes = WriteUninstallRecord(record);
    ASSERT_TRUE(ReplaceRecordFile(Path, Bytes));
  }
  std::string Problem() { return RecordTrustProblem(Entry, Path, ReadUninstallRecord(Bytes), Bytes); }

  TTestKey Key;
  TTempFolder Folder;
  TSetupState State;
  TUninstallRecord Record;
  TProductEntry Entry;
  std::string Path, Bytes;
};

}  // namespace

// A record passes only as the entry's own and unchanged; one from before digests were kept
// passes as it is.
TEST_F(RecordFilesTest, TheEntryVouchesForItsRecord) {
  EXPECT_EQ(Problem(), "");  // no digest kept yet
  ASSERT_TRUE(StoreRecordDigest(Entry, Bytes));
  EXPECT_EQ(Key.Value("Acme Rocket", RecordDigestValue).second.size(), 65u);
  EXPECT_EQ(Problem(), "");
  // One path changed in the record: refused.
  Record.Items.push_back({UninstFile, "C:\\windows\\system32\\kernel32.dll", {}, {}});
  Write(Record);
  EXPECT_NE(Problem().find("was changed after installation"), std::string::npos) << Problem();
  // Another product's record where the entry's should be.
  Record.SoftwareName = "Other";
  Write(Record);
  EXPECT_NE(Problem().find("belongs to Acme Other, not to Acme Rocket"), std::string::npos) << Problem();
  // The entry names another record.
  Record.SoftwareName = "Rocket";
  Write(Record);
  Key.SetText("Acme Rocket", "UninstallString", "vntuninst.exe \"" + (Folder / "uninst2.dat") + "\"");
  EXPECT_NE(Problem().find("is not the one the Add/Remove Programs entry"), std::string::npos) << Problem();
  EXPECT_EQ(RecordOwnerAt(Path), std::optional<std::string>("Acme Rocket"));
  EXPECT_EQ(RecordOwnerAt(Folder / "none.dat"), std::optional<std::string>(""));
  WriteBytes(Folder / "junk.dat", "not a record");
  EXPECT_FALSE(RecordOwnerAt(Folder / "junk.dat"));
}

// The earlier run's values go over the current ones; what it did not have stays.
TEST_F(RecordFilesTest, AMaintenanceRunKeepsVariablesTheEarlierRunDidNotHave) {
  ASSERT_TRUE(StoreRecordDigest(Entry, Bytes));
  State.Vars->SetVariable("%Edition%", "Home");
  State.Vars->SetVariable("%NewInVersion2%", "yes");
  TUninstallRecord earlier;
  std::vector<std::string> told;
  auto tell = [&](const std::string& text) { told.push_back(text); };
  EXPECT_EQ(TakeEarlierInstallation(State, Path, earlier, tell), std::optional<std::string>("Core|"));
  EXPECT_EQ(State.Vars->ExpandText("%Edition% %NewInVersion2% %InstallDir%"), "Pro yes C:\\Rocket");
  EXPECT_TRUE(told.empty());
  // A changed record is told and not taken.
  WriteBytes(Path, Bytes + "x");
  EXPECT_FALSE(TakeEarlierInstallation(State, Path, earlier, tell));
  ASSERT_EQ(told.size(), 1u);
}
