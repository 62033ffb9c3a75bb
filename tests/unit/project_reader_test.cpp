#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestFolder.h"
#include "package/SetupStrings.h"
#include "vntbuild/project/ProjectReader.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// A project that uses every feature of the project file once.
const char* const EveryFeature = R"({
  // comments are allowed
  "product": {"name": "Hello", "company": "Samples \u00e9", "description": "Greets",
              "installDir": "%ProgramFilesDir%\\Hi", "programGroup": "Hi", "title": "Hi Setup",
              "displayName": "Hello 1", "displayVersion": "1.0", "contact": "me", "aboutUrl": "a",
              "helpLink": "h", "updateUrl": "u", "picture": "side.bmp", "splash": "splash.bmp",
              "agreement": "lic.txt", "font": {"face": "Verdana", "size": 9, "bold": true, "color": "#102030"}},
  "requirements": {"screen": "800x600", "colorDepth": 16, "memoryMB": 64,
                   "windowsBound1": "5.1.2600 SP2", "windowsBound2": "6.0.0", "shortBound1": "4.0.0"},
  "options": {"deviceOnly": true, "backgroundWindow": true, "requiresActiveSync": true,
              "requiresHotSync": true, "uninstallOption": 7, "createUninstaller": false, "ownFonts": true},
  "uninstaller": "bin/uninst.exe",
  "volumeSize": "1440K",
  "languages": [
    {"name": "English", "id": "0x409"},
    {"name": "Deutsch", "id": 1031, "default": true, "messageFile": "de.json", "messages": {"1": "Abbruch"}}
  ],
  "variables": [{"name": "DataDir", "default": "%InstallDir%\\Data", "folder": true,
                 "registry": {"root": "HKCU", "key": "Software\\Hi", "value": "Data"}}],
  "components": [{"name": "Program", "description": "The program", "icon": "p.bmp"},
                 {"name": "Help", "ownArchive": true}],
  "setupTypes": [["Program", "Help"], ["Program"], "Help"],
  "files": [
    {"source": "bin/hello.exe", "components": ["Program"], "overwrite": "ifNewerVersion",
     "version": "3.7.0.2", "date": "2026-12-07T09:30:00", "id": 40, "name": "HELLO.EXE",
     "shared": true, "registerServer": true, "typeLibrary": 2, "font": "Hello Sans",
     "condition": "%IsNT% = 1|", "group": "g", "reserved": {"value": 9, "text": "t", "flag": 1, "fileName": "f"}},
    {"source": "help/*.HTM", "recursive": true, "destination": "%InstallDir%\\Help", "overwrite": 9,
     "hotSync": true, "registerServer2": true}
  ],
  "supportFiles": [{"source": "art/side.bmp"}],
  "device": {"desktopFolder": "%InstallDir%\\Device\\", "cabinets": ["a.cab", "b.cab"],
             "groups": [{"name": "Extra", "desktopFolder": "%InstallDir%\\X\\", "description": "x",
                         "cabinets": "x.cab", "reserved": {"text": "r"}}]},
  "shortcuts": [{"name": "Hello", "target": "hello.exe", "arguments": "-a", "description": "d",
                 "show": "maximized", "folder": "%DesktopDir%\\", "icon": "i.ico", "iconIndex": 2,
                 "group": "g", "components": "Program", "condition": "%IconDesktop% = 1|"}],
  "registry": [{"root": "HKLM", "key": "Software\\Hi", "value": "N", "type": "number", "data": "42"}],
  "progressBitmaps": ["p1.bmp", "p2.bmp"],
  "background": {"bitmap": "back.bmp", "mode": "tile", "color1": "desktop", "color2": 255,
                 "gradient": "vertical", "size": "fullScreen",
                 "items": [{"text": "Welcome", "shadow": true, "shadowColor": "#000001", "position": "bottomRight",
                            "effect": "fromTopLeft", "font": {"size": 24}},
                           {"picture": "logo.bmp", "transparent": true, "transparentColor": "#FF00FF"}]},
  "conduits": [{"creator": "ABCD", "integrate": true, "conduitFile": "c.dll", "priority": 2, "comConduit": true,
                "comClient": "cc", "name": "n", "directory": "d", "remoteDatabase": "r", "file": "f",
                "information": "i", "module": "m"}],
  "devicePlatforms": [{"name": "PPC", "matchByName": true, "platform": "PocketPC", "excludedPlatforms": "HPC",
                       "processors": ["ARM720", "STRONGARM"], "extraProcessors": 3,
                       "minVersion": "4.20", "maxVersion": "5.99"}],
  "scripts": {"start": "MessageBox \"Hi\", \"there\"", "close": {"file": "close.vns"},
              "afterUninstall": ["AssignVariable \"%A%\", \"1\"", "CancelSetup"]},
  "dialogs": [
    {"name": "Frame", "styleDialog": true, "controls": [{"kind": "styleSpace", "left": 5, "width": 50}]},
    {"name": "Welcome", "title": "T", "width": 460, "height": 300, "style": "Frame",
     "scripts": {"beforeBuild": "NextPage", "leave": "PreviousPage"},
     "controls": [
       {"kind": "label", "left": 1, "top": 2, "width": 3, "height": 4, "caption": "%D0_1%",
        "font": {"face": "Arial", "size": 12, "bold": true}, "transparent": true},
       {"kind": "button", "caption": "Next", "buttonType": "default", "tag": "next", "script": "NextPage"},
       {"kind": "list", "role": "dirList", "binding": "%InstallDir%", "items": ["a", "b"], "multiSelect": false},
       {"kind": "shape", "shape": "4", "penColor": "windowText", "brushColor": "#FF0000"},
       {"kind": 14, "role": 13}
     ]},
    {"name": "INSTALL"}, {"name": "Done"}
  ]
})";

}  // namespace

