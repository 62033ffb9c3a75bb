// TfrmSetupMain: the wizard window. It shows the package's pages one at a time, each built
// once and kept, and moves between them only when a script's wizard command asks for it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "install/win32/VantryInstall.h"
#include "platform/win32/Window.h"
#include "setup/win32/SetupProgFuncs.h"
#include "setup/win32/SplashForm.h"
#include "ui/PageFlow.h"
#include "ui/win32/controls/ControlBuilder.h"
#include "ui/win32/wizard/SetupMainBinding.h"

namespace vnt {

class TfrmSecondaryDialog;
class TfrmCopyingFiles;
class TfrmBackWindow;

// How the wizard ended: the program's exit code.
enum TWizardEnd {
  WizardFinished = 0, WizardCancelled = 2, WizardRequirementFailed = 3, WizardInstallFailed = 4,
  WizardInstallCancelled = 5, WizardRestartStarted = 1641, WizardRestartNeeded = 3010
};

// One built panel: a page, or a style dialog framing pages, with the controls on it. The
// controls are declared after the panel so that they go first.
struct TSetupPanel {
  std::string Name;  // component name: the cleaned page name, or "Style_" + cleaned style name
  HWND Container = nullptr;
  std::unique_ptr<TWindow> Panel;
  TPageControls Controls;
};

class TfrmSetupMain : public TWindow {
public:
  explicit TfrmSetupMain(TSetupState& state);
  ~TfrmSetupMain() override;

  // The background window the wizard runs on, when the package asks for one; set before
  // Create, which makes the wizard its owned window.
  TfrmBackWindow* Back = nullptr;
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
  void ShowSecondaryDialog(const std::string& name);
  void SelectDirectory(const std::string& variable);

  // Carries out the installation once, with its progress on the "INSTALL" page or in the
  // copying window.
  void RunInstallation();
  // The progress of the installation: 0 and 1 the status lines, 2 and 3 the bars.
  void ReportProgress(uint8_t kind, const std::string& text, int32_t value);
  // The record of the installation this run maintains; null for a new installation.
  TUninstallRecord* EarlierRecord = nullptr;
  TWizardEnd End() const;
  // The machine failed a requirement check and the error script let the setup end.
  bool RequirementFailed() const { return RequirementsFailed; }

  const std::string& CurrentPage() const { return Page; }
  // Closing asked for from outside the wizard (the background window): the close question.
  void RequestClose() { CloseForm(); }
  // In front of the background window, without activation: the copying window while the
  // wizard is hidden, else the wizard behind its open page dialog, else the wizard.
  void KeepInFront();
  // Closing has been confirmed; the message loop ends.
  bool Closing() const { return Tag == 1; }
  // Closed as finished (FinishSetup, or closed from the last page).
  bool Finished() const { return ClosedFinished; }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  // Where the wizard stood before a page switch, to go back to when the new page is refused.
  struct TPlace {
    std::string Page;
    const TSetupDialog* Dialog = nullptr;
    TSetupPanel *Container = nullptr, *Panel = nullptr;
    bool Visible = false;
  };

  TSetupVariables& Vars() { return *State.Vars; }
  const std::vector<TSetupDialog>& Dialogs() const { return State.Description.Dialogs.Dialogs; }
  // Runs a script; answers whether the step it guards goes on.
  bool RunGuard(const TScript& script);
  TBuildCallbacks PanelCallbacks(bool styleSpaces);

  // Panels (SetupMainPanels.cpp).
  TSetupPanel* FindPanel(HWND container, const std::string& name);
  TSetupPanel* MakePanel(HWND container, const std::string& name, const TRectI& place, const TSetupDialog& dialog,
                         bool style);
  void HidePanelsOn(HWND container, const TSetupPanel* except);
  TSetupPanel* StylePanelFor(const TSetupDialog& page, bool& failed);
  TSetupPanel* PagePanelFor(const TSetupDialog& page, TSetupPanel* container);
  void ShowPlace(TSetupPanel* container, TSetupPanel* panel);
  void FitClientSize(const TSetupDialog& dialog);

  void UndoSwitch(const TPlace& before, const std::string& target);
  bool RevealPage();
  // The controls page commands act on: the open secondary dialog's, else the page's.
  const TPageControls* ActiveControls();
  void UpdatePage(const TPageControls* container, const TRefresh& how);
  void VariableChanged(const std::string& name);
  void ControlEvent(TVNControl& control);
  void PageCommand(uint8_t code, const std::string& p1, const std::string& p2);
  void CancelSetup();
  HWND SecondaryHandle() const;
  void EndSecondary(int result);
  void CloseForm();
  void EndRun();
  bool CloseQuery();
  bool InstallCloseQuery();
  // Asks the message's Yes/No question about closing; answers Yes.
  bool AskToClose(int message);
  bool CloseScriptAllows();

