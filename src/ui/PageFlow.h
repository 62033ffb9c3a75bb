// The wizard's page order and the small decisions of showing a page, apart from any window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DialogEditorFuncs.h"

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

// Whether a control of this kind may take the focus when its page is shown.
bool TakesPageFocus(uint8_t kind);

// Texts naming the same control tag or list: compared ignoring case.
bool SameTag(const std::string& a, const std::string& b);

}  // namespace vnt