TEST(ProjectReader, EveryFeatureReadsIntoTheDescription) {
  TTestFolder dir;
  dir.Write("bin/hello.exe", std::string(1234, 'x'));
  dir.Write("bin/uninst.exe", "u");
  dir.Write("help/b.htm", "b");
  dir.Write("help/a.htm", "a");
  dir.Write("help/sub/c.htm", "c");
  dir.Write("help/notes.txt", "not matched");
  dir.Write("art/side.bmp", "BM");
  dir.Write("de.json", R"({"0": "Gut", "1": "replaced by the inline one", "7": "Beenden?"})");
  dir.Write("close.vns", "// closing\nAssignVariable \"%CanClose%\", \"1\"\n");
  dir.Write("project.json", EveryFeature);

  TProject p = ReadProject(dir.Path("project.json").string());
  const TSetupDescription& d = p.Content.Description;
  EXPECT_EQ(d.Properties.CompanyName, "Samples \xe9");  // code page 1252
  EXPECT_EQ(d.Properties.DefaultInstallDir, "%ProgramFilesDir%\\Hi");
  EXPECT_EQ(d.Properties.SetupFont, (TFontRecord{"Verdana", 9, 0x302010, 1, 1}));
  EXPECT_EQ(d.Properties.AgreementFile, "lic.txt");
  EXPECT_EQ(d.Properties.SetupTypeComponents, (std::array<std::string, 3>{"Program|Help", "Program", "Help"}));
  EXPECT_EQ(d.Requirements, (TSetupMinimumRequeriments{4, 16, 64}));
  EXPECT_EQ(d.VersionBounds.Lower, (TVersionLimit{0x05010A28, 0x0200}));
  EXPECT_EQ(d.VersionBounds.Upper, (TVersionLimit{0x06000000, 0}));
  EXPECT_EQ(d.VersionBounds.Short1.Version, 0x04000000u);
  EXPECT_EQ(p.Content.Options, (std::array<uint8_t, 7>{1, 1, 1, 1, 7, 0, 1}));
  EXPECT_EQ(p.UninstallerPath, dir.Path("bin/uninst.exe").string());
  EXPECT_EQ(p.VolumeSize, 1440u * 1024);

  ASSERT_EQ(d.Languages.size(), 2u);
  EXPECT_EQ(d.Languages[0].LanguageId, 0x409u);
  EXPECT_EQ(d.Languages[0].Default, 0);
  EXPECT_EQ(d.Languages[0].Messages.Texts, DefaultMessages());
  EXPECT_EQ(d.Languages[1].Messages.LanguageId, 1031);
  EXPECT_EQ(d.Languages[1].Messages.Texts[0], "Gut");
  EXPECT_EQ(d.Languages[1].Messages.Texts[1], "Abbruch");
  EXPECT_EQ(d.Languages[1].Messages.Texts[7], "Beenden?");
  EXPECT_EQ(d.Languages[1].Messages.Texts[8], DefaultMessages()[8]);
  EXPECT_EQ(d.DefaultLanguageName, "Deutsch");

  ASSERT_EQ(d.Variables.size(), 1u);
  EXPECT_EQ(d.Variables[0].Name, "%DataDir%");
  EXPECT_EQ(d.Variables[0].Reg.Root, RootCurrentUser);
  EXPECT_EQ(d.Variables[0].Reg.Data, "%InstallDir%\\Data");
  EXPECT_EQ(d.Variables[0].Folder, 1);
  ASSERT_EQ(d.Components.size(), 2u);
  EXPECT_EQ(d.Components[0].IconFile, "p.bmp");
  EXPECT_EQ(p.ComponentArchives, std::vector<std::string>{"Help"});

  // Files: the named one, then the wildcard's matches sorted, subfolders added to the destination.
  ASSERT_EQ(p.ProductFiles.size(), 4u);
  const TProjectFile& exe = p.ProductFiles[0];
  EXPECT_EQ(exe.SourcePath, dir.Path("bin/hello.exe").string());
  EXPECT_EQ(exe.Record.Id, 40);
  EXPECT_EQ(exe.Record.VersionHigh, (3u << 16) | 7);
  EXPECT_EQ(exe.Record.VersionLow, 2u);
  EXPECT_TRUE(exe.VersionGiven && exe.DateGiven);
  EXPECT_EQ(exe.Record.DateTime, (uint32_t((2026 - 1980) << 9 | 12 << 5 | 7) << 16) | (9 << 11 | 30 << 5));
  EXPECT_EQ(exe.Record.File.Size, 1234u);
  EXPECT_EQ(exe.Record.File.SourceName, "HELLO.EXE");
  EXPECT_EQ(exe.Record.File.OverwriteMode, 4);
  EXPECT_EQ(exe.Record.File.TypeLibrary, 2);
  EXPECT_EQ(exe.Record.File.Font, 1);
  EXPECT_EQ(exe.Record.File.FontFaceName, "Hello Sans");
  EXPECT_EQ(exe.Record.File.Reserved, 9);
  EXPECT_EQ(exe.Record.File.ReservedFileName, "f");
  std::vector<std::string> names, folders;
  std::vector<int32_t> ids;
  for (const auto& f : p.ProductFiles) {
    names.push_back(f.Record.File.SourceName);
    folders.push_back(f.Record.File.DestFolder);
    ids.push_back(f.Record.Id);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"HELLO.EXE", "a.htm", "b.htm", "c.htm"}));
  EXPECT_EQ(folders[3], "%InstallDir%\\Help\\sub\\");
  EXPECT_EQ(folders[1], "%InstallDir%\\Help\\");
  EXPECT_EQ(ids, (std::vector<int32_t>{40, 1, 2, 3}));
  EXPECT_FALSE(p.ProductFiles[1].VersionGiven);
  EXPECT_EQ(p.ProductFiles[1].Record.File.OverwriteMode, 9);
  ASSERT_EQ(p.SupportFiles.size(), 1u);
  EXPECT_EQ(p.SupportFiles[0].Record.File.DestFolder, "%TempSetupDir%\\");
  EXPECT_EQ(d.FileFolders, (std::vector<std::string>{"%InstallDir%\\", "%InstallDir%\\Help\\", "%InstallDir%\\Help\\sub\\"}));
  EXPECT_TRUE(d.ShortcutFolders.empty());  // the desktop is never the setup's to remove

  EXPECT_EQ(d.Properties.MainGroupCabinetFiles, "a.cab|b.cab");
  ASSERT_EQ(d.DeviceGroups.size(), 1u);
  EXPECT_EQ(d.DeviceGroups[0].ReservedText, "r");
  ASSERT_EQ(d.Shortcuts.size(), 1u);
  EXPECT_EQ(d.Shortcuts[0].ShowCommand, 3);
  EXPECT_EQ(d.Shortcuts[0].Reserved, 1);
  ASSERT_EQ(d.RegChanges.size(), 1u);
  EXPECT_EQ(d.RegChanges[0].Type, RegNumber);
  EXPECT_EQ(d.ProgressBitmaps.size(), 2u);
  EXPECT_EQ(d.Properties.BackgroundColor1, int32_t(0x80000001));
  EXPECT_EQ(d.Properties.BackgroundSize, 1);
  ASSERT_EQ(d.BackItems.size(), 2u);
  EXPECT_EQ(d.BackItems[0].Font.Size, 24);
  EXPECT_EQ(d.BackItems[0].Font.Name, "Verdana");
  EXPECT_EQ(d.BackItems[0].ShadowColor, 0x010000);
  EXPECT_EQ(d.BackItems[0].Effect, 5);
  EXPECT_EQ(d.BackItems[1].Kind, 1);
  EXPECT_EQ(d.BackItems[1].TransparentColor, 0xFF00FF);
  ASSERT_EQ(d.Conduits.size(), 1u);
  EXPECT_EQ(d.Conduits[0].ComClient, "cc");
  ASSERT_EQ(d.DeviceTable.size(), 1u);
  EXPECT_EQ(d.DeviceTable[0].Processors, (1 << 1) | (1 << 9));
  EXPECT_EQ(d.DeviceTable[0].ExtraProcessors, 3);
  EXPECT_EQ(d.DeviceTable[0].MaxMinor, 99);

  ASSERT_EQ(d.Scripts[StartScript].size(), 1u);
  EXPECT_EQ(d.Scripts[StartScript][0].Opcode, OpMessageBox);
  ASSERT_EQ(d.Scripts[CloseScript].size(), 1u);
  EXPECT_EQ(d.Scripts[CloseScript][0].F[0], "%CanClose%");
  EXPECT_EQ(d.Scripts[AfterUninstallScript].size(), 2u);

  ASSERT_EQ(d.Dialogs.Dialogs.size(), 4u);
  EXPECT_EQ(d.Dialogs.FirstPage, "Welcome");
  EXPECT_EQ(d.Dialogs.LastPage, "Done");
  const TSetupDialog& w = d.Dialogs.Dialogs[1];
  EXPECT_EQ(w.StyleName, "Frame");
  EXPECT_EQ(w.DialogFont, d.Properties.SetupFont);
  EXPECT_EQ(w.BeforeBuildScript[0].Opcode, OpNextPage);
  ASSERT_EQ(w.Controls.size(), 5u);
  EXPECT_EQ(w.Controls[0].P, (std::array<std::string, 6>{"%D0_1%", "Arial|12|" + std::to_string(0x302010) + "|1|1|", "1"}));
  EXPECT_EQ(w.Controls[0].Height, 4);
  EXPECT_EQ(w.Controls[1].P[2], "2");
  EXPECT_EQ(w.Controls[1].P[4], "next");
  EXPECT_EQ(w.Controls[1].Script[0].Opcode, OpNextPage);
  EXPECT_EQ(w.Controls[2].Role, RoleDirList);
  EXPECT_EQ(w.Controls[2].P[1], "a|b");
  EXPECT_EQ(w.Controls[2].P[5], "0");
  EXPECT_EQ(w.Controls[3].P[1], std::to_string(int32_t(0x80000008)));
  EXPECT_EQ(w.Controls[3].P[2], std::to_string(0x0000FF));
  EXPECT_EQ(w.Controls[4].Kind, KindProgress);
  EXPECT_EQ(d.Dialogs.Dialogs[0].Controls[0].Kind, KindStyleSpace);
}

