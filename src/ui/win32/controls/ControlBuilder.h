// Turns a dialog's control definitions into live controls on a page or style panel.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "package/DialogEditorFuncs.h"
#include "ui/win32/controls/VNControl.h"

namespace vnt {

// The controls of one panel, in creation order. The panel's owner keeps the list for as long
// as the panel lives and releases it before or with the panel: destroying a control destroys
// its window, and a control whose panel went first only lets go of its object.
using TPageControls = std::vector<std::unique_ptr<TVNControl>>;

struct TBuildCallbacks {
  // Kind 12 of a style dialog: (base name, left, width, height, top) in screen pixels, scaled
  // from the package's 96-DPI pixels as the controls are. Absent for pages.
  std::function<void(const std::string& base, int left, int width, int height, int top)> RegisterStyleSpace;
  // A picture's file name to the path to load.
  std::function<std::string(const std::string& name)> ResolveImageFile;
  // The control's event happened (click, change or selection change, by class).
  std::function<void(TVNControl&)> ControlEvent;
  // The control is built and visible: its first refresh.
  std::function<void(TVNControl&)> ControlCreated;
};

// Builds each definition in order and appends it to "built", its place scaled to the screen's
// DPI (ScaledBounds). baseFont is the setup's font,
// keepSetupFace the package's own-fonts option; plainLists makes every list a list box and
// every combo a combo box. Unknown kinds are skipped. Answers false at the first control
// that cannot be created or configured; the controls built before it stay.
bool BuildControls(const std::string& baseName, HWND container, const std::vector<TControlDef>& controls,
                   const TBuildCallbacks& callbacks, const TFontRecord& baseFont, bool keepSetupFace,
                   bool plainLists, TPageControls& built);

// The control to create for a kind and role; null for kinds without a control.
std::unique_ptr<TVNControl> NewControl(uint8_t kind, uint8_t role, bool plainLists);

}  // namespace vnt
