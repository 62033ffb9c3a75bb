// The wizard's page order and the small decisions of showing a page, apart from any window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/DialogEditorFuncs.h"

namespace vnt {

// Where the wizard stands: the page list in package order and the pages that steer moves.
struct TPageFlow {
  const std::vector<TSetupDialog>& Dialogs;
  std::string Current;        // empty before the first page
  std::string BeforeInstall;  // the page shown before "INSTALL"
  std::string First, Last;
};

// "INSTALL" in any case.
bool IsInstallPage(const std::string& name);

// The page that Next goes to; the current one when there is none further.
std::string NextPageName(const TPageFlow& flow);
// The page that Back goes to; the current one when there is none before it.
std::string PreviousPageName(const TPageFlow& flow);

// Whether a script run abandons the step it guards: it stopped early and %CanClose% is not "0".
bool StepAbandoned(bool completed, const std::string& canClose);

// A page switch under way, with the count of the user's actions when it began.
struct TPageSwitch {
  std::string Page;
  unsigned UserActions = 0;
};
// Whether switching to the page now closes a loop: a switch to it is still under way and the
// user has done nothing since it began, so only scripts sent the wizard back there.
bool SwitchLoopsBack(const std::vector<TPageSwitch>& underWay, const std::string& page, unsigned userActions);

// Whether a control of this kind may take the focus when its page is shown.
bool TakesPageFocus(uint8_t kind);

// Where a style dialog puts its pages: the rectangle of its kind-12 control, under the style
// panel's base name.
struct TSetupStyleSpace {
  std::string Name;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TSetupStyleSpace&) const = default;
};
using TStyleSpaces = std::vector<TSetupStyleSpace>;
// Records a space unless one of that name (ignoring case) is recorded already.
void AddStyleSpace(TStyleSpaces& spaces, const TSetupStyleSpace& space);
// Null when none.
const TSetupStyleSpace* FindStyleSpace(const TStyleSpaces& spaces, const std::string& name);
// The base name of a style dialog's panel: "Style_" and the cleaned name.
std::string StylePanelName(const std::string& styleName);

// Texts naming the same control tag or list: compared ignoring case.
bool SameTag(const std::string& a, const std::string& b);

}  // namespace vnt
