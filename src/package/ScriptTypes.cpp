#include "package/ScriptTypes.h"

#include <algorithm>
#include <array>

#include "package/VarList.h"

namespace vnt {

namespace {

// Opcodes whose stored form carries a given number of fields; every other opcode carries one.
constexpr std::array<uint8_t, 28> NoFields = {10, 15, 16, 17, 22, 23, 25, 45, 50, 55, 59, 60, 74, 103,
                                              104, 111, 115, 116, 117, 118, 119, 120, 121, 122, 123,
                                              124, 125, 126};
constexpr std::array<uint8_t, 26> TwoFields = {3,  8,  14, 21, 28, 33, 41, 52, 53, 54, 62, 63, 64,
                                               72, 78, 79, 80, 86, 88, 93, 94, 95, 98, 112, 113, 114};
constexpr std::array<uint8_t, 19> ThreeFields = {1,  5,  13, 26, 36, 37, 42, 43, 44, 56,
                                                 57, 58, 65, 66, 69, 77, 89, 96, 97};
constexpr std::array<uint8_t, 5> FourFields = {2, 12, 29, 35, 76};
constexpr std::array<uint8_t, 5> FiveFields = {0, 11, 24, 40, 75};

template <size_t N>
bool In(const std::array<uint8_t, N>& list, uint8_t op) {
  return std::find(list.begin(), list.end(), op) != list.end();
}

struct TNamed {
  uint8_t Opcode;
  const char* Name;
};

constexpr TNamed Names[] = {
    {1, "MessageBox"}, {2, "AskYesNo"}, {4, "OpenDocument"}, {5, "FileOpen"}, {6, "FileWrite"},
    {7, "FileWriteLine"}, {8, "FileRead"}, {9, "FileReadLine"}, {10, "FileClose"}, {11, "RegRead"},
    {12, "RegWrite"}, {13, "RegDelete"}, {15, "CancelSetup"}, {16, "NextPage"}, {17, "PreviousPage"},
    {18, "GoToPage"}, {19, "ShowDialog"}, {20, "BrowseFolder"}, {21, "RefreshPage"},
    {22, "StorePageValues"}, {23, "StartInstallation"}, {24, "CallLibrary"}, {25, "FinishSetup"},
    {26, "ExecuteProgram"}, {27, "FileDelete"}, {28, "FileCopy"}, {29, "For"}, {30, "EndFor"},
    {31, "While"}, {32, "EndWhile"}, {33, "AddListItem"}, {34, "ClearList"}, {35, "Calculate"},
    {36, "QueryFileInfo"}, {37, "FindFile"}, {38, "CreateFolder"}, {39, "RemoveFolder"},
    {40, "CreateShortcut"}, {41, "DeleteShortcut"}, {42, "RandomNumber"}, {43, "WindowExists"},
    {44, "CloseWindow"}, {46, "If"}, {47, "EndIf"}, {48, "Label"}, {49, "GoTo"}, {50, "ExitScript"},
    {51, "CheckConnection"}, {52, "DownloadFile"}, {53, "PostData"}, {54, "GetUrlText"},
    {55, "ExitLoop"}, {56, "AssignVariable"}, {57, "IsProductInstalled"}, {58, "UninstallApp"},
    {59, "LoadPreviousSetup"}, {60, "ShowWizard"}, {61, "DeviceConnected"}, {62, "GetDeviceOwner"},
    {63, "GetDeviceOSVersion"}, {64, "DeviceRunProgram"}, {65, "DeviceQueryFileInfo"},
    {66, "DeviceFindFile"}, {67, "DeviceCreateFolder"}, {68, "DeviceRemoveFolder"},
    {69, "DeviceFileOpen"}, {70, "DeviceFileWrite"}, {71, "DeviceFileWriteLine"},
    {72, "DeviceFileRead"}, {73, "DeviceFileReadLine"}, {74, "DeviceFileClose"},
    {75, "DeviceRegRead"}, {76, "DeviceRegWrite"}, {77, "DeviceRegDelete"}, {78, "DeviceCopyFile"},
    {79, "CopyFileToDevice"}, {80, "CopyFileFromDevice"}, {81, "DeviceDeleteFile"},
    {82, "IsProductInstalledOnDevice"}, {83, "GetDevicePlatform"}, {84, "GetDeviceProcessor"},
    {85, "IsProcessorSupported"}, {86, "GetDeviceFreeSpace"}, {87, "GetHotSyncUserCount"},
    {88, "GetHotSyncUserName"}, {89, "ForEachSelected"}, {90, "EndForEach"},
    {91, "SelectAllItems"}, {92, "DeselectAllItems"}, {93, "SelectItems"}, {94, "ListAdd"},
    {95, "ListRemove"}, {96, "ListContains"}, {97, "ListItem"}, {98, "ListCount"}, {99, "SortList"},
    {100, "FillLanguageList"}, {101, "EnableButton"}, {102, "DisableButton"}, {105, "Else"},
    {106, "DecToHex"}, {107, "HexToDec"}, {108, "GetDeviceSerial"}, {109, "IsXScaleDevice"},
    {110, "Pause"}, {111, "AbortDownload"}, {112, "PadNumber"}, {113, "FileMove"},
    {114, "DeviceMoveFile"},
};

}  // namespace

int StoredFieldCount(uint8_t opcode) {
  uint8_t row = opcode & 0x7F;
  if (row == 127 || In(NoFields, row)) return 0;
  if (In(TwoFields, row)) return 2;
  if (In(ThreeFields, row)) return 3;
  if (In(FourFields, row)) return 4;
  if (In(FiveFields, row)) return 5;
  return 1;
}

std::string OpcodeName(uint8_t opcode) {
  for (const auto& n : Names)
    if (n.Opcode == opcode) return n.Name;
  return "";
}

std::optional<uint8_t> OpcodeByName(const std::string& name) {
  for (const auto& n : Names)
    if (CompareTextIgnoringCase(n.Name, name) == 0) return n.Opcode;
  return std::nullopt;
}

}  // namespace vnt
