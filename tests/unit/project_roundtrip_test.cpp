#include <gtest/gtest.h>

#include <fstream>

#include "TestFolder.h"
#include "TestPackages.h"
#include "package/SetupSections.h"
#include "package/SetupStrings.h"
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/project/ProjectWriter.h"
#include "vntbuild/SampleProject.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// Where the extract command puts the members the dump names: files of the recorded sizes.
void PlaceMembers(const TTestFolder& dir, const std::vector<TSetupInstallerFile>& files, const std::string& folder) {
  for (const auto& f : files) {
    auto path = dir.Write(folder + "/" + std::to_string(f.Id) + "/" + f.File.SourceName, "");
    std::filesystem::resize_file(path, f.File.Size);
  }
}

std::vector<TSetupInstallerFile> Records(const std::vector<TProjectFile>& files) {
  std::vector<TSetupInstallerFile> records;
  for (const auto& f : files) records.push_back(f.Record);
  return records;
}

// Writes the content's description as a project, reads it back and compares everything the
// project says (the archive places and ranges are the assembler's).
void ExpectRoundTrip(const TPackageContent& c, bool scriptsInFiles, TProjectText* written = nullptr) {
  TTestFolder dir;
  TProjectText text = WriteProject(c.Description, c.Options, scriptsInFiles);
  if (written) *written = text;
  SaveProjectFolder(text, dir.Path("dump"));
  TTestFolder& files = dir;
  PlaceMembers(files, c.Description.ProductFiles, "dump/files");
  PlaceMembers(files, c.Description.SupportFiles, "dump/support");
  TProject p = ReadProject(dir.Path("dump/project.json").string());

  const TSetupDescription& w = c.Description;
  const TSetupDescription& d = p.Content.Description;
  EXPECT_EQ(p.Content.Options, c.Options);
  EXPECT_EQ(d.Properties, w.Properties);
  EXPECT_EQ(d.Requirements, w.Requirements);
  EXPECT_EQ(d.VersionBounds, w.VersionBounds);
  EXPECT_EQ(d.Languages, w.Languages);
  EXPECT_EQ(d.SingleTable, w.SingleTable);
  EXPECT_EQ(d.Variables, w.Variables);
  EXPECT_EQ(d.BackItems, w.BackItems);
  ASSERT_EQ(d.Components.size(), w.Components.size());
  for (size_t i = 0; i < w.Components.size(); ++i)
    EXPECT_EQ(TSetupComponent(d.Components[i]), TSetupComponent(w.Components[i]));
  EXPECT_EQ(d.Conduits, w.Conduits);
  EXPECT_EQ(d.ProgressBitmaps, w.ProgressBitmaps);
  EXPECT_EQ(d.FileFolders, w.FileFolders);
  EXPECT_EQ(d.ShortcutFolders, w.ShortcutFolders);
  EXPECT_EQ(Records(p.SupportFiles), w.SupportFiles);
  EXPECT_EQ(Records(p.ProductFiles), w.ProductFiles);
  EXPECT_EQ(d.DeviceGroups, w.DeviceGroups);
  EXPECT_EQ(d.Shortcuts, w.Shortcuts);
  EXPECT_EQ(d.RegChanges, w.RegChanges);
  EXPECT_EQ(d.DeviceTable, w.DeviceTable);
  EXPECT_EQ(d.Scripts, w.Scripts);
  EXPECT_EQ(d.Dialogs, w.Dialogs);

  // Built again, with the archive places that the assembler gives, the package is the same
  // byte for byte.
  TPackageContent rebuilt = p.Content;
  rebuilt.Description.ProductFiles = Records(p.ProductFiles);
  rebuilt.Description.SupportFiles = Records(p.SupportFiles);
  rebuilt.Description.Components = w.Components;
  rebuilt.Description.ProductArchiveRange = w.ProductArchiveRange;
  rebuilt.Description.ProgressScale = w.ProgressScale;
  EXPECT_TRUE(BuildPackage(rebuilt, 4096) == BuildPackage(c, 4096));
}

}  // namespace

