// Writes the setups of the page tour: pagefixture <kind> <stub.exe> <out.exe>
//   pages         a wizard with every control kind and role of the pages: a welcome page, licence and
//                 folder pages framed by a style dialog, program folder, options with lists
//                 filled by scripts and a secondary dialog, ready, "INSTALL" and finish pages.
//                 The LeaveScripts of the pages with values append what they stored to
//                 pages-out.txt next to the setup, one line each: "<page>|<name>=<value>|...".
//   start-no      the same wizard behind a start script that asks whether to go on
//   loader        no pages, no splash picture, and many support files: a loader that stays
//   appmgr-default  needs the Application Manager; the second of two languages is the default
#include <cstdlib>
#include <iostream>
#include <string>

#include "FixtureParts.h"
#include "SetupStrings.h"
#include "StdFileStream.h"
#include "TestPackages.h"

using namespace vnt;
using namespace vnt::fixture;

namespace {

const std::string Bold8 = "Tahoma|8|-2147483640|1|1|";
const std::string Heading = "Tahoma|12|-2147483640|1|1|";
const std::string WindowColour = "-2147483643";
constexpr uint32_t Key = 0xFF00FF;  // the colour transparent pictures leave out

// Appends one line to pages-out.txt next to the setup.
std::string Dump(const std::string& line) {
  return "FileOpen \"%OutStatus%\", \"%SourceDir%\\\\pages-out.txt\", \"0\"\n"
         "FileWriteLine \"" + line + "\"\n"
         "FileClose\n";
}

// The three buttons at the foot of a page whose lower edge is at `bottom`.
std::vector<TControlDef> Buttons(int bottom, const std::string& next = "&Next >") {
  int top = bottom - 31;
  return {MakeControlDef(KindLine, 0, top - 13, 4, 495, {}),
          PageButton(249, top, "< &Back", 0, "back", Script("PreviousPage")),
          PageButton(324, top, next, 2, "next", Script("NextPage")),
          PageButton(408, top, "Cancel", 1, "cancel", Script("CancelSetup"))};
}

std::vector<TControlDef> Join(std::vector<TControlDef> a, const std::vector<TControlDef>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TControlDef Label(int left, int top, int height, int width, const std::string& caption,
                  const std::string& font = Font8, bool transparent = false, uint8_t role = 0) {
  return MakeControlDef(KindLabel, left, top, height, width, {caption, font, transparent ? "1" : "0"}, {}, "", role);
}

// The setup picture: a blue disc with a yellow centre on the transparent colour.
std::string SetupPicture() {
  return Bitmap(92, 98, [](int x, int y) -> uint32_t {
    int dx = x - 46, dy = y - 49, r2 = dx * dx + dy * dy;
    if (r2 < 14 * 14) return 0xFFDC00;
    return r2 < 40 * 40 ? 0x1E50C8 : Key;
  });
}

// A green arrow pointing right, for the picture button.
std::string Arrow() {
  return Bitmap(16, 16, [](int x, int y) -> uint32_t { return x >= 3 && x - 3 <= 8 - std::abs(y - 8) ? 0x008C00 : Key; });
}

// A blue fade, drawn stretched to twice its size.
std::string Side() {
  return Bitmap(46, 49, [](int, int y) -> uint32_t { return uint32_t(20 + y * 4) << 8 | uint32_t(120 + y * 2); });
}

const char* const LicenseRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Tahoma;}}{\\colortbl;\\red0\\green0\\blue128;}\r\n"
    "\\f0\\fs16{\\b\\cf1 LICENSE AGREEMENT}\\par\r\n\\par\r\n"
    "Page Tour is a test product of the Vantry setup. You may install it on as many computers as you "
    "like.\\par\r\n\\par\r\n"
    "{\\i Read the full terms at} http://www.example.com/license {\\i before you go on.}\\par\r\n\\par\r\n"
    "THE PRODUCT IS PROVIDED AS IT IS, WITHOUT WARRANTY OF ANY KIND.\\par\r\n}\r\n";

const char* const Readme =
    "Release notes\r\n\r\n- First release of Page Tour.\r\n- More at http://www.example.com/notes\r\n";