  // Requirement checks (SetupMainInstall.cpp).
  bool CheckRequirements();
  // Installation (SetupMainInstall.cpp).
  TInstallPrompts InstallPrompts();
  void ShowProgressTarget();
  void AfterInstallation();
  void EndInstallation(TInstallOutcome outcome);
  void OfferRestart();
  // Product removal (SetupMainRemoval.cpp).
  void UninstallApp(const std::string& resultVariable, const std::string& softwareName, const std::string& company);
  void ShowRemovalProgress(bool own);
  void EndRemovalProgress(const std::string& pageBefore);
  HWND DialogOwner() const;

  TSetupState& State;
  std::string Page, PageBeforeInstall;
  const TSetupDialog* Dialog = nullptr;
  std::vector<std::unique_ptr<TSetupPanel>> Panels;  // in creation order: styles before their pages
  TSetupPanel *PageContainer = nullptr, *PagePanel = nullptr;
  TStyleSpaces StyleSpaces;
  TComponentImages Images;  // imlImages
  TBinding Binding{State};
  // The open secondary dialog, its title and its controls.
  TfrmSecondaryDialog* Secondary = nullptr;
  const TSetupDialog* SecondaryDialog = nullptr;
  TPageControls* SecondaryControls = nullptr;
  bool NavigationAborted = false, Finishing = false, ClosedFinished = false, Querying = false;
  bool Installing = false, Installed = false, OnInstallPage = false, Uninstalling = false, OwnProductRemoved = false;
  std::unique_ptr<TVantryInstall> Install;
  std::unique_ptr<TfrmCopyingFiles> Copying;
  std::unique_ptr<TfrmSplashBitmapForm> ProgressPicture;
  // The run that was aborted: by the user (cancelled) or by a failure.
  bool InstallAborted = false, InstallCancelled = false, RequirementsFailed = false;
  // %DoReboot% was set (by a script, or for files in use): Windows restarts, or must.
  bool RestartNeeded = false, RestartStarted = false;
  int Tag = 0;
  // Pages and dialogs opened from inside the scripts of others; bounded, so that scripts
  // sending each other back and forth cannot exhaust the stack.
  int Nesting = 0;
  // Page switches under way, innermost last, and the user's actions so far: scripts that send
  // the wizard back to a page it is still switching to are refused at once, and the page
  // shown stays.
  std::vector<TPageSwitch> SwitchesUnderWay;
  unsigned UserActions = 0;
};

// Creates the wizard, starts it and runs the message loop until it closes; earlier is the
// record of the installation this run maintains, if any. Exit code: a TWizardEnd, or 1 when
// the window could not be made.
int RunWizard(TSetupState& state, TUninstallRecord* earlier = nullptr);

// Counts a nesting level for the lifetime of the guard; Allowed() is false past the bound.
class TNestingGuard {
public:
  explicit TNestingGuard(int& depth) : Depth(++depth) {}
  ~TNestingGuard() { --Depth; }
  bool Allowed() const { return Depth <= MaxNesting; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;
  static constexpr int MaxNesting = 16;

private:
  int& Depth;
};

// Records a page switch as under way for the lifetime of the guard.
class TSwitchGuard {
public:
  TSwitchGuard(std::vector<TPageSwitch>& underWay, TPageSwitch s) : UnderWay(underWay) { UnderWay.push_back(std::move(s)); }
  ~TSwitchGuard() { UnderWay.pop_back(); }
  TSwitchGuard(const TSwitchGuard&) = delete;
  TSwitchGuard& operator=(const TSwitchGuard&) = delete;

private:
  std::vector<TPageSwitch>& UnderWay;
};

// Sets a flag for the lifetime of the guard, restoring its earlier value.
class TFlagGuard {
public:
  explicit TFlagGuard(bool& flag) : Flag(flag), Old(flag) { Flag = true; }
  ~TFlagGuard() { Flag = Old; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
  bool& Flag;
  bool Old;
};

// The hourglass for the lifetime of the guard.
class TBusyCursor {
public:
  TBusyCursor() : Old(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~TBusyCursor() { SetCursor(Old ? Old : LoadCursor(nullptr, IDC_ARROW)); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
  HCURSOR Old;
};

}  // namespace vnt
