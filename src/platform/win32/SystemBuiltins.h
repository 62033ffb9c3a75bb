// The built-in variables' values on the running system.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "package/Builtins.h"
#include "platform/win32/SystemInfo.h"

namespace vnt {

class TSystemBuiltins : public TBuiltinSource {
public:
  explicit TSystemBuiltins(TSystemInfo& info);

  std::string Value(TBuiltin id, bool commonShellFolders) override;
  std::string CommandLineParam(int n) override;

  std::string TempSetupDir;             // set when start-up has made the folder
  std::string HotSyncFolder;            // the HotSync software's program folder, when it names one
  HWND ApplicationWindow = nullptr;     // %SetupHandle%
  HWND (*ActiveForm)() = nullptr;       // %ActiveDialogHandle%; none until windows exist

private:
  std::string FolderValue(TBuiltin id, bool commonShellFolders);
  std::string MachineValue(TBuiltin id);

  TSystemInfo& Info;
  std::string ProgramPath;
  std::vector<std::string> Params;
};

// The HotSync desktop software's registry root under HKEY_CURRENT_USER, when installed.
std::optional<std::string> HotSyncBaseKey();
// The keys under HKEY_CURRENT_USER the software may keep, in the order they are looked for.
const std::vector<std::string>& HotSyncBaseKeyNames();

}  // namespace vnt