TSetupDialog Welcome() {
  TSetupDialog d =
      Page("Welcome", "%SoftwareName% Setup", 495, 325,
           Join({MakeControlDef(KindShape, 0, 0, 282, 495, {"0", WindowColour, WindowColour}),
                 MakeControlDef(KindImage, 12, 12, 98, 92, {"", "0", "1", "0"}, {}, "", RoleSetupPicture),
                 Label(120, 12, 40, 360, "%D0_1%", Heading, true), Label(120, 60, 56, 360, "%D0_2%", Font8, true),
                 Label(148, 162, 28, 332, "The arrow greets you.", Font8, true),
                 MakeControlDef(KindImageButton, 120, 158, 24, 24, {"arrow.bmp"},
                                Script(R"(MessageBox "Picture button", "Hello from %SoftwareName%.", "INFORMATION")")),
                 MakeControlDef(KindImage, 451, 240, 32, 32, {"", "0", "1", "0"}, {}, "", RoleProgramIcon)},
                Buttons(325)));
  d.BeforeBuildScript = Script(R"(
    AssignVariable "%D0_1%", "Welcome to the %SoftwareName% Setup Wizard"
    AssignVariable "%D0_2%", "This wizard installs %SoftwareName% on your computer. Click Next to continue, or Cancel to leave the setup."
  )");
  return d;
}

// Frames the licence and folder pages: a banner with the page's heading above the page area.
TSetupDialog FrameStyle() {
  TSetupDialog d =
      Page("Frame", "%SoftwareName% Setup", 495, 325,
           {MakeControlDef(KindShape, 0, 0, 58, 495, {"0", WindowColour, WindowColour}),
            Label(16, 10, 16, 400, "%FrameTitle%", Bold8, true), Label(28, 28, 28, 400, "%FrameText%", Font8, true),
            MakeControlDef(KindImage, 449, 13, 32, 32, {"", "0", "1", "0"}, {}, "", RoleProgramIcon),
            MakeControlDef(KindLine, 0, 58, 4, 495, {}), MakeControlDef(KindStyleSpace, 0, 62, 263, 495, {})});
  d.IsStyle = 1;
  return d;
}

TSetupDialog License() {
  TSetupDialog d = Page("License", "License Agreement", 495, 325,
                        Join({MakeControlDef(KindList, 12, 4, 150, 471, {Font8}, {}, "", RoleAgreement),
                              MakeControlDef(KindRadioBox, 12, 162, 17, 400,
                                             {"I &accept the terms of the license agreement", Font8, "0", "1"},
                                             Script(R"(EnableButton "next")"), "%Agreement%"),
                              MakeControlDef(KindRadioBox, 12, 182, 17, 400,
                                             {"I do &not accept the terms of the license agreement", Font8, "0", "0"},
                                             Script(R"(DisableButton "next")"), "%Agreement%")},
                             Buttons(263)));
  d.StyleName = "Frame";
  d.BeforeBuildScript = Script(R"(
    AssignVariable "%FrameTitle%", "License Agreement"
    AssignVariable "%FrameText%", "Please read the following license agreement carefully."
  )");
  d.AfterBuildScript = Script(R"(DisableButton "next" if "%Agreement% != 1|")");
  d.LeaveScript = Script("StorePageValues\n" + Dump("License|Agreement=%Agreement%"));
  return d;
}

TSetupDialog Folder() {
  TSetupDialog d =
      Page("Folder", "Destination Folder", 495, 325,
           Join({Label(12, 4, 16, 471, "Setup will install %SoftwareName% in the following folder."),
                 MakeControlDef(KindTextBox, 12, 24, 21, 384, {"%InstallDir%", Font8, "0"}, {}, "%InstallDir%",
                                RoleInstallDir),
                 PageButton(408, 23, "B&rowse...", 0, "browse", Script(R"(BrowseFolder "%InstallDir%")")),
                 MakeControlDef(KindList, 12, 54, 120, 230, {Font8}, {}, "%InstallDir%", RoleDirList),
                 MakeControlDef(KindCombo, 12, 182, 21, 230, {Font8}, {}, "%InstallDir%", RoleDrive),
                 MakeControlDef(KindFrame, 256, 50, 70, 227, {"Disk space", Font8}),
                 Label(268, 70, 16, 100, "Required:"), Label(372, 70, 16, 100, "", Font8, false, RoleRequiredSpace),
                 Label(268, 92, 16, 100, "Available:"), Label(372, 92, 16, 100, "", Font8, false, RoleFreeSpace)},
                Buttons(263)));
  d.StyleName = "Frame";
  d.BeforeBuildScript = Script(R"(
    AssignVariable "%FrameTitle%", "Choose Destination Location"
    AssignVariable "%FrameText%", "Choose the folder where Setup will install the files."
  )");
  d.LeaveScript = Script("StorePageValues\n" + Dump("Folder|InstallDir=%InstallDir%"));
  return d;
}

