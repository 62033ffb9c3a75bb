// Page controls tied to the setup's variables: refreshing them from the variables and the
// setup's data (built-in roles), storing them back, radio initialisation, the user's changes
// of the folder controls, and the page commands on tagged controls.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "setup/win32/SetupProgFuncs.h"
#include "ui/win32/controls/ComponentImages.h"
#include "ui/win32/controls/ControlBuilder.h"
#include "ui/win32/controls/VNLists.h"

namespace vnt {

// One refresh pass. Initial: the page has just been built or is shown again. Filtered: only
// controls whose role equals Filter take part (Filter 0 with Name: role-0 controls and the
// controls bound to Name).
struct TRefresh {
  bool Initial = false;
  bool Filtered = false;
  uint8_t Filter = 0;
  std::string Name;  // a declared variable, or empty
};

// What the binding reaches on the wizard form, which owns it for its lifetime.
struct TBinding {
  explicit TBinding(TSetupState& state) : State(state) {}
  TSetupVariables& Vars() { return *State.Vars; }

  TSetupState& State;
  // Set while the form refreshes or builds: control events are not the user's then.
  bool Refreshing = false;
  // The description of the component last picked in a component list.
  std::string ComponentDescription;
  // The controls of the page the user acts on (a secondary dialog's while one is open); null
  // when no page is shown.
  std::function<const TPageControls*()> ActiveControls;
  // Runs the control's own script, as its event does.
  std::function<void(TVNControl&)> RunControlScript;
  // Refreshes the controls of one role on the page the user acts on.
  std::function<void(uint8_t role)> RefreshRole;
  // The form's pictures for the component and program-group lists; null before they exist.
  const TComponentImages* Images = nullptr;
};

void UpdateControl(TVNControl& control, TBinding& binding, const TRefresh& how);
void UpdateControls(const TPageControls& controls, TBinding& binding, const TRefresh& how);
// The pass a page refresh makes for (initial, variable name, role filter; 0 for none).
TRefresh PageRefresh(const TSetupVariables& vars, bool initial, const std::string& name, uint8_t filter);
// The passes a change of a variable starts: the install folder, the program group and the
// Start-menu mode refresh their roles, other declared variables their bound controls.
std::vector<TRefresh> RefreshesAfterChange(const TSetupVariables& vars, const std::string& name);

// Writes each bound control's value into its variable.
void StoreControlValues(const TPageControls& controls, TSetupVariables& vars);
// Checks every radio button whose value equals its variable.
void InitialiseRadios(const TPageControls& controls, TSetupVariables& vars);
// The first control, in creation order, that takes the focus when the page shows; null when none.
TVNControl* FirstFocusControl(const TPageControls& controls);

// The page commands on lists, by the tag they carry (ignoring case).
enum class TListOperation { Clear = 1, Add, SelectAll, DeselectAll, SelectItems, Sort, FillLanguages };
void ListCommand(const TPageControls& controls, TBinding& binding, const std::string& tag, const std::string& text,
                 TListOperation op);
// Enables or disables every push button tagged so (ignoring case).
void EnableButtons(const TPageControls& controls, const std::string& tag, bool on);
// The first list box tagged so (ignoring case); null when none.
TVNListBox* FindListBox(const TPageControls& controls, const std::string& tag);
// Whether the control's own script runs on its event.
bool RunsControlScript(const TVNControl& control);
// A name stored in the variable table.
bool IsDeclaredVariable(const TSetupVariables& vars, const std::string& name);

}  // namespace vnt