TEST(ProjectReader, MinimalProjectGetsSensibleDefaults) {
  TTestFolder dir;
  dir.Write("app.exe", "MZ");
  dir.Write("project.json", R"({"product": {"name": "App", "company": "Me"},
                                "files": [{"source": "app.exe", "destination": "%InstallDir%\\bin\\deep"}],
                                "shortcuts": [{"name": "App", "target": "app.exe"}]})");
  TProject p = ReadProject(dir.Path("project.json").string());
  const TSetupDescription& d = p.Content.Description;
  EXPECT_EQ(d.Properties.DefaultInstallDir, "%ProgramFilesDir%\\%SoftwareName%");
  EXPECT_EQ(d.Properties.SetupTitle, "%SoftwareName% Setup");
  EXPECT_EQ(p.Content.Options, (std::array<uint8_t, 7>{0, 0, 0, 0, 0, 1, 0}));
  EXPECT_TRUE(d.Languages.empty());
  EXPECT_EQ(d.SingleTable.Texts, DefaultMessages());
  EXPECT_EQ(d.SingleTable.LanguageId, -1);
  ASSERT_EQ(p.ProductFiles.size(), 1u);
  EXPECT_EQ(p.ProductFiles[0].Record.Id, 1);
  EXPECT_EQ(p.ProductFiles[0].Record.File.OverwriteMode, 6);
  EXPECT_EQ(p.ProductFiles[0].Record.File.Reserved, 1);
  EXPECT_EQ(p.ProductFiles[0].Record.File.DestFolder, "%InstallDir%\\bin\\deep\\");  // folders end in "\\"
  // The folders between the install folder and the file's are created and recorded too.
  EXPECT_EQ(d.FileFolders, (std::vector<std::string>{"%InstallDir%\\", "%InstallDir%\\bin\\", "%InstallDir%\\bin\\deep\\"}));
  EXPECT_EQ(d.ShortcutFolders, std::vector<std::string>{"%ProgramGroupDir%\\"});
  EXPECT_EQ(d.Shortcuts[0].ShowCommand, 5);
}