TSetupDialog Group() {
  TSetupDialog d =
      Page("Group", "Program Folder", 495, 325,
           Join({Label(12, 12, 40, 471,
                       "Setup will add program icons to the program folder below. Type a new folder name, or "
                       "choose one from the existing folders."),
                 Label(12, 56, 16, 200, "&Program folder:"),
                 MakeControlDef(KindTextBox, 12, 74, 21, 471, {"%ProgramGroup%", Font8, "0"}, {}, "%ProgramGroup%",
                                RoleProgramGroup),
                 Label(12, 104, 16, 200, "E&xisting folders:"),
                 MakeControlDef(KindList, 12, 122, 150, 471, {Font8}, {}, "", RoleProgramGroups)},
                Buttons(325)));
  d.LeaveScript = Script("StorePageValues\n" + Dump("Group|ProgramGroup=%ProgramGroup%"));
  return d;
}

TSetupDialog Options() {
  TSetupDialog d = Page(
      "Options", "Options", 495, 325,
      Join({Label(12, 12, 16, 230, "Choose the options of %SoftwareName%.", Bold8),
            MakeControlDef(KindFrame, 12, 32, 92, 230, {"Options", Font8}),
            MakeControlDef(KindCheckBox, 24, 52, 17, 210, {"Create a &desktop icon", Font8, "%Desktop%", "yes", "no"},
                           {}, "%Desktop%"),
            Label(24, 77, 16, 60, "&Colour:"),
            MakeControlDef(KindCombo, 88, 74, 21, 140, {Font8, "1", "Red|Green|Blue", "%Colour%", "", "colours"}, {},
                           "%Colour%"),
            Label(24, 100, 16, 210, "", Font8, false, RoleComponentDescription),
            Label(256, 32, 16, 227, "E&xtras (pick any):"),
            MakeControlDef(KindList, 256, 50, 74, 227, {Font8, "", "", "", "extras", "1"}),
            Label(12, 132, 16, 230, "&Language:"),
            MakeControlDef(KindList, 12, 150, 56, 230, {Font8, "", "%Language%", "", "langs", "0"}, {}, "%Language%"),
            Label(256, 132, 16, 227, "Notes:"),
            MakeControlDef(KindList, 256, 150, 56, 227, {Font8, "Read the notes|Keep the defaults", "", "", "notes"},
                           {}, "", RoleMemo),
            MakeControlDef(KindShape, 12, 214, 56, 471, {"2", "0", "12648447"}),
            Label(24, 222, 16, 330, "Nothing is being copied yet:", Font8, true),
            MakeControlDef(KindProgress, 24, 242, 16, 330, {}),
            PageButton(396, 238, "&Details...", 0, "details", Script(R"(ShowDialog "Details")"))},
           Buttons(325)));
  d.AfterBuildScript = Script(R"(
    ClearList "extras"
    AddListItem "extras", "Zeta tools"
    AddListItem "extras", "alpha docs"
    AddListItem "extras", "Mu samples"
    AddListItem "no such list", "lost"
    SortList "extras"
    SelectAllItems "extras"
    DeselectAllItems "extras"
    SelectItems "extras", "%Extras%"
    FillLanguageList "langs"
    AddListItem "notes", "A note added by the page"
    SortList "notes"
    AddListItem "colours", "Yellow"
  )");
  // The selected extras, and every item (all selected for the count, then the user's
  // selection again).
  d.LeaveScript = Script(R"(
    StorePageValues
    AssignVariable "%Extras%", ""
    ForEachSelected "%Item%", "extras"
      ListAdd "%Extras%", "%Item%"
    EndForEach
    SelectAllItems "extras"
    AssignVariable "%AllExtras%", ""
    ForEachSelected "%Item%", "extras"
      ListAdd "%AllExtras%", "%Item%"
    EndForEach
    DeselectAllItems "extras"
    SelectItems "extras", "%Extras%"
  )" + Dump("Options|Desktop=%Desktop%|Colour=%Colour%|Extras=%Extras%|AllExtras=%AllExtras%|Language=%Language%"));
  return d;
}

TSetupDialog Ready() {
  std::vector<TControlDef> controls = {Label(12, 12, 16, 471, "Setup is ready to install %SoftwareName% with these settings:", Bold8)};
  const char* lines[] = {"Destination: %InstallDir%", "Program folder: %ProgramGroup%", "Desktop icon: %Desktop%",
                         "Colour: %Colour%",          "Extras: %Extras%",               "Language: %Language%",
                         "Company: %Company%",        "Reports: %Reports%"};
  int top = 36;
  for (const char* line : lines) {
    controls.push_back(Label(24, top, 16, 459, line));
    top += 20;
  }
  controls.push_back(MakeControlDef(KindImageButton, 24, 204, 36, 36, {""},
                                    Script(R"(MessageBox "About", "%SoftwareName% 1.0", "INFORMATION")"), "",
                                    RoleProgramIcon));
  TSetupDialog d = Page("Ready", "Ready to Install", 495, 325, Join(controls, Buttons(325, "&Install")));
  // Back from the installation, the wizard goes on to the finish page.
  d.AfterShowScript = Script(Dump("Ready|shown|Installed=%Installed%") + R"(GoToPage "Finish" if "%Installed% = 1|")");
  return d;
}

