// Scripts as the package stores them: numbered statements with up to five text arguments and
// a guard condition.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

constexpr int ScriptFieldCount = 5;

struct ScriptStatement {
  uint8_t Opcode = 0;
  std::array<std::string, ScriptFieldCount> F;  // F[0] is F1
  std::string Condition;
  bool operator==(const ScriptStatement&) const = default;
};

using TScript = std::vector<ScriptStatement>;

// The seven scripts of the package, in stored order.
enum TPackageScript {
  StartScript = 0, BeforeInstallScript, AfterInstallScript, CloseScript, ErrorScript,
  BeforeUninstallScript, AfterUninstallScript, PackageScriptCount
};

enum TOpcode : uint8_t {
  OpMessageBox = 1, OpAskYesNo = 2, OpOpenDocument = 4, OpFileOpen = 5, OpFileWrite = 6,
  OpFileWriteLine = 7, OpFileRead = 8, OpFileReadLine = 9, OpFileClose = 10, OpRegRead = 11,
  OpRegWrite = 12, OpRegDelete = 13, OpCancelSetup = 15, OpNextPage = 16, OpPreviousPage = 17,
  OpGoToPage = 18, OpShowDialog = 19, OpBrowseFolder = 20, OpRefreshPage = 21,
  OpStorePageValues = 22, OpStartInstallation = 23, OpCallLibrary = 24, OpFinishSetup = 25,
  OpExecuteProgram = 26, OpFileDelete = 27, OpFileCopy = 28, OpFor = 29, OpEndFor = 30,
  OpWhile = 31, OpEndWhile = 32, OpAddListItem = 33, OpClearList = 34, OpCalculate = 35,
  OpQueryFileInfo = 36, OpFindFile = 37, OpCreateFolder = 38, OpRemoveFolder = 39,
  OpCreateShortcut = 40, OpDeleteShortcut = 41, OpRandomNumber = 42, OpWindowExists = 43,
  OpCloseWindow = 44, OpIf = 46, OpEndIf = 47, OpLabel = 48, OpGoTo = 49, OpExitScript = 50,
  OpCheckConnection = 51, OpDownloadFile = 52, OpPostData = 53, OpGetUrlText = 54,
  OpExitLoop = 55, OpAssignVariable = 56, OpIsProductInstalled = 57, OpUninstallApp = 58,
  OpLoadPreviousSetup = 59, OpShowWizard = 60, OpDeviceConnected = 61, OpGetDeviceOwner = 62,
  OpGetDeviceOSVersion = 63, OpDeviceRunProgram = 64, OpDeviceQueryFileInfo = 65,
  OpDeviceFindFile = 66, OpDeviceCreateFolder = 67, OpDeviceRemoveFolder = 68,
  OpDeviceFileOpen = 69, OpDeviceFileWrite = 70, OpDeviceFileWriteLine = 71,
  OpDeviceFileRead = 72, OpDeviceFileReadLine = 73, OpDeviceFileClose = 74, OpDeviceRegRead = 75,
  OpDeviceRegWrite = 76, OpDeviceRegDelete = 77, OpDeviceCopyFile = 78, OpCopyFileToDevice = 79,
  OpCopyFileFromDevice = 80, OpDeviceDeleteFile = 81, OpIsProductInstalledOnDevice = 82,
  OpGetDevicePlatform = 83, OpGetDeviceProcessor = 84, OpIsProcessorSupported = 85,
  OpGetDeviceFreeSpace = 86, OpGetHotSyncUserCount = 87, OpGetHotSyncUserName = 88,
  OpForEachSelected = 89, OpEndForEach = 90, OpSelectAllItems = 91, OpDeselectAllItems = 92,
  OpSelectItems = 93, OpListAdd = 94, OpListRemove = 95, OpListContains = 96, OpListItem = 97,
  OpListCount = 98, OpSortList = 99, OpFillLanguageList = 100, OpEnableButton = 101,
  OpDisableButton = 102, OpElse = 105, OpDecToHex = 106, OpHexToDec = 107,
  OpGetDeviceSerial = 108, OpIsXScaleDevice = 109, OpPause = 110, OpAbortDownload = 111,
  OpPadNumber = 112, OpFileMove = 113, OpDeviceMoveFile = 114
};

// How many argument fields the stored form carries for an opcode (its low 7 bits decide).
int StoredFieldCount(uint8_t opcode);
// The command's name, e.g. "FileOpen"; empty for opcodes without a command.
std::string OpcodeName(uint8_t opcode);
// The opcode of a command name (ignoring case); none for unknown names.
std::optional<uint8_t> OpcodeByName(const std::string& name);

}  // namespace vnt
