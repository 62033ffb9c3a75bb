#include <gtest/gtest.h>

#include "TestPackages.h"
#include "package/PackageWriter.h"
#include "package/SetupRecords.h"
#include "package/SetupSections.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSetupDescription ReadBack(const TPackageContent& c, std::string& language) {
  TPackage pkg = OpenBytes(AppendPackage(FakeImage(), c));
  EXPECT_TRUE(PackageIsValid(pkg));
  TSetupDescription d;
  ReadDescription(pkg, d, language, true);
  return d;
}

// Builds bytes field by field in stored order, independent of the codecs under test.
struct TBytes {
  std::string B;
  TBytes& S(const std::string& s) { B += s; B.push_back('\0'); return *this; }
  TBytes& U8(int v) { B.push_back(char(v)); return *this; }
  TBytes& U16(int v) { return U8(v & 0xFF).U8((v >> 8) & 0xFF); }
  TBytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
};

}  // namespace

TEST(RoundTrip, EveryRecordKindReadsBackIdentically) {
  TPackageContent c = RichContent();
  std::string language;
  TSetupDescription d = ReadBack(c, language);
  const TSetupDescription& w = c.Description;
  EXPECT_EQ(d.Properties, w.Properties);
  EXPECT_EQ(d.Requirements, w.Requirements);
  EXPECT_EQ(d.VersionBounds, w.VersionBounds);
  EXPECT_EQ(d.Languages, w.Languages);
  EXPECT_EQ(d.Variables, w.Variables);
  EXPECT_EQ(d.BackItems, w.BackItems);
  EXPECT_EQ(d.ProductArchiveRange, w.ProductArchiveRange);
  EXPECT_EQ(d.ProgressScale, w.ProgressScale);
  EXPECT_EQ(d.Components, w.Components);
  EXPECT_EQ(d.Conduits, w.Conduits);
  EXPECT_EQ(d.ProgressBitmaps, w.ProgressBitmaps);
  EXPECT_EQ(d.FileFolders, w.FileFolders);
  EXPECT_EQ(d.ShortcutFolders, w.ShortcutFolders);
  EXPECT_EQ(d.SupportFiles, w.SupportFiles);
  EXPECT_EQ(d.DeviceGroups, w.DeviceGroups);
  EXPECT_EQ(d.ProductFiles, w.ProductFiles);
  EXPECT_EQ(d.Shortcuts, w.Shortcuts);
  EXPECT_EQ(d.RegChanges, w.RegChanges);
  EXPECT_EQ(d.DeviceTable, w.DeviceTable);
  EXPECT_EQ(d.Scripts, w.Scripts);
  EXPECT_EQ(d.Dialogs, w.Dialogs);
  EXPECT_EQ(language, "English");
}

TEST(RoundTrip, PackageWithoutLanguagesKeepsItsSingleTable) {
  TPackageContent c = RichContent();
  c.Description.Languages.clear();
  for (int i = 0; i < MessageCount; ++i) c.Description.SingleTable.Texts[i] = "only " + std::to_string(i);
  std::string language = "whatever";
  TSetupDescription d = ReadBack(c, language);
  EXPECT_TRUE(d.Languages.empty());
  EXPECT_EQ(d.SingleTable.Texts, c.Description.SingleTable.Texts);
  EXPECT_EQ(d.SingleTable.LanguageId, -1);
  EXPECT_EQ(d.DeviceConnectionMessage, "only 61");
  EXPECT_EQ(language, "whatever");
}

TEST(RoundTrip, EmptyListsAndEmptyMainGroup) {
  TPackageContent c;
  std::string language;
  TSetupDescription d = ReadBack(c, language);
  EXPECT_EQ(d, c.Description);
}

TEST(RoundTrip, SupportFilesCarryNoVersionDateOrSize) {
  TPackageContent c = RichContent();
  c.Description.SupportFiles[0].VersionHigh = 9;
  c.Description.SupportFiles[0].DateTime = 9;
  c.Description.SupportFiles[0].File.Size = 9;
  std::string language;
  TSetupDescription d = ReadBack(c, language);
  EXPECT_EQ(d.SupportFiles[0].VersionHigh, 0u);
  EXPECT_EQ(d.SupportFiles[0].DateTime, 0u);
  EXPECT_EQ(d.SupportFiles[0].File.Size, 0u);
  EXPECT_EQ(d.SupportFiles[0].File.SourceName, "splash.bmp");
}

TEST(RoundTrip, VariableNamesGainTheirPercentSigns) {
  TPackageContent c;
  TSetupVariable v;
  v.Name = "Bare";
  c.Description.Variables = {v};
  v.Name = "%Half";
  c.Description.Variables.push_back(v);
  std::string language;
  TSetupDescription d = ReadBack(c, language);
  EXPECT_EQ(d.Variables[0].Name, "%Bare%");
  EXPECT_EQ(d.Variables[1].Name, "%Half%");
}

