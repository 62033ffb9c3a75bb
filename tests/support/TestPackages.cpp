#include "TestPackages.h"

#include "package/SetupStrings.h"

namespace vnt::test {

namespace {

TSetupLanguage Language(const std::string& name, uint32_t id, bool isDefault, const std::string& tag) {
  TSetupLanguage lang;
  lang.Name = name;
  lang.LanguageId = id;
  lang.Default = isDefault;
  lang.Messages.LanguageId = int32_t(id);
  for (int i = 0; i < MessageCount; ++i) lang.Messages.Texts[i] = tag + " " + DefaultMessages()[i];
  return lang;
}

TSetupFile File(const std::string& name, int n) {
  TSetupFile f;
  f.SourceName = name;
  f.DestFolder = "%InstallDir%\\sub" + std::to_string(n) + "\\";
  f.OverwriteMode = uint8_t(n % 11);
  f.Reserved = uint16_t(0x1234 + n);
  f.ReservedText = "rt" + std::to_string(n);
  f.Shared = 1;
  f.RegisterServer = uint8_t(n & 1);
  f.TypeLibrary = 2;
  f.HotSync = uint8_t(n & 2);
  f.RegisterServer2 = 3;
  f.ReservedFlag = 4;
  f.ReservedFileName = "res" + name;
  f.Font = 5;
  f.FontFaceName = "Face " + std::to_string(n);
  f.Group = "group";
  f.Components = "Program|Help";
  f.Condition = "%IconDesktop% = 1|";
  return f;
}

}  // namespace

TPackageContent RichContent() {
  TPackageContent c;
  TSetupDescription& d = c.Description;
  TSetupProperties& p = d.Properties;
  p.SoftwareName = "Rich Product";
  p.CompanyName = "Test Company";
  p.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  p.DefaultProgramGroup = "%SoftwareName%";
  p.Description = std::string(5000, 'd') + " long description";
  p.SetupTypeComponents = {"A|B", "A", "B|C"};
  p.DisplayName = "Rich 2.0";
  p.DisplayVersion = "2.0.1";
  p.Contact = "support";
  p.AboutUrl = "http://about.example/";
  p.HelpLink = "http://help.example/";
  p.UpdateUrl = "http://update.example/";
  p.SetupPicture = "pic.bmp";
  p.SetupTitle = "%SoftwareName% Setup";
  p.BackgroundBitmap = "back.bmp";
  p.BackgroundMode = 2;
  p.BackgroundColor1 = 0x00FF8000;
  p.BackgroundColor2 = int32_t(0x8000000F);
  p.GradientDirection = 1;
  p.BackgroundSize = 7;
  p.SplashBitmap = "splash.bmp";
  p.SetupFont = {"Verdana", 9, int32_t(0x80000008), 0x0B, 238};
  p.AgreementFile = "licence.txt";
  p.MainGroupDesktopFolder = "%InstallDir%\\Device\\";
  p.MainGroupCabinetFiles = "rich.arm.cab|rich.mips.cab";
  d.Requirements = {4, 16, 64};
  d.VersionBounds = {{0x04000000, 0}, {0xFFFFFFFF, 0}, {0x05010A28, 0x0200}, {0x06000000, 0x0103}};

  d.Languages.push_back(Language("English", 0x409, true, "en"));
  d.Languages.push_back(Language("Deutsch", 0x407, false, "de"));
  d.Languages.push_back(Language("Fran\xe7" "ais", 0x40C, false, "fr"));

  TSetupVariable var;
  var.Name = "%Custom%";
  var.Reg = {1, "Software\\Test\\Key", 0, "Value", "default %InstallDir%", 1, "x", "y", "A", "1 = 1|"};
  var.Folder = 1;
  d.Variables.push_back(var);
  var.Name = "%Second%";
  var.Reg.Root = 2;
  var.Folder = 0;
  d.Variables.push_back(var);

  TSetupBackItem text;
  text.Kind = 0;
  text.Position = 3;
  text.Effect = 5;
  text.Text = "Welcome to %SoftwareName%";
  text.Font = {"Arial", 24, 0x00FFFFFF, 1, 0};
  text.ShadowColor = 0x00404040;
  text.Shadow = 1;
  TSetupBackItem picture;
  picture.Kind = 1;
  picture.Position = 8;
  picture.Picture = "logo.bmp";
  picture.TransparentColor = 0x00FF00FF;
  picture.Transparent = 1;
  d.BackItems = {text, picture};

  d.ProductArchiveRange = 1000;
  d.ProgressScale = 0.1;
  d.Components.push_back({{"A", "First component", "a.bmp"}, 123456, 500, 0});
  d.Components.push_back({{"B", "Second component", ""}, 0, 0, 50});
  THotSyncConduit conduit{"ABCD", 1, "cond.dll", "dir", "remote", "file", "name", "info", 2, "module", 1, "client"};
  d.Conduits.push_back(conduit);

  d.ProgressBitmaps = {"p1.bmp", "p2.bmp"};
  d.FileFolders = {"%InstallDir%\\", "%InstallDir%\\sub1\\"};
  d.ShortcutFolders = {"%ProgramGroupDir%\\"};

  TSetupInstallerFile support;
  support.Id = 7;
  support.File = File("splash.bmp", 1);
  support.File.DestFolder = "%TempSetupDir%\\";
  d.SupportFiles.push_back(support);

  d.DeviceGroups.push_back({"Extra", "%InstallDir%\\Extra\\", "extra files", "r", "extra.cab"});
  for (int i = 0; i < 3; ++i) {
    TSetupInstallerFile f;
    f.Id = 100 + i;
    f.VersionHigh = (3u << 16) | 7;
    f.VersionLow = 2;
    f.DateTime = 0x5A8B4C21u + uint32_t(i);
    f.File = File("file" + std::to_string(i) + ".dll", i);
    f.File.Size = 1000000u * uint32_t(i + 1);
    d.ProductFiles.push_back(f);
  }
  d.Shortcuts.push_back({"Rich", "file0.dll", "-x", "desc", 5, "%ProgramGroupDir%\\", "icon.ico", 2, 1, "r", "g", "A", "%IconDesktop% = 1|"});
  d.Shortcuts.push_back({"Uninstall", "UNINSTALLER", "", "", 1, "%DesktopDir%\\", "", 0, 1, "", "", "", ""});
  d.RegChanges.push_back({0, ".rich", 0, "", "Rich.Document", 1, "", "", "A", ""});
  d.RegChanges.push_back({2, "Software\\Rich", 1, "Count", "42", 1, "a", "b", "", "%X% = 2|"});

  TRapiDevice dev;
  dev.MatchByName = 0;
  dev.Name = "PPC";
  dev.PlatformName = "PocketPC";
  dev.ExcludedPlatforms = "HPC, HPC Pro, Jupiter";
  dev.Processors = 0x0013;
  dev.ExtraProcessors = 0x8000;
  dev.MinMajor = 3;
  dev.MinMinor = 0;
  dev.MaxMajor = 3;
  dev.MaxMinor = 99;
  d.DeviceTable.push_back(dev);

  ScriptStatement ask;
  ask.Opcode = OpAskYesNo;
  ask.F = {"%Answer%", "Question", "Install %SoftwareName%?", "QUESTION", ""};
  ask.Condition = "%IsNT% = 1|";
  ScriptStatement cancel;
  cancel.Opcode = OpCancelSetup;
  cancel.Condition = "%Answer% = NO|";
  d.Scripts[StartScript] = {ask, cancel};
  ScriptStatement assign;
  assign.Opcode = OpAssignVariable;
  assign.F = {"%Done%", "1", "0", "", ""};
  d.Scripts[AfterInstallScript] = {assign};
  d.Scripts[AfterUninstallScript] = {assign, assign};

  TSetupDialog welcome;
  welcome.Name = "Welcome";
  welcome.Title = "%D0_Title%";
  welcome.ClientHeight = 325;
  welcome.ClientWidth = 495;
  welcome.DialogFont = {"Tahoma", 8, int32_t(0x80000008), 0, 1};
  welcome.StyleName = "Frame";
  TControlDef label;
  label.Kind = KindLabel;
  label.Left = 120;
  label.Top = 12;
  label.Height = 40;
  label.Width = 360;
  label.P = {"%D0_1%", "Tahoma|8|-2147483640|0|1|", "1", "", "", ""};
  TControlDef next;
  next.Kind = KindButton;
  next.Left = 324;
  next.Top = 294;
  next.Height = 23;
  next.Width = 75;
  next.P = {"&Next >", "", "2", "", "next", ""};
  ScriptStatement nextPage;
  nextPage.Opcode = OpNextPage;
  next.Script = {nextPage};
  TControlDef dir;
  dir.Kind = KindList;
  dir.Role = RoleDirList;
  dir.Binding = "%InstallDir%";
  dir.P = {"Tahoma|8|0|0|1|", "a|b", "a", "", "tag", "1"};
  welcome.Controls = {label, next, dir};
  welcome.BeforeBuildScript = {assign};
  TSetupDialog style;
  style.Name = "Frame";
  style.IsStyle = 1;
  TControlDef space;
  space.Kind = KindStyleSpace;
  space.Left = 10;
  space.Width = 100;
  style.Controls = {space};
  TSetupDialog install;
  install.Name = "INSTALL";
  TSetupDialog finish = welcome;
  finish.Name = "Finish";
  d.Dialogs.Dialogs = {style, welcome, install, finish};
  d.Dialogs.FirstPage = "Welcome";
  d.Dialogs.LastPage = "Finish";

  c.Options = {0, 1, 0, 0, 7, 1, 0};
  return c;
}

std::string FakeImage(size_t size) {
  std::string image(size, '\x90');
  image[0] = 'M';
  image[1] = 'Z';
  return image;
}

TPackage OpenBytes(const std::string& file, uint32_t packageEndResource) {
  TPackage pkg;
  OpenPackage(pkg, "test.exe", std::make_unique<TMemoryStream>(file), packageEndResource);
  return pkg;
}

}  // namespace vnt::test
