// The look of the default wizard: its size, fonts and margins, the white header band of the
// inner pages, the side band of the welcome and finish pages, and the buttons along the foot.
#pragma once

#include <string>
#include <vector>

#include "package/DialogEditorFuncs.h"

namespace vnt::wizard {

constexpr int Width = 497, Height = 360;
constexpr int HeaderHeight = 58;
constexpr int Margin = 24;                        // left and right of an inner page's content
constexpr int ContentTop = HeaderHeight + 14;     // first line below the header
constexpr int FootLine = Height - 48;             // the line above the buttons
constexpr int ContentWidth = Width - 2 * Margin;
constexpr int SideWidth = 164;                    // the band of the welcome and finish pages

extern const std::string Font8, Bold8, Title12;
// The font of every page of the wizard: Tahoma 8 in the window text colour.
TFontRecord PageFont();

// What the Install button does after StartInstallation: the installation shows the "INSTALL"
// page while it runs; once it is done, that page (still the current one) says so and offers
// Next alone.
extern const char* const InstallDone;

TControlDef Label(int left, int top, int height, int width, const std::string& caption,
                  const std::string& font = Font8, uint8_t role = 0, bool transparent = false);
TControlDef Button(int left, int top, const std::string& caption, int type, const std::string& tag,
                   TScript script, int width = 75);

// Back, Next and Cancel in this order (component names Button1..3 on every page), with
// the line above them.
std::vector<TControlDef> Foot(const std::string& next, TScript nextScript);
// The white band with the page's title and subtitle, the program icon and the line below.
std::vector<TControlDef> Header(const std::string& title, const std::string& subtitle);
// The coloured band down the left of the welcome and finish pages, with the setup's picture
// (164 by 312 pixels fill it, drawn from its top left) when it has one and the program icon
// otherwise, on a white page.
std::vector<TControlDef> SideBand(bool hasPicture);

TSetupDialog Page(const std::string& name, std::vector<TControlDef> controls);

}  // namespace vnt::wizard