TEST(ProjectRoundTrip, RichDescriptionReadsBackEqualInlineAndWithScriptFiles) {
  TProjectText inlined, withFiles;
  ExpectRoundTrip(RichContent(), false, &inlined);
  EXPECT_TRUE(inlined.ScriptFiles.empty());
  ExpectRoundTrip(RichContent(), true, &withFiles);
  std::vector<std::string> paths;
  for (const auto& f : withFiles.ScriptFiles) paths.push_back(f.Path);
  // Setup and page scripts in files of their own; one-line control scripts stay inline.
  EXPECT_EQ(paths, (std::vector<std::string>{"scripts/start.vns", "scripts/afterInstall.vns", "scripts/afterUninstall.vns",
                                             "scripts/Welcome_beforeBuild.vns", "scripts/Finish_beforeBuild.vns"}));
}

TEST(ProjectRoundTrip, OddStoredValuesSurvive) {
  TPackageContent c = RichContent();
  TSetupDescription& d = c.Description;
  d.Languages.clear();  // the single table, with changed and unchanged messages
  d.SingleTable.Texts = DefaultMessages();
  d.SingleTable.Texts[68] = "\x80\x81\xff \"quoted\" \\ |";
  d.Components[0].ArchiveRange = 0;
  d.Properties.SetupTypeComponents = {"", "|A||", "A"};
  d.Properties.SetupFont.Style = 0x30;
  d.ProductFiles[0].DateTime = 0xFFFFFFFF;  // no calendar date
  d.ProductFiles[1].File.OverwriteMode = 200;
  d.Shortcuts[0].ShowCommand = -3;
  d.BackItems[1].Kind = 9;
  d.DeviceTable[0].MinMajor = -1;
  d.Dialogs.Dialogs[1].Controls[1].P[2] = "cancel";  // a text that is also a button type's name
  d.Dialogs.Dialogs[3].Controls[1].Kind = 0;  // no kind: no parameters are stored
  d.Dialogs.Dialogs[3].Controls[1].P = {};
  d.FileFolders = DeriveFileFolders(d.ProductFiles);  // left out of the project, derived again
  c.Options = {0, 0, 0, 0, 0, 0, 255};
  ExpectRoundTrip(c, false);
}

// A dump leaves the types out only when all three hold every component: a custom type of its
// own must come back.
TEST(ProjectRoundTrip, ACustomTypeOfItsOwnBesideTwoFullTypesSurvives) {
  TPackageContent c = RichContent();
  c.Description.Properties.SetupTypeComponents = {"A|B", "A|B", "B"};
  ExpectRoundTrip(c, false);
}

// Short lists stand on one line, with a blank after the separators between texts: never
// inside a text, also where a text ends in a backslash or holds an escaped quote.
TEST(ProjectRoundTrip, TextsOfAOneLineListComeBackUnchanged) {
  TPackageContent c = RichContent();
  c.Description.FileFolders = {"%InstallDir%\\", "C:\\Shared,Old\\", "say \\\"x\\", "D:\\a, b:c\\"};
  TProjectText written;
  ExpectRoundTrip(c, false, &written);
  EXPECT_NE(written.Json.find(R"("files": ["%InstallDir%\\", "C:\\Shared,Old\\")"), std::string::npos)
      << "the list stands on one line";
}

TEST(ProjectRoundTrip, SampleSetupDumpedFromItsPackage) {
  // The dump command's way: the description as a reader finds it in the package bytes.
  TPackageContent sample = SampleHelloPackage();
  TPackage pkg = OpenBytes(AppendPackage(FakeImage(), sample));
  TPackageContent read;
  std::string language;
  ReadDescription(pkg, read.Description, language, true);
  read.Options = pkg.Options;
  ExpectRoundTrip(read, true);
}
