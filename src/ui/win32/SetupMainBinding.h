// Page controls tied to the setup's variables: refreshing them from the variables, storing
// them back, radio initialisation, and the page commands on tagged controls.
#pragma once

#include <string>

#include "ControlBuilder.h"
#include "SetupVariables.h"
#include "VNLists.h"

namespace vnt {

// One refresh pass. Initial: the page has just been built or is shown again. Filtered with
// Filter 0: only role-0 controls and edits bound to Name take part.
struct TRefresh {
  bool Initial = false;
  bool Filtered = false;
  uint8_t Filter = 0;
  std::string Name;  // a declared variable, or empty
};

void UpdateControl(TVNControl& control, TSetupVariables& vars, const TRefresh& how);
// Each control refreshed after a change of variable name (declared or not), or fully.
void UpdateControls(const TPageControls& controls, TSetupVariables& vars, bool initial, const std::string& name);
// Writes each bound control's value into its variable.
void StoreControlValues(const TPageControls& controls, TSetupVariables& vars);
// Checks every radio button whose value equals its variable.
void InitialiseRadios(const TPageControls& controls, TSetupVariables& vars);
// The first control, in creation order, that takes the focus when the page shows; null when none.
TVNControl* FirstFocusControl(const TPageControls& controls);
// Enables or disables every push button tagged so (ignoring case).
void EnableButtons(const TPageControls& controls, const std::string& tag, bool on);
// The first list box tagged so (ignoring case); null when none.
TVNListBox* FindListBox(const TPageControls& controls, const std::string& tag);
// Whether the control's own script runs on its event.
bool RunsControlScript(const TVNControl& control);
// A name stored in the variable table.
bool IsDeclaredVariable(const TSetupVariables& vars, const std::string& name);

}  // namespace vnt
