// TfrmSetupMain: the wizard window. It shows the package's pages one at a time, each built
// once and kept, and moves between them only when a script's wizard command asks for it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ControlBuilder.h"
#include "SetupMainBinding.h"
#include "SetupProgFuncs.h"
#include "Window.h"

namespace vnt {

// One built page: its panel on the form and the controls on it. The controls are declared
// after the panel so that they go first.
struct TSetupPage {
  std::string Name;  // the cleaned page name, also the panel's component name
  std::unique_ptr<TWindow> Panel;
  TPageControls Controls;
};

class TfrmSetupMain : public TWindow {
public:
  explicit TfrmSetupMain(TSetupState& state);
  ~TfrmSetupMain() override;

  // The hidden window with caption "*"; false when it cannot be made.
  bool Create();
  void StartWizard();
  bool ShowPage(const std::string& name);
  std::string NextPageName() const;
  std::string PreviousPageName() const;
  // Parameters as stored: (code, P1, P2, P3).
  void WizardCommandHandler(uint8_t code, const std::string& p1, const std::string& p2, const std::string& p3);
  void ReturnFromInstallPage();
  TScriptList* FindListControl(const std::string& tag);

  const std::string& CurrentPage() const { return Page; }
  // Closing has been confirmed; the message loop ends.
  bool Closing() const { return Tag == 1; }
  // Closed as finished (FinishSetup, or closed from the last page).
  bool Finished() const { return ClosedFinished; }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  TSetupVariables& Vars() { return *State.Vars; }
  const std::vector<TSetupDialog>& Dialogs() const { return State.Description.Dialogs.Dialogs; }
  // Runs a script; answers whether the step it guards goes on.
  bool RunGuard(const TScript& script);
  TSetupPage* FindPage(const std::string& name);
  TSetupPage* CurrentSetupPage();
  TSetupPage* MakePage(const TSetupDialog& dialog);
  void ShowOnly(TSetupPage& page);
  void FitClientSize(const TSetupDialog& dialog);
  void UndoSwitch(const std::string& previous, const TSetupDialog* previousDialog, const std::string& target,
                  bool wasVisible);
  bool RevealPage(TSetupPage& page);
  void UpdatePage(TSetupPage& page, bool initial, const std::string& name, uint8_t filter = 0);
  void VariableChanged(const std::string& name);
  void ControlEvent(TVNControl& control);
  void CloseForm();
  bool CloseQuery();
  TFontRecord PageFont(const TSetupDialog& dialog) const;

  TSetupState& State;
  std::string Page, PageBeforeInstall;
  const TSetupDialog* Dialog = nullptr;
  std::vector<std::unique_ptr<TSetupPage>> Pages;
  TBinding Binding{State};
  bool NavigationAborted = false, Finishing = false, ClosedFinished = false;
  int Tag = 0;
};

// Creates the wizard, starts it and runs the message loop until it closes. Exit code: 0 when
// the setup was finished, 2 when it was cancelled, 1 when the window could not be made.
int RunWizard(TSetupState& state);

}  // namespace vnt
