#include <gtest/gtest.h>

#include "install/UninstallData.h"
#include "package/PackageStream.h"
#include "package/ScriptCodec.h"
#include "package/SetupRecords.h"
#include "package/SetupStrings.h"

using namespace vnt;

namespace {

TUninstItem FileItem(uint8_t kind, const std::string& path, uint8_t mode) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = path;
  TSetupFile& f = item.File.Edit();
  f.SourceName = "build\\bin\\" + path.substr(path.rfind('\\') + 1);
  f.DestFolder = "%InstallDir%\\";
  f.OverwriteMode = mode;
  f.Reserved = 0x1234;
  f.ReservedFileName = "x\\help.hlp";
  f.Components = "Program|Docs";
  return item;
}

TUninstallRecord Record() {
  TUninstallRecord r;
  r.SoftwareName = "Hello";
  r.Description = "A greeting";
  r.CompanyName = "";
  r.OwnFonts = 1;
  r.Option5 = 7;
  r.SetupFont = {"Tahoma", 8, int32_t(0x80000008), 1, 0};
  r.Messages = UninstallerMessages(DefaultMessages());
  r.DeviceConnectionMessage = "Connecting...";
  ScriptStatement remove{OpFileDelete, {"%InstallDir%\\log.txt"}, "1 = 1|"};
  r.BeforeUninstallScript = {remove};
  r.SetupProgram = "C:\\dl\\setup.exe";
  r.InstalledComponents = "Program|Docs";
  TRapiDevice device;
  device.MatchByName = 1;
  device.Name = "Pocket PC";
  device.Processors = 2577;
  device.MinMajor = 3;
  r.Devices = {device};
  r.Variables = {"%InstallDir%=C:\\Program Files\\Hello", "%Empty%="};
  TUninstItem value;
  value.Kind = UninstRegValue;
  value.RegChange = TSetupRegChange{2, "Software\\Hello", 1, "Count", "3", 0x0102, "", "", "Program", ""};
  TUninstItem folder;
  folder.Kind = UninstFolder;
  folder.Path = "C:\\Program Files\\Hello";
  TUninstItem odd;
  odd.Kind = 9;  // a later kind: its byte only
  r.Items = {FileItem(UninstFile, "C:\\Program Files\\Hello\\hello.exe", 4), FileItem(UninstDeviceFile, "C:\\d\\a.cab", 6),
             folder, value, odd};
  return r;
}

// A record in an older form, written field by field as that version laid it out.
std::string OlderRecord(char letter, int messages, bool deviceByte, TFieldWidth width) {
  TUninstallRecord r = Record();
  TMemoryStream s;
  s.Write(std::string(1, letter).append("UNS").data(), 4);
  for (const auto* t : {&r.SoftwareName, &r.Description, &r.CompanyName}) WritePackageString(s, *t);
  WriteByte(s, r.OwnFonts);
  WriteByte(s, r.Option5);
  WriteFontRecord(s, r.SetupFont);
  for (int i = 0; i < messages; ++i) WritePackageString(s, "m" + std::to_string(i));
  WritePackageString(s, r.DeviceConnectionMessage);
  WriteScript(s, r.BeforeUninstallScript);
  WriteScript(s, r.AfterUninstallScript);
  for (const auto* t : {&r.SetupProgram, &r.IconFile, &r.InstalledComponents}) WritePackageString(s, *t);
  WriteU32(s, 1);
  TMemoryStream device;
  WriteRapiDevice(device, r.Devices[0]);
  s.Write(device.Bytes().data() + (deviceByte ? 0 : 1), device.Bytes().size() - (deviceByte ? 0 : 1));
  WriteU32(s, 0);
  WriteU32(s, 2);
  WriteByte(s, UninstFile);
  WritePackageString(s, "C:\\a.dll");
  WriteSetupFile(s, UninstallFileRecord(*r.Items[0].File), width);
  WriteByte(s, UninstRegValue);
  WriteRegChange(s, *r.Items[3].RegChange, width);
  return s.Bytes();
}

}  // namespace

