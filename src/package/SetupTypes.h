// The records of the setup description, as the package stores them. Plain values, owned by
// the lists of TSetupDescription.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "package/PackagePrimitives.h"

namespace vnt {

struct TSetupMinimumRequeriments {
  uint8_t ScreenClass = 0;  // 0 none, 1 640x480 ... 5 1024x768
  int32_t ColorDepth = 0;   // bits per pixel, 0 = none
  int32_t Memory = 0;       // units of 1,000,000 bytes, 0 = none
  bool operator==(const TSetupMinimumRequeriments&) const = default;
};

// The setup types' component lists: index 0, 1 and 2 (2 is the custom selection).
constexpr int SetupTypeCount = 3;

struct TSetupProperties {
  // SecProperties
  std::string SoftwareName, CompanyName, DefaultInstallDir, DefaultProgramGroup, Description;
  std::array<std::string, SetupTypeCount> SetupTypeComponents;
  std::string DisplayName, DisplayVersion, Contact, AboutUrl, HelpLink, UpdateUrl;
  // SecProperties2
  std::string SetupPicture, SetupTitle, BackgroundBitmap;
  uint8_t BackgroundMode = 0;  // 0 stretched, 1 tiled, 2 centred
  int32_t BackgroundColor1 = 0, BackgroundColor2 = 0;
  uint8_t GradientDirection = 0;  // 1 top to bottom, 0 left to right
  uint8_t BackgroundSize = 0;     // 1 whole screen, 0 maximised, other: 7/8 centred
  std::string SplashBitmap;
  TFontRecord SetupFont;
  std::string AgreementFile;
  // the main device file group, stored at the start of SecProductFiles
  std::string MainGroupDesktopFolder, MainGroupCabinetFiles;
  bool operator==(const TSetupProperties&) const = default;
};

// The four Windows version bounds of SecProperties; only the two long ones are checked.
struct TWindowsVersionBounds {
  TVersionLimit Short1, Short2, Lower, Upper;
  bool operator==(const TWindowsVersionBounds&) const = default;
};

constexpr int MessageCount = 69;
using TSetupMessages = std::array<std::string, MessageCount>;

struct TSetupMessage {
  TSetupMessages Texts;
  int32_t LanguageId = -1;  // -1 for the single table of a package without languages
  bool operator==(const TSetupMessage&) const = default;
};

struct TSetupLanguage {
  std::string Name;
  uint32_t LanguageId = 0;
  uint8_t Default = 0;
  TSetupMessage Messages;
  bool operator==(const TSetupLanguage&) const = default;
};

struct TSetupFile {
  std::string SourceName, DestFolder;
  uint8_t OverwriteMode = 0;
  uint16_t Reserved = 0;
  std::string ReservedText;
  uint8_t Shared = 0, RegisterServer = 0, TypeLibrary = 0, HotSync = 0, RegisterServer2 = 0,
          ReservedFlag = 0;
  std::string ReservedFileName;
  uint8_t Font = 0;
  std::string FontFaceName, Group, Components, Condition;
  uint32_t Size = 0;  // a product file's, stored before the other fields
  bool operator==(const TSetupFile&) const = default;
};

struct TSetupInstallerFile {
  int32_t Id = 0;
  uint32_t VersionHigh = 0, VersionLow = 0;
  uint32_t DateTime = 0;  // MS-DOS packed: date in the high word, time in the low word
  TSetupFile File;
  bool operator==(const TSetupInstallerFile&) const = default;
};

struct TSetupDeviceFileGroup {
  std::string Name, DesktopFolder, Description, ReservedText, CabinetFiles;
  bool operator==(const TSetupDeviceFileGroup&) const = default;
};

struct TSetupShortcut {
  std::string Name, Target, Arguments, Description;
  int32_t ShowCommand = 0;
  std::string Folder, IconFile;
  int32_t IconIndex = 0;
  uint16_t Reserved = 0;
  std::string ReservedText, Group, Components, Condition;
  bool operator==(const TSetupShortcut&) const = default;
};

enum TRegRoot : uint8_t { RootClasses = 0, RootCurrentUser = 1, RootLocalMachine = 2 };
enum TRegType : int32_t { RegString = 0, RegNumber = 1, RegBinary = 2, RegMultiString = 3 };

struct TSetupRegChange {
  uint8_t Root = 0;
  std::string Key;
  int32_t Type = 0;
  std::string ValueName, Data;
  uint16_t Reserved = 0;
  std::string ReservedText1, ReservedText2, Components, Condition;
  bool operator==(const TSetupRegChange&) const = default;
};

struct TSetupComponent {
  std::string Name, Description, IconFile;
  bool operator==(const TSetupComponent&) const = default;
};

struct TInstallerComponent : TSetupComponent {
  uint32_t ArchivePosition = 0;
  uint32_t ArchiveRange = 0;  // 0: the component has no archive of its own
  uint32_t ProgressStart = 0;
  bool operator==(const TInstallerComponent&) const = default;
};

struct THotSyncConduit {
  std::string Creator;
  uint8_t Integrate = 0;
  std::string ConduitFile, Directory, RemoteDatabase, File, Name, Information;
  uint8_t Priority = 0;
  std::string Module;
  uint8_t ComConduit = 0;
  std::string ComClient;
  bool operator==(const THotSyncConduit&) const = default;
};

struct TSetupVariable {
  std::string Name;  // always with its percent signs
  TSetupRegChange Reg;
  uint8_t Folder = 0;  // strip one trailing backslash from the value
  bool operator==(const TSetupVariable&) const = default;
};

struct TSetupBackItem {
  uint8_t Kind = 0;  // 0 text, other: picture
  uint8_t Position = 0;
  uint8_t Effect = 0;
  // text item
  std::string Text;
  TFontRecord Font;
  int32_t ShadowColor = 0;
  uint8_t Shadow = 0;
  // picture item
  std::string Picture;
  int32_t TransparentColor = 0;
  uint8_t Transparent = 0;
  bool IsText() const { return Kind == 0; }
  bool operator==(const TSetupBackItem&) const = default;
};

// A device platform definition of the device table.
struct TRapiDevice {
  uint8_t MatchByName = 0;
  std::string Name, PlatformName, ExcludedPlatforms;
  uint16_t Processors = 0, ExtraProcessors = 0;
  int32_t MinMajor = 0, MinMinor = 0, MaxMajor = 0, MaxMinor = 0;
  bool operator==(const TRapiDevice&) const = default;
};

}  // namespace vnt
