// The windows the wizard opens over its pages: secondary dialogs of the package and the
// directory selection.
#include "ui/win32/wizard/SetupMain.h"

#include "platform/win32/ScreenDpi.h"
#include "platform/win32/SystemServices.h"
#include "script/DesktopRules.h"
#include "ui/win32/windows/AuxiliaryTexts.h"
#include "ui/win32/windows/DirectorySel.h"
#include "ui/win32/wizard/SecondaryDialog.h"

namespace vnt {

HWND TfrmSetupMain::SecondaryHandle() const { return Secondary ? Secondary->Handle() : nullptr; }

void TfrmSetupMain::EndSecondary(int result) {
  if (Secondary) Secondary->EndModal(result);
}

// A secondary dialog may open another: each restores the one below it when it ends.
void TfrmSetupMain::ShowSecondaryDialog(const std::string& name) {
  const TSetupDialog* dialog = FindDialog(Dialogs(), name);
  if (!dialog) return;
  TNestingGuard nesting(Nesting);
  if (!nesting.Allowed()) return;
  TBusyCursor busy;
  auto window = std::make_unique<TfrmSecondaryDialog>();
  TPageControls controls;  // destroyed before the window they lie on
  if (!window->Create(Handle())) return;
  struct TOpen {
    TfrmSecondaryDialog* Window;
    const TSetupDialog* Dialog;
    TPageControls* Controls;
  } below{Secondary, SecondaryDialog, SecondaryControls};
  Secondary = window.get();
  SecondaryDialog = dialog;
  SecondaryControls = &controls;
  int result = ModalAbort;
  if (RunGuard(dialog->BeforeBuildScript)) {
    window->OnAfterShow = [this, dialog] { return RunGuard(dialog->AfterShowScript); };
    window->SetCaption(Vars().ExpandText(dialog->Title));
    const TFontRecord& setupFont = State.Description.Properties.SetupFont;
    window->SetFont(State.Package.Option(OptOwnFonts) ? setupFont : dialog->DialogFont);
    window->SetClientSize(Scaled(dialog->ClientWidth), Scaled(dialog->ClientHeight));
    window->CentreOnScreen();
    {
      TFlagGuard refreshing(Binding.Refreshing);
      BuildControls(CleanDialogName(dialog->Name), window->Panel(), dialog->Controls, PanelCallbacks(false),
                    setupFont, State.Package.Option(OptOwnFonts), false, controls);
    }
    if (RunGuard(dialog->AfterBuildScript)) {
      {
        TFlagGuard refreshing(Binding.Refreshing);
        InitialiseRadios(controls, Vars());
      }
      result = window->ShowModal();
    }
  }
  if (result != ModalAbort && !Closing() && !window->Quitting() && RunGuard(dialog->LeaveScript)) {
    StoreControlValues(controls, Vars());
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Secondary = below.Window;
  SecondaryDialog = below.Dialog;
  SecondaryControls = below.Controls;
}

void TfrmSetupMain::SelectDirectory(const std::string& variable) {
  TfrmDirectorySel window(State.Description.Properties.SetupFont);
  window.Texts = DirectorySelTexts(State);
  std::string value = Vars().ExpandText(variable);
  std::string start = NearestExistingFolder(value, FolderExists, State.Info.WindowsFolder());
  // Over the window the user sees: an open secondary dialog, else the wizard.
  HWND owner = Secondary ? Secondary->Handle() : Handle();
  if (window.Execute(owner, start, value) == ModalOk)
    Vars().SetVariable(variable, WithoutTrailingBackslash(window.Directory()));
}

}  // namespace vnt
