// The setup description: everything start-up reads from the package, held for the whole run.
#pragma once

#include <string>
#include <vector>

#include "package/DialogEditorFuncs.h"
#include "package/ScriptTypes.h"
#include "package/SetupTypes.h"

namespace vnt {

struct TSetupDescription {
  TSetupProperties Properties;
  TSetupMinimumRequeriments Requirements;
  TWindowsVersionBounds VersionBounds;

  std::vector<TSetupLanguage> Languages;
  TSetupMessage SingleTable;  // the table of a package without languages
  std::string DefaultLanguageName;
  std::string DeviceConnectionMessage;

  std::vector<TSetupVariable> Variables;
  std::vector<TSetupBackItem> BackItems;
  uint32_t ProductArchiveRange = 0;  // 0: no product archive is restored from the file
  double ProgressScale = 0;          // percent per unit of range
  std::vector<TInstallerComponent> Components;
  std::vector<THotSyncConduit> Conduits;
  std::vector<std::string> ProgressBitmaps;
  std::vector<std::string> FileFolders, ShortcutFolders;
  std::vector<TSetupInstallerFile> SupportFiles, ProductFiles;
  std::vector<TSetupDeviceFileGroup> DeviceGroups;
  std::vector<TSetupShortcut> Shortcuts;
  std::vector<TSetupRegChange> RegChanges;
  std::vector<TRapiDevice> DeviceTable;
  std::array<TScript, PackageScriptCount> Scripts;
  TDialogSection Dialogs;

  bool operator==(const TSetupDescription&) const = default;
};

}  // namespace vnt