TSetupDialog Install() {
  TSetupDialog d =
      Page("INSTALL", "Installing", 495, 325,
           {Label(12, 12, 16, 471, "Installing %SoftwareName%...", Bold8),
            Label(12, 40, 16, 471, "Preparing the installation", Font8, false, RoleStatus),
            Label(12, 60, 16, 471, "", Font8, false, RoleDetail), MakeControlDef(KindProgress, 12, 84, 16, 471, {}),
            MakeControlDef(KindLine, 0, 281, 4, 495, {}),
            PageButton(408, 294, "Cancel", 1, "cancel", Script("CancelSetup"))});
  d.BeforeBuildScript = Script("AssignVariable \"%Installed%\", \"1\"\n" + Dump("INSTALL|before"));
  d.AfterShowScript = Script("StartInstallation");
  d.LeaveScript = Script(Dump("INSTALL|left"));
  return d;
}

TSetupDialog Finish() {
  std::vector<TControlDef> controls = {
      MakeControlDef(KindShape, 0, 0, 282, 495, {"0", WindowColour, WindowColour}),
      MakeControlDef(KindImage, 12, 12, 98, 92, {"side.bmp", "1", "0", "1"}),
      Label(120, 12, 40, 360, "Completing the %SoftwareName% Setup", Heading, true),
      Label(120, 56, 30, 360, "%SoftwareName% is installed. Read the notes below, then click Finish.", Font8, true),
      MakeControlDef(KindList, 120, 92, 110, 360, {Font8, "", "%TempSetupDir%\\readme.txt"}, {}, "", RoleTextFile),
      Label(120, 208, 16, 360, "Items that could not be removed:", Font8, true),
      MakeControlDef(KindList, 120, 226, 48, 360, {Font8}, {}, "", RoleNotDeleted),
      MakeControlDef(KindLine, 0, 281, 4, 495, {}),
      PageButton(249, 294, "< &Back", 0, "back", Script("PreviousPage")),
      PageButton(324, 294, "&Finish", 2, "finish", Script("FinishSetup")),
      PageButton(408, 294, "Cancel", 1, "cancel", Script("CancelSetup"))};
  TSetupDialog d = Page("Finish", "Setup Complete", 495, 325, controls);
  d.LeaveScript = Script("StorePageValues\n" +
                         Dump("Finish|InstallDir=%InstallDir%|ProgramGroup=%ProgramGroup%|Agreement=%Agreement%"
                              "|Desktop=%Desktop%|Colour=%Colour%|Extras=%Extras%|Language=%Language%"
                              "|Company=%Company%|Reports=%Reports%"));
  return d;
}

// Opened from the options page; OK stores, Cancel only closes.
TSetupDialog Details() {
  TSetupDialog d = Page("Details", "Details", 320, 150,
                        {Label(12, 15, 16, 80, "&Company:"),
                         MakeControlDef(KindTextBox, 96, 12, 21, 212, {"%Company%", Font8, "0"}, {}, "%Company%"),
                         MakeControlDef(KindCheckBox, 96, 42, 17, 212,
                                        {"Send usage &reports", Font8, "%Reports%", "1", "0"}, {}, "%Reports%"),
                         MakeControlDef(KindLine, 0, 104, 4, 320, {}),
                         PageButton(152, 117, "OK", 2, "ok", Script("StorePageValues\nCancelSetup")),
                         PageButton(236, 117, "Cancel", 1, "cancel", Script("CancelSetup"))});
  d.LeaveScript = Script(Dump("Details|left"));
  return d;
}

TSetupLanguage Language(const std::string& name, uint32_t id, bool isDefault, const std::string& prefix) {
  TSetupLanguage lang;
  lang.Name = name;
  lang.LanguageId = id;
  lang.Default = isDefault;
  lang.Messages.LanguageId = int32_t(id);
  for (int i = 0; i < MessageCount; ++i) lang.Messages.Texts[i] = prefix + DefaultMessages()[i];
  return lang;
}

