#include "install/UninstallData.h"

#include <iterator>

#include "install/OverwriteRules.h"
#include "package/MessageIds.h"
#include "package/PackageStream.h"
#include "package/ScriptCodec.h"
#include "package/SetupQueries.h"
#include "package/SetupRecords.h"

namespace vnt {

const std::array<int, UninstallerMessageCount> UninstallerMessageIds = {
    MsgUninstallerCaption, MsgUninstallQuestion, MsgUninstalling, MsgUninstallCompleted, MsgUninstallIncomplete,
    MsgSharedQuestion, MsgTypeLibQuestion, MsgActiveXQuestion, MsgKeyLabel, MsgValueLabel, MsgConduitLabel,
    MsgInsertFirstDisk, MsgRemovingComponents, MsgPath, MsgDefault, MsgDirectorySelection, MsgDirectory,
    MsgDirectories, MsgDrives, MsgFileNotFound, MsgOk, MsgCancel, MsgBrowse, MsgClose, MsgYes, MsgYesToAll, MsgNo,
    MsgNoToAll, MsgExistentFile, MsgDestinationFile};

namespace {

// What each record version leaves out or narrows.
struct TRecordVersion {
  char Letter;
  bool DeviceKindByte;  // the device definitions carry their match-by-name byte
  TFieldWidth Width;    // of the 2-byte fields in file and registry records
  int MessagesStored;   // the later positions take the English defaults
};

constexpr TRecordVersion Versions[] = {
    {'i', true, TFieldWidth::Wide, 30},   {'h', false, TFieldWidth::Wide, 30},
    {'g', false, TFieldWidth::Narrow, 30}, {'f', false, TFieldWidth::Narrow, 28},
    {'e', false, TFieldWidth::Narrow, 24},
};

const char* const DefaultLaterTexts[] = {"Yes", "Yes To All", "No", "No To All", "Existent File", "Destination File"};

const TRecordVersion* VersionOf(const std::string& magic) {
  if (magic.size() != 4 || magic.substr(1) != "UNS") return nullptr;
  for (const auto& v : Versions)
    if (v.Letter == magic[0]) return &v;
  return nullptr;
}

}  // namespace

void WriteUninstItem(TStream& s, const TUninstItem& item) {
  WriteByte(s, item.Kind);
  if (item.Kind == UninstRegValue) {
    WriteRegChange(s, *item.RegChange, TFieldWidth::Wide);
    return;
  }
  if (item.Kind > UninstConduit) return;
  WritePackageString(s, item.Path);
  if (item.Kind <= UninstDeviceFile) WriteSetupFile(s, UninstallFileRecord(*item.File), TFieldWidth::Wide);
}

TUninstItem ReadUninstItem(TStream& s, TFieldWidth width) {
  TUninstItem item;
  item.Kind = ReadByte(s);
  if (item.Kind == UninstRegValue) {
    item.RegChange = ReadRegChange(s, width);
  } else if (item.Kind <= UninstConduit) {
    item.Path = ReadPackageString(s);
    if (item.Kind <= UninstDeviceFile) item.File = ReadSetupFile(s, width);
  }
  return item;
}

const char* UninstKindName(uint8_t kind) {
  static const char* const names[] = {"file", "device file", "file", "uninstaller", "folder", "value", "conduit"};
  return kind < std::size(names) ? names[kind] : "item";
}

TSetupUninstallerMsgs UninstallerMessages(const TSetupMessages& table) {
  TSetupUninstallerMsgs texts;
  for (int i = 0; i < UninstallerMessageCount; ++i) texts[size_t(i)] = table[size_t(UninstallerMessageIds[size_t(i)])];
  return texts;
}

TSetupFile UninstallFileRecord(TSetupFile file) {
  file.SourceName = FileNamePart(file.SourceName);
  file.ReservedFileName = FileNamePart(file.ReservedFileName);
  if (file.OverwriteMode == OverwriteAskExistingOnly) {
    file.OverwriteMode = OverwriteAskByVersion;
    file.Shared = 1;
  }
  return file;
}

std::string WriteUninstallRecord(const TUninstallRecord& r) {
  TMemoryStream s;
  s.Write("iUNS", 4);
  WritePackageString(s, r.SoftwareName);
  WritePackageString(s, r.Description);
  WritePackageString(s, r.CompanyName);
  WriteByte(s, r.OwnFonts);
  WriteByte(s, r.Option5);
  WriteFontRecord(s, r.SetupFont);
  for (const auto& text : r.Messages) WritePackageString(s, text);
  WritePackageString(s, r.DeviceConnectionMessage);
  WriteScript(s, r.BeforeUninstallScript);
  WriteScript(s, r.AfterUninstallScript);
  WritePackageString(s, r.SetupProgram);
  WritePackageString(s, r.IconFile);
  WritePackageString(s, r.InstalledComponents);
  WriteU32(s, uint32_t(r.Devices.size()));
  for (const auto& d : r.Devices) WriteRapiDevice(s, d);
  WriteU32(s, uint32_t(r.Variables.size()));
  for (const auto& v : r.Variables) WritePackageString(s, v);
  WriteU32(s, uint32_t(r.Items.size()));
  for (const auto& item : r.Items) WriteUninstItem(s, item);
  return std::move(s.Bytes());
}

namespace {

TUninstallRecord ReadFields(TStream& s, const TRecordVersion& v) {
  TUninstallRecord r;
  r.SoftwareName = ReadPackageString(s);
  r.Description = ReadPackageString(s);
  r.CompanyName = ReadPackageString(s);
  r.OwnFonts = ReadByte(s);
  r.Option5 = ReadByte(s);
  r.SetupFont = ReadFontRecord(s);
  for (int i = 0; i < UninstallerMessageCount; ++i)
    r.Messages[size_t(i)] = i < v.MessagesStored ? ReadPackageString(s) : DefaultLaterTexts[i - 24];
  r.DeviceConnectionMessage = ReadPackageString(s);
  r.BeforeUninstallScript = ReadScript(s);
  r.AfterUninstallScript = ReadScript(s);
  r.SetupProgram = ReadPackageString(s);
  r.IconFile = ReadPackageString(s);
  r.InstalledComponents = ReadPackageString(s);
  // The smallest forms: a device of its numbers and empty texts, a text of its zero byte.
  for (uint32_t n = ReadCount(s, 8 + 5), i = 0; i < n; ++i) r.Devices.push_back(ReadRapiDevice(s, v.DeviceKindByte));
  for (uint32_t n = ReadCount(s, 1), i = 0; i < n; ++i) r.Variables.push_back(ReadPackageString(s));
  uint32_t items = ReadCount(s, 1);
  r.Items.reserve(items);
  for (uint32_t i = 0; i < items; ++i) r.Items.push_back(ReadUninstItem(s, v.Width));
  return r;
}

}  // namespace

TUninstallRecord ReadUninstallRecord(const std::string& bytes) {
  const TRecordVersion* version = VersionOf(bytes.substr(0, 4));
  if (!version) throw EUninstallRecord(InvalidRecordMessage);
  TMemoryStream s(bytes);
  s.Seek(4);
  try {
    return ReadFields(s, *version);
  } catch (const EPackageError&) {
    throw EUninstallRecord(DamagedRecordMessage);
  }
}

}  // namespace vnt