TEST(RecordLayout, ShortcutFieldsInStoredOrder) {
  TSetupShortcut r{"n", "t", "a", "d", 5, "f", "i", 2, 1, "r", "g", "c", "k"};
  TBytes want;
  want.S("n").S("t").S("a").S("d").U32(5).S("f").S("i").U32(2).U16(1).S("r").S("g").S("c").S("k");
  TMemoryStream out;
  WriteShortcut(out, r, TFieldWidth::Wide);
  EXPECT_EQ(out.Bytes(), want.B);
}

TEST(RecordLayout, RegistryChangeFieldsInStoredOrder) {
  TSetupRegChange r{2, "key", 1, "name", "data", 1, "x", "y", "c", "k"};
  TBytes want;
  want.U8(2).S("key").U32(1).S("name").S("data").U16(1).S("x").S("y").S("c").S("k");
  TMemoryStream out;
  WriteRegChange(out, r, TFieldWidth::Wide);
  EXPECT_EQ(out.Bytes(), want.B);
}

TEST(RecordLayout, ProductFileHeaderThenFileFields) {
  TSetupInstallerFile f;
  f.Id = 3;
  f.VersionHigh = (3 << 16) | 7;
  f.VersionLow = 2;
  f.DateTime = 0x11223344;
  f.File.Size = 77;
  f.File.SourceName = "a.dll";
  f.File.DestFolder = "%InstallDir%\\";
  f.File.OverwriteMode = 4;
  f.File.Reserved = 1;
  f.File.Shared = 1;
  f.File.Font = 1;
  f.File.Condition = "c";
  TBytes want;
  want.U32(3).U32((3 << 16) | 7).U32(2).U32(0x11223344).U32(77);
  want.S("a.dll").S("%InstallDir%\\").U8(4).U16(1).S("").U8(1).U8(0).U8(0).U8(0).U8(0).U8(0);
  want.S("").U8(1).S("").S("").S("").S("c");
  TMemoryStream out;
  WriteProductFileRecord(out, f);
  EXPECT_EQ(out.Bytes(), want.B);
  TMemoryStream in(want.B);
  EXPECT_EQ(ReadProductFileRecord(in), f);
}

TEST(RecordLayout, DevicePlatformVersionTexts) {
  TBytes b;
  b.U8(1).S("WM5").S("PocketPC").S("").U32(0x00010003).U32(0x12).S("5.1.7").S("6");
  TMemoryStream in(b.B);
  TRapiDevice d = ReadRapiDevice(in);
  EXPECT_EQ(d.Processors, 3);  // only the low 16 bits count
  EXPECT_EQ(d.ExtraProcessors, 0x12);
  EXPECT_EQ(d.MinMajor, 5);
  EXPECT_EQ(d.MinMinor, 1);
  EXPECT_EQ(d.MaxMajor, 6);
  EXPECT_EQ(d.MaxMinor, 0);
  TMemoryStream empty(std::string("\0\0\0\0", 4) + std::string(8, '\0') + std::string("\0\0", 2));
  EXPECT_EQ(ReadRapiDevice(empty).MaxMajor, 0);
}

TEST(RoundTrip, DeviceWithEmptyVersionTextsAtThePackageEndIsVersionZero) {
  // The device table is the last section: its smallest record ends right at the trailer.
  TBytes b;
  b.U32(1).U8(1).S("Dev").S("").S("").U32(4).U32(0).S("").S("");
  TPackageContent c = RichContent();
  c.RawSections[SecDeviceTable] = b.B;
  std::string language;
  TSetupDescription d = ReadBack(c, language);
  ASSERT_EQ(d.DeviceTable.size(), 1u);
  const TRapiDevice& dev = d.DeviceTable[0];
  EXPECT_EQ(dev.Name, "Dev");
  EXPECT_EQ(dev.Processors, 4);
  EXPECT_EQ(std::vector<int32_t>({dev.MinMajor, dev.MinMinor, dev.MaxMajor, dev.MaxMinor}), std::vector<int32_t>(4, 0));
}

TEST(RecordLayout, NarrowWidthForOlderUninstallData) {
  TSetupFile f;
  f.SourceName = "x";
  f.Reserved = 1;
  TSetupShortcut s;
  s.Reserved = 1;
  TSetupRegChange r;
  r.Reserved = 1;
  for (auto width : {TFieldWidth::Wide, TFieldWidth::Narrow}) {
    TMemoryStream out;
    WriteSetupFile(out, f, width);
    WriteShortcut(out, s, width);
    WriteRegChange(out, r, width);
    out.Seek(0);
    EXPECT_EQ(ReadSetupFile(out, width), f);
    EXPECT_EQ(ReadShortcut(out, width), s);
    EXPECT_EQ(ReadRegChange(out, width), r);
    EXPECT_EQ(out.Position(), out.Size());
  }
  TMemoryStream wide, narrow;
  WriteSetupFile(wide, f, TFieldWidth::Wide);
  WriteSetupFile(narrow, f, TFieldWidth::Narrow);
  EXPECT_EQ(wide.Size(), narrow.Size() + 1);
}