TSetupInstallerFile ProductFile(int32_t id, const std::string& name, uint32_t size, const std::string& components,
                                const std::string& condition = "") {
  TSetupInstallerFile f;
  f.Id = id;
  f.File.SourceName = name;
  f.File.DestFolder = "%InstallDir%\\";
  f.File.Size = size;
  f.File.Components = components;
  f.File.Condition = condition;
  return f;
}

// The rich test content, made into a plain product: no background window, no requirements.
TPackageContent Product() {
  TPackageContent c = test::RichContent();
  TSetupDescription& d = c.Description;
  TSetupProperties& p = d.Properties;
  p.SoftwareName = "Page Tour";
  p.CompanyName = "Vantry Tests";
  p.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  p.DefaultProgramGroup = "%SoftwareName%";
  p.Description = "A tour of every wizard page.";
  p.SetupTitle = "%SoftwareName% Setup";
  p.SetupTypeComponents = {"Program|Docs", "Program", "Program|Docs"};
  p.SetupPicture = "pic.bmp";
  p.AgreementFile = "license.rtf";
  p.SplashBitmap.clear();
  p.BackgroundBitmap.clear();
  p.SetupFont = {"Tahoma", 8, int32_t(0x80000008), 0, 1};
  c.Options = {};
  c.SetOption(OptCreateUninstaller, true);
  d.Requirements = {};
  d.VersionBounds = {};
  d.Languages = {Language("English", 0x409, true, ""), Language("Deutsch", 0x407, false, "de ")};
  d.Components = {{{"Program", "The program", ""}, 0, 0, 0}, {{"Docs", "The manuals", ""}, 0, 0, 0}};
  // Selected: 2 MB + 512 KB. Not counted: a file whose condition fails, a component not chosen.
  d.ProductFiles = {ProductFile(100, "tour.exe", 2097152, "Program"), ProductFile(101, "manual.pdf", 524288, "Docs"),
                    ProductFile(102, "never.dat", 9999999, "Program", "1 = 2|"),
                    ProductFile(103, "other.dat", 7777777, "Other")};
  d.Shortcuts.clear();
  d.RegChanges.clear();
  d.Scripts = {};
  return c;
}

void AddPages(TPackageContent& c) {
  TSupportFiles files;
  files.Add("pic.bmp", SetupPicture());
  files.Add("arrow.bmp", Arrow());
  files.Add("side.bmp", Side());
  files.Add("license.rtf", LicenseRtf);
  files.Add("readme.txt", Readme);
  files.Store(c);
  c.Description.Scripts[StartScript] = Script(R"(
    AssignVariable "%Agreement%", "0"
    AssignVariable "%Desktop%", "no"
    AssignVariable "%Colour%", "Green"
    AssignVariable "%Extras%", "Mu samples, Zeta tools"
    AssignVariable "%Company%", "Vantry Tests"
    AssignVariable "%Reports%", "0"
    AssignVariable "%Installed%", "0"
  )");
  TDialogSection& s = c.Description.Dialogs;
  s.Dialogs = {Welcome(), FrameStyle(), License(), Folder(), Group(), Options(), Ready(), Install(), Finish(), Details()};
  // As the section reader works them out: the secondary dialog, last in the package, is the last page.
  s.FirstPage = "Welcome";
  s.LastPage = "Details";
}

std::string Variant(const std::string& kind, const std::string& stub) {
  TPackageContent c = Product();
  if (kind == "pages" || kind == "start-no") {
    AddPages(c);
    if (kind == "start-no")
      c.Description.Scripts[StartScript] = Script(R"(
        AskYesNo "%Go%", "Question", "Continue with %SoftwareName%?", "QUESTION"
        CancelSetup if "%Go% = NO|"
      )");
    return AppendPackage(stub, c);
  }
  c.Description.Dialogs = {};
  if (kind == "loader") {
    // Enough files that restoring them keeps the loader up for a while.
    TSupportFiles files;
    for (int i = 0; i < 1500; ++i) files.Add("file" + std::to_string(i) + ".txt", std::string(2048, char('a' + i % 26)));
    files.Store(c);
    return AppendPackage(stub, c);
  }
  if (kind == "appmgr-default") {
    c.Description.Languages = {Language("English", 0x409, false, "en "), Language("Deutsch", 0x407, true, "de ")};
    c.SetOption(OptRequiresAppMgr, true);
    return AppendPackage(stub, c);
  }
  throw std::runtime_error("unknown kind " + kind);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: pagefixture pages|start-no|loader|appmgr-default <stub> <out>\n";
    return 2;
  }
  try {
    WriteWholeFile(argv[3], Variant(argv[1], ReadWholeFile(argv[2])));
  } catch (const std::exception& e) {
    std::cerr << "pagefixture: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