TEST(UninstallData, RecordReadsBackAsWrittenWithFileNamesReduced) {
  TUninstallRecord r = Record();
  std::string bytes = WriteUninstallRecord(r);
  EXPECT_EQ(bytes.substr(0, 4), "iUNS");
  TUninstallRecord back = ReadUninstallRecord(bytes);
  EXPECT_EQ(back.Items[0].File->SourceName, "hello.exe");
  EXPECT_EQ(back.Items[0].File->ReservedFileName, "help.hlp");
  for (auto& item : r.Items)
    if (item.Kind <= UninstDeviceFile) item.File = UninstallFileRecord(*item.File);
  EXPECT_EQ(back, r);
  EXPECT_EQ(back.Messages[UtExistent], "Existent File");
  EXPECT_EQ(back.Messages[UtCaption], "%SoftwareName% Uninstaller");
}

TEST(UninstallData, ItemCopiesShareTheirFileRecordUntilOneChangesIt) {
  TUninstItem a = FileItem(UninstFile, "C:\\a.dll", 4);
  TUninstItem b = a;
  EXPECT_EQ(&*a.File, &*b.File);
  b.File.Edit().Components = "Docs";
  EXPECT_EQ(a.File->Components, "Program|Docs");
  EXPECT_EQ(b.File->Components, "Docs");
  EXPECT_EQ(b.File->SourceName, a.File->SourceName);
  EXPECT_NE(a, b);
  EXPECT_EQ(TUninstItem{}.RegChange->Key, "");
}

TEST(UninstallData, ModeSevenIsKeptAsModeEightWithTheSharedFlag) {
  TSetupFile f = *FileItem(UninstFile, "C:\\x.dll", 7).File;
  TSetupFile kept = UninstallFileRecord(f);
  EXPECT_EQ(kept.OverwriteMode, 8);
  EXPECT_EQ(kept.Shared, 1);
  EXPECT_EQ(UninstallFileRecord(*FileItem(UninstFile, "C:\\x.dll", 5).File).Shared, 0);
}

TEST(UninstallData, OlderVersionsReadWithTheirNarrowerFieldsAndDefaultTexts) {
  struct TCase {
    char Letter;
    int Messages;
    bool DeviceByte;
    TFieldWidth Width;
  };
  for (TCase c : {TCase{'h', 30, false, TFieldWidth::Wide}, TCase{'g', 30, false, TFieldWidth::Narrow},
                  TCase{'f', 28, false, TFieldWidth::Narrow}, TCase{'e', 24, false, TFieldWidth::Narrow}}) {
    SCOPED_TRACE(c.Letter);
    TUninstallRecord r = ReadUninstallRecord(OlderRecord(c.Letter, c.Messages, c.DeviceByte, c.Width));
    EXPECT_EQ(r.Messages[23], "m23");
    EXPECT_EQ(r.Messages[UtYes], c.Messages > 24 ? "m24" : "Yes");
    EXPECT_EQ(r.Messages[UtNoToAll], c.Messages > 24 ? "m27" : "No To All");
    EXPECT_EQ(r.Messages[UtDestination], c.Messages > 28 ? "m29" : "Destination File");
    EXPECT_EQ(r.Devices[0].MatchByName, 0);
    EXPECT_EQ(r.Devices[0].Name, "Pocket PC");
    EXPECT_EQ(r.Devices[0].Processors, 2577);
    ASSERT_EQ(r.Items.size(), 2u);
    EXPECT_EQ(r.Items[0].File->Components, "Program|Docs");
    EXPECT_EQ(r.Items[1].RegChange->Key, "Software\\Hello");
    EXPECT_EQ(r.Items[1].RegChange->Reserved, c.Width == TFieldWidth::Wide ? 0x0102 : 0x02);
  }
}

TEST(UninstallData, BadRecordsAreRefusedWithTheirMessage) {
  std::string good = WriteUninstallRecord(Record());
  auto message = [](const std::string& bytes) {
    try {
      ReadUninstallRecord(bytes);
    } catch (const EUninstallRecord& e) {
      return std::string(e.what());
    }
    return std::string("read");
  };
  EXPECT_EQ(message("jUNS" + good.substr(4)), InvalidRecordMessage);
  EXPECT_EQ(message("iUN"), InvalidRecordMessage);
  EXPECT_EQ(message(""), InvalidRecordMessage);
  for (size_t cut : {size_t(5), good.size() / 2, good.size() - 1}) EXPECT_EQ(message(good.substr(0, cut)), DamagedRecordMessage);
  // An item count far beyond the data: refused before anything is made for it.
  TUninstallRecord none = Record();
  none.Items.clear();
  std::string huge = WriteUninstallRecord(none);
  huge.replace(huge.size() - 4, 4, std::string("\xff\xff\xff\x7f", 4));
  EXPECT_EQ(message(huge), DamagedRecordMessage);
}
