#include "vntbuild/SamplePages.h"

#include "vntbuild/ScriptCompiler.h"

namespace vnt {

namespace {

const std::string Font8 = "Tahoma|8|-2147483640|0|1|";
const std::string Heading = "Tahoma|12|-2147483640|1|1|";
constexpr int Width = 460, Height = 300;

TControlDef Label(int left, int top, int height, int width, const std::string& caption,
                  const std::string& font = Font8, uint8_t role = 0) {
  return MakeControlDef(KindLabel, left, top, height, width, {caption, font, "0"}, {}, "", role);
}

TControlDef Button(int left, const std::string& caption, int type, const std::string& tag,
                   const std::string& script) {
  return MakeControlDef(KindButton, left, Height - 35, 23, 75, {caption, Font8, std::to_string(type), "", tag, ""},
                        CompileScriptText(script, "sample"));
}

// The line and the buttons along the bottom of every page.
std::vector<TControlDef> Bottom(bool back, const std::string& next, const std::string& nextScript) {
  std::vector<TControlDef> controls = {MakeControlDef(KindLine, 0, Height - 48, 4, Width, {})};
  if (back) controls.push_back(Button(Width - 250, "< &Back", 0, "back", "PreviousPage"));
  controls.push_back(Button(Width - 170, next, 2, "next", nextScript));
  controls.push_back(Button(Width - 87, "Cancel", 1, "cancel", "CancelSetup"));
  return controls;
}

TSetupDialog Page(const std::string& name, const std::string& title, std::vector<TControlDef> controls,
                  const std::vector<TControlDef>& bottom) {
  TSetupDialog d;
  d.Name = name;
  d.Title = "%SoftwareName% Setup - " + title;
  d.ClientWidth = Width;
  d.ClientHeight = Height;
  d.DialogFont = {"Tahoma", 8, int32_t(0x80000008), 0, 1};
  controls.insert(controls.end(), bottom.begin(), bottom.end());
  d.Controls = std::move(controls);
  return d;
}

}  // namespace

TDialogSection SamplePages() {
  TSetupDialog welcome = Page(
      "Welcome", "Welcome",
      {Label(20, 20, 24, 420, "Welcome to the %SoftwareName% Setup", Heading),
       Label(20, 60, 64, 420,
             "This wizard installs %SoftwareName% on your computer and prepares it for your handheld.\r\n\r\n"
             "Click Next to continue, or Cancel to leave the setup."),
       Label(20, 136, 16, 420, "%SoftwareName% is made by %CompanyName%.")},
      Bottom(false, "&Next >", "NextPage"));
  TSetupDialog folder = Page(
      "Folder", "Destination Folder",
      {Label(20, 16, 16, 420, "Setup will install %SoftwareName% in this folder:"),
       MakeControlDef(KindTextBox, 20, 36, 21, 420, {"%InstallDir%", Font8, "0"}, {}, "%InstallDir%", RoleInstallDir),
       MakeControlDef(KindList, 20, 66, 110, 220, {Font8}, {}, "%InstallDir%", RoleDirList),
       MakeControlDef(KindCombo, 20, 182, 21, 220, {Font8}, {}, "%InstallDir%", RoleDrive),
       MakeControlDef(KindFrame, 256, 62, 70, 184, {"Disk space", Font8}), Label(268, 82, 16, 80, "Required:"),
       Label(350, 82, 16, 84, "", Font8, RoleRequiredSpace), Label(268, 104, 16, 80, "Available:"),
       Label(350, 104, 16, 84, "", Font8, RoleFreeSpace)},
      Bottom(true, "&Next >", "NextPage"));
  TSetupDialog ready = Page(
      "Ready", "Ready",
      {Label(20, 20, 24, 420, "Ready", Heading),
       Label(20, 60, 32, 420, "%SoftwareName% will go to %InstallDir%, with its icons in the program group "
                              "%ProgramGroup%."),
       Label(20, 100, 32, 420, "Click Finish to end the setup.")},
      Bottom(true, "&Finish", "FinishSetup"));
  TDialogSection section;
  section.Dialogs = {welcome, folder, ready};
  section.FirstPage = "Welcome";
  section.LastPage = "Ready";
  return section;
}

}  // namespace vnt
