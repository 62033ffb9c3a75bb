// The uninstall record ("uninst.dat"): what an installation created and what a later removal
// or maintenance run needs to undo it, and its byte form in the five record versions.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "package/PackagePrimitives.h"
#include "package/ScriptTypes.h"
#include "package/SharedRecord.h"
#include "package/SetupTypes.h"

namespace vnt {

enum TUninstKind : uint8_t {
  UninstFile = 0,         // an installed file, or a shortcut made
  UninstDeviceFile = 1,   // a cabinet file of a device file group
  UninstPlainFile = 2,    // removed without questions: product icon, generated files, the record
  UninstUninstaller = 3,  // the uninstaller program
  UninstFolder = 4,       // a folder the setup made
  UninstRegValue = 5,     // a registry value written
  UninstConduit = 6,      // a Palm conduit registered; the path is its creator
};
// What an item of the kind is, for a log line; "item" for an unknown kind.
const char* UninstKindName(uint8_t kind);

// Items are many (one per file and folder) and copied into the journal and the record: the
// file and value records are shared between the copies.
struct TUninstItem {
  uint8_t Kind = UninstFile;
  std::string Path;
  TSharedRecord<TSetupFile> File;            // kinds 0 and 1
  TSharedRecord<TSetupRegChange> RegChange;  // kind 5
  bool operator==(const TUninstItem&) const = default;
};

// The 30 messages the uninstaller and a maintenance run take from the record.
constexpr int UninstallerMessageCount = 30;
using TSetupUninstallerMsgs = std::array<std::string, UninstallerMessageCount>;
// The message number behind each position.
extern const std::array<int, UninstallerMessageCount> UninstallerMessageIds;
// Positions (from 0) in TSetupUninstallerMsgs.
enum TUninstallerText {
  UtCaption = 0, UtQuestion, UtUninstalling, UtCompleted, UtIncomplete, UtSharedQuestion, UtTypeLibQuestion,
  UtActiveXQuestion, UtKey, UtValue, UtConduit, UtFirstDisk, UtRemovingComponents, UtPath, UtDefault,
  UtSelectCaption, UtDirectory, UtDirectories, UtDrives, UtNotFound, UtOk, UtCancel, UtBrowse, UtClose, UtYes,
  UtYesToAll, UtNo, UtNoToAll, UtExistent, UtDestination
};
TSetupUninstallerMsgs UninstallerMessages(const TSetupMessages& table);

struct TUninstallRecord {
  std::string SoftwareName, Description, CompanyName;
  uint8_t OwnFonts = 0, Option5 = 0;
  TFontRecord SetupFont;
  TSetupUninstallerMsgs Messages;
  std::string DeviceConnectionMessage;
  TScript BeforeUninstallScript, AfterUninstallScript;
  std::string SetupProgram, IconFile, InstalledComponents;
  std::vector<TRapiDevice> Devices;
  std::vector<std::string> Variables;  // "name=value"
  std::vector<TUninstItem> Items;
  bool operator==(const TUninstallRecord&) const = default;
};

// A record that cannot be used; the text is the one to show.
class EUninstallRecord : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
constexpr const char* InvalidRecordMessage = "Invalid Uninstaller Script.";
constexpr const char* DamagedRecordMessage = "The uninstall record is damaged and cannot be read.";

// The current ("iUNS") form.
std::string WriteUninstallRecord(const TUninstallRecord& record);
// Reads any of the five versions. Throws EUninstallRecord: InvalidRecordMessage for an unknown
// magic, DamagedRecordMessage for a record cut short or holding impossible counts.
TUninstallRecord ReadUninstallRecord(const std::string& bytes);

// One item in the record's own encoding: its kind byte, then what that kind keeps. The
// install journal keeps its items in the same form.
void WriteUninstItem(TStream& s, const TUninstItem& item);
TUninstItem ReadUninstItem(TStream& s, TFieldWidth width = TFieldWidth::Wide);

// The file record as the uninstall data keeps it: names reduced to their file-name part, and
// OverwriteAskExistingOnly stored as OverwriteAskByVersion with the shared flag set.
TSetupFile UninstallFileRecord(TSetupFile file);

}  // namespace vnt
