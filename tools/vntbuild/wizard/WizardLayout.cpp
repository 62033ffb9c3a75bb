#include "vntbuild/wizard/WizardLayout.h"

#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/wizard/WizardTexts.h"

namespace vnt::wizard {

namespace {

constexpr const char* WindowColour = "-2147483643";  // the system's window colour: white
constexpr const char* BandColour = "9195039";        // a deep blue (red 31, green 78, blue 140)
constexpr int ButtonTop = Height - 35;
constexpr int CancelLeft = Width - 11 - 75, NextLeft = CancelLeft - 10 - 75, BackLeft = NextLeft - 75;

TControlDef Shape(int left, int top, int height, int width, const std::string& colour) {
  return MakeControlDef(KindShape, left, top, height, width, {"0", colour, colour});
}

// The program icon is drawn transparent over what lies behind; the setup picture as it is.
TControlDef Picture(int left, int top, int height, int width, uint8_t role) {
  std::string transparent = role == RoleProgramIcon ? "1" : "0";
  return MakeControlDef(KindImage, left, top, height, width, {"", "0", transparent, "0"}, {}, "", role);
}

}  // namespace

const std::string Font8 = "Tahoma|8|-2147483640|0|1|";
const std::string Bold8 = "Tahoma|8|-2147483640|1|1|";
const std::string Title12 = "Tahoma|12|-2147483640|1|1|";

TFontRecord PageFont() { return {"Tahoma", 8, int32_t(0x80000008), 0, 1}; }

const char* const InstallDone = R"(
  AssignVariable "%WizardInstallStatus%", "%WizardInstallDone%"
  RefreshPage
  EnableButton "next"
  DisableButton "cancel"
)";

TControlDef Label(int left, int top, int height, int width, const std::string& caption, const std::string& font,
                  uint8_t role, bool transparent) {
  return MakeControlDef(KindLabel, left, top, height, width, {caption, font, transparent ? "1" : "0"}, {}, "", role);
}

TControlDef Button(int left, int top, const std::string& caption, int type, const std::string& tag, TScript script,
                   int width) {
  return MakeControlDef(KindButton, left, top, 23, width, {caption, Font8, std::to_string(type), "", tag, ""},
                        std::move(script));
}

std::vector<TControlDef> Foot(const std::string& next, TScript nextScript) {
  return {MakeControlDef(KindLine, 0, FootLine, 4, Width, {}),
          Button(BackLeft, ButtonTop, WizardVariable("Back"), 0, "back", CompileScriptText("PreviousPage", "back")),
          Button(NextLeft, ButtonTop, next, 2, "next", std::move(nextScript)),
          Button(CancelLeft, ButtonTop, WizardVariable("Cancel"), 1, "cancel", CompileScriptText("CancelSetup", "cancel"))};
}

std::vector<TControlDef> Header(const std::string& title, const std::string& subtitle) {
  return {Shape(0, 0, HeaderHeight, Width, WindowColour),
          Label(20, 11, 16, Width - 90, title, Bold8, 0, true),
          Label(32, 29, 26, Width - 102, subtitle, Font8, 0, true),
          Picture(Width - 48, 13, 32, 32, RoleProgramIcon),
          MakeControlDef(KindLine, 0, HeaderHeight - 1, 4, Width, {})};
}

std::vector<TControlDef> SideBand(bool hasPicture) {
  std::vector<TControlDef> band = {Shape(0, 0, FootLine, Width, WindowColour), Shape(0, 0, FootLine, SideWidth, BandColour)};
  if (hasPicture)
    band.push_back(Picture(0, 0, FootLine, SideWidth, RoleSetupPicture));
  else
    band.push_back(Picture(SideWidth / 2 - 16, 24, 32, 32, RoleProgramIcon));
  return band;
}

TSetupDialog Page(const std::string& name, std::vector<TControlDef> controls) {
  TSetupDialog d;
  d.Name = name;
  d.Title = WizardVariable("Caption");
  d.ClientWidth = Width;
  d.ClientHeight = Height;
  d.DialogFont = PageFont();
  d.Controls = std::move(controls);
  return d;
}

}  // namespace vnt::wizard