TEST(ProjectReader, TheReferenceExampleReads) {
  // The complete example of docs/project-file.md, with the files it names.
  std::ifstream doc(std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "docs" / "project-file.md");
  std::stringstream text;
  text << doc.rdbuf();
  std::string page = text.str();
  size_t start = page.find("```jsonc", page.find("## Example"));
  ASSERT_NE(start, std::string::npos);
  start = page.find('\n', start) + 1;
  TTestFolder dir;
  dir.Write("project.json", page.substr(start, page.find("```", start) - start));
  for (const char* file : {"bin/hello.exe", "help/index.htm", "help/more/topic.htm", "device/hello.arm.cab",
                           "art/side.bmp", "licence.txt"})
    dir.Write(file, "x");
  dir.Write("scripts/start.vns", "AssignVariable \"%Greeted%\", \"1\"\n");
  TProject p = ReadProject(dir.Path("project.json").string());
  const TSetupDescription& d = p.Content.Description;
  EXPECT_EQ(p.ProductFiles.size(), 4u);
  EXPECT_EQ(p.ProductFiles[2].Record.File.DestFolder, "%InstallDir%\\Help\\more\\");
  EXPECT_EQ(d.Languages.size(), 2u);
  EXPECT_EQ(d.Dialogs.FirstPage, "Welcome");
  EXPECT_EQ(d.Scripts[StartScript].size(), 1u);
  EXPECT_EQ(p.Content.Options[OptRequiresAppMgr - 1], 1);
}
