#include "setup/win32/PreviousSetup.h"

#include "package/Builtins.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemInfo.h"
#include "script/DesktopRules.h"
#include "setup/win32/SetupProgFuncs.h"

namespace vnt {

std::string PreviousUninstallRecord(const TDesktopSources& at, const std::string& companyName,
                                    const std::string& softwareName) {
  TRegKeyHandle key = OpenFullAccess(at.UninstallRoot, UninstallEntryKey(at.UninstallKey, companyName, softwareName));
  if (!key || !RegValueExists(key.Get(), "DisplayVersion")) return "";
  std::optional<std::string> command = TSystemInfo::RegReadString(key.Get(), "UninstallString");
  if (!command) return "";
  std::vector<std::string> words = CommandLineParams(*command);
  if (words.empty() || words[0].empty()) return "";
  DWORD attributes = GetFileAttributesA(words[0].c_str());
  bool isFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  return isFile ? words[0] : "";
}

void LoadPreviousSetup(TSetupState& state) {
  const TSetupProperties& p = state.Description.Properties;
  std::string record = PreviousUninstallRecord(state.Desktop->Sources, p.CompanyName, p.SoftwareName);
  if (record.empty() || !state.ReadUninstallRecord) return;
  std::optional<std::string> installed = state.ReadUninstallRecord(record);
  if (!installed) return;  // a damaged record is no earlier installation to maintain
  state.Description.Properties.SetupTypeComponents[2] = *installed;
  state.Vars->SetVariable("%SetupType%", "2");
  state.Vars->MaintenanceMode = true;
}

}  // namespace vnt
