#include "vntbuild/SampleProject.h"

#include "package/SetupStrings.h"
#include "vntbuild/wizard/DefaultWizard.h"

namespace vnt {

namespace {

TSetupLanguage Language(const std::string& name, uint32_t id, bool isDefault) {
  TSetupLanguage lang;
  lang.Name = name;
  lang.LanguageId = id;
  lang.Default = isDefault ? 1 : 0;
  lang.Messages.Texts = DefaultMessages();
  lang.Messages.LanguageId = int32_t(id);
  return lang;
}

TSetupInstallerFile ProductFile(int32_t id, const std::string& name, uint32_t size, const std::string& component) {
  TSetupInstallerFile f;
  f.Id = id;
  f.VersionHigh = (1u << 16) | 0;
  f.VersionLow = 0;
  f.DateTime = (uint32_t((2026 - 1980) << 9 | 12 << 5 | 7) << 16) | (9 << 11 | 30 << 5);
  f.File.SourceName = name;
  f.File.DestFolder = "%InstallDir%\\";
  f.File.OverwriteMode = 2;
  f.File.Reserved = 1;
  f.File.Components = component;
  f.File.Size = size;
  return f;
}

}  // namespace

TPackageContent SampleHelloPackage() {
  TPackageContent c;
  TSetupDescription& d = c.Description;
  TSetupProperties& p = d.Properties;
  p.SoftwareName = "Hello";
  p.CompanyName = "Vantry Samples";
  p.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  p.DefaultProgramGroup = "%SoftwareName%";
  p.Description = "A greeting for your handheld";
  p.SetupTypeComponents = {"Program|Help", "Program", "Program|Help"};
  p.DisplayName = "%SoftwareName% 1.0";
  p.DisplayVersion = "1.0";
  p.SetupTitle = "%SoftwareName% Setup";
  p.SetupFont = TFontRecord{"Tahoma", 8, int32_t(0x80000008), 0, 1};
  p.MainGroupDesktopFolder = "%InstallDir%\\Device\\";
  p.MainGroupCabinetFiles = "hello.arm.cab|hello.mips.cab";
  d.Requirements = {1, 8, 32};
  d.VersionBounds.Lower = {(4u << 24) | (0u << 16) | 1381, 0};

  d.Languages.push_back(Language("English", 0x0409, true));
  TSetupLanguage german = Language("Deutsch", 0x0407, false);
  german.Messages.Texts[MsgOk] = "OK";
  german.Messages.Texts[MsgCancel] = "Abbrechen";
  german.Messages.Texts[MsgCloseQuestion] = "Wollen Sie das Setup beenden?";
  d.Languages.push_back(std::move(german));

  d.Components.push_back({{"Program", "The Hello program", ""}, 0, 0, 0});
  d.Components.push_back({{"Help", "Help files", ""}, 0, 0, 0});
  d.ProductFiles.push_back(ProductFile(1, "hello.exe", 24576, "Program"));
  d.ProductFiles.push_back(ProductFile(2, "hello.txt", 120, "Help"));
  d.FileFolders = {"%InstallDir%\\"};
  d.ShortcutFolders = {"%ProgramGroupDir%\\"};

  TSetupShortcut link;
  link.Name = "Hello";
  link.Target = "hello.exe";
  link.ShowCommand = 5;
  link.Folder = "%ProgramGroupDir%\\";
  link.Reserved = 1;
  link.Components = "Program";
  d.Shortcuts.push_back(link);

  TSetupRegChange reg;
  reg.Root = RootCurrentUser;
  reg.Key = "Software\\%CompanyName%\\%SoftwareName%";
  reg.ValueName = "InstallDir";
  reg.Data = "%InstallDir%";
  reg.Reserved = 1;
  d.RegChanges.push_back(reg);

  TRapiDevice ppc;
  ppc.MatchByName = 1;
  ppc.Name = "PPC2003";
  ppc.PlatformName = "PocketPC";
  ppc.Processors = 0x0001;
  ppc.MinMajor = 4;
  ppc.MinMinor = 20;
  ppc.MaxMajor = 5;
  ppc.MaxMinor = 99;
  d.DeviceTable.push_back(ppc);

  c.SetOption(OptCreateUninstaller, true);
  AddDefaultWizardIfNone(c);
  return c;
}

}  // namespace vnt
