#include "install/UninstallEntry.h"

#include "install/InstallRules.h"
#include "package/SystemRules.h"

namespace vnt {

std::vector<TRegistryText> AddRemoveValues(const TSetupProperties& p, TSetupVariables& vars,
                                           const TEntryPlaces& places) {
  std::string installDir = vars.ExpandText("%InstallDir%");
  std::string record = places.RecordPath.empty() ? UninstallRecordPath(installDir) : places.RecordPath;
  std::vector<TRegistryText> values = {
      {"DisplayName", vars.ExpandText(p.DisplayName)},
      {"UninstallString", UninstallCommand(places.WindowsFolder, record, p.CompanyName + " " + p.SoftwareName)},
      {"DisplayVersion", vars.ExpandText(p.DisplayVersion)},
      {"URLInfoAbout", vars.ExpandText(p.AboutUrl)},
      {"HelpLink", vars.ExpandText(p.HelpLink)},
      {"URLUpdateInfo", vars.ExpandText(p.UpdateUrl)},
      {"Comments", p.Description},
      {"Contact", vars.ExpandText(p.Contact)},
      {"InstallLocation", vars.ExpandText("%InstallDir%\\")},
      {"InstallSource", WithFolderBackslash(FolderOfFile(places.SetupProgram))},
      {"Publisher", p.CompanyName},
  };
  if (!places.IconFile.empty()) values.push_back({"DisplayIcon", places.IconFile});
  return values;
}

TUninstallRecord UninstallRecordOf(const TSetupDescription& desc, const TSetupMessages& messages,
                                   const TSetupVariables& vars, uint8_t ownFontsOption, uint8_t option5,
                                   const TEntryPlaces& places) {
  const TSetupProperties& p = desc.Properties;
  TUninstallRecord r;
  r.SoftwareName = p.SoftwareName;
  r.Description = p.Description;
  r.CompanyName = p.CompanyName;
  r.OwnFonts = ownFontsOption;
  r.Option5 = option5;
  r.SetupFont = p.SetupFont;
  r.Messages = UninstallerMessages(messages);
  r.DeviceConnectionMessage = desc.DeviceConnectionMessage;
  r.BeforeUninstallScript = desc.Scripts[BeforeUninstallScript];
  r.AfterUninstallScript = desc.Scripts[AfterUninstallScript];
  r.SetupProgram = places.SetupProgram;
  r.IconFile = places.IconFile;
  r.InstalledComponents = vars.SelectedComponents;
  r.Devices = desc.DeviceTable;
  for (int i = 0, n = vars.Table.Count(); i < n; ++i) r.Variables.push_back(vars.Table.Line(i));
  return r;
}

TUninstItem EntryValueItem(const std::string& key, const TRegistryText& value) {
  TUninstItem item;
  item.Kind = UninstRegValue;
  TSetupRegChange& r = item.RegChange.Edit();
  r.Root = 2;
  r.Key = key;
  r.ValueName = value.Name;
  r.Data = value.Value;
  return item;
}

}  // namespace vnt
