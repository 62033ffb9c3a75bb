#include <gtest/gtest.h>

#include "../fuzz/ArchiveTestKit.h"
#include "FakeBuiltins.h"
#include "setup/LoaderFileFilter.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSetupInstallerFile Support(int32_t id, const std::string& source, const std::string& folder) {
  TSetupInstallerFile f;
  f.Id = id;
  f.File.SourceName = source;
  f.File.DestFolder = folder;
  return f;
}

struct TLoaderRun {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables Vars{Desc, Builtins};
  std::vector<TSetupInstallerFile> Files{Support(1, "C:\\project\\art\\Splash.bmp", "%TempSetupDir%"),
                                         Support(2, "license.txt", "%TempSetupDir%\\"),
                                         Support(3, "bin\\helper.dll", "%TempSetupDir%\\lib")};
  std::vector<std::string> Restored;
  TLoaderFileFilter Filter{Files, Vars, "SPLASH.BMP", Restored};
  TMemoryFileSystem Fs;
  TSetupVNTZip Zip{Fs};
  std::string Archive = WriteArchive("", {{1, 1, "bitmap"}, {2, 2, "text"}, {3, 3, "code"}, {9, 9, "stray"}});

  TLoaderRun() { Filter.BindTo(Zip); }
  void Pass(uint32_t filterMode) {
    Zip.FilterMode = filterMode;
    TMemoryStream s(Archive);
    EXPECT_TRUE(Zip.RestoreFromStream(s, "C:\\install\\"));
  }
};

}  // namespace

TEST(ArchiveLoader, FilterModeOneRestoresOnlyTheSplashBitmapIgnoringCase) {
  TLoaderRun run;
  run.Pass(1);
  EXPECT_EQ(run.Restored, std::vector<std::string>{"C:\\temp\\vnt001\\Splash.bmp"});
  EXPECT_EQ(run.Fs.Contents("C:\\temp\\vnt001\\Splash.bmp"), "bitmap");
  EXPECT_EQ(run.Fs.Files.size(), 1u);
  EXPECT_EQ(run.Zip.RestoredCount, 1);
}

TEST(ArchiveLoader, OtherFilterModesRestoreEverythingButTheSplashBitmap) {
  TLoaderRun run;
  run.Pass(1);
  run.Pass(0);
  EXPECT_EQ(run.Restored, (std::vector<std::string>{"C:\\temp\\vnt001\\Splash.bmp", "C:\\temp\\vnt001\\license.txt",
                                                    "C:\\temp\\vnt001\\lib\\helper.dll"}));
  EXPECT_EQ(run.Fs.Contents("C:\\temp\\vnt001\\license.txt"), "text");
  EXPECT_EQ(run.Fs.Contents("C:\\temp\\vnt001\\lib\\helper.dll"), "code");
  EXPECT_EQ(run.Zip.RestoredCount, 2);
  EXPECT_EQ(run.Fs.Files.size(), 3u);  // the member without a record is never written
  TLoaderRun other;
  other.Pass(7);
  EXPECT_EQ(other.Restored.size(), 2u);
}

TEST(ArchiveLoader, HandlerNamesTheFileAfterItsRecord) {
  TLoaderRun run;
  std::string name = "C:\\install\\";
  bool restore = true;
  run.Filter.vntZipFileRestoreFile(0, 3, name, restore);
  EXPECT_TRUE(restore);
  EXPECT_EQ(name, "C:\\temp\\vnt001\\lib\\helper.dll");
  name = "C:\\install\\";
  run.Filter.vntZipFileRestoreFile(0, 42, name, restore);
  EXPECT_FALSE(restore);
  EXPECT_EQ(name, "C:\\install\\");
  EXPECT_EQ(run.Restored.size(), 1u);
}
