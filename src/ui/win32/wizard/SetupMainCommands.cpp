// The wizard commands that scripts send to the form, and the page refreshes they and
// variable changes cause.
#include "ui/win32/wizard/SetupMain.h"

#include "package/ScriptTypes.h"
#include "ui/win32/wizard/BackWindow.h"
#include "ui/win32/wizard/SecondaryDialog.h"

namespace vnt {

namespace {

// Page commands on lists, by opcode.
std::optional<TListOperation> ListOperationOf(uint8_t code) {
  switch (code) {
    case OpAddListItem: return TListOperation::Add;
    case OpClearList: return TListOperation::Clear;
    case OpSelectAllItems: return TListOperation::SelectAll;
    case OpDeselectAllItems: return TListOperation::DeselectAll;
    case OpSelectItems: return TListOperation::SelectItems;
    case OpSortList: return TListOperation::Sort;
    case OpFillLanguageList: return TListOperation::FillLanguages;
    default: return std::nullopt;
  }
}

}  // namespace

const TPageControls* TfrmSetupMain::ActiveControls() {
  if (Page.empty() || !PagePanel) return nullptr;
  return SecondaryControls ? SecondaryControls : &PagePanel->Controls;
}

void TfrmSetupMain::WizardCommandHandler(uint8_t code, const std::string& p1, const std::string& p2,
                                         const std::string& p3) {
  if (Closing()) return;
  switch (code) {
    case OpCancelSetup: CancelSetup(); break;
    case OpNextPage: ShowPage(NextPageName()); break;
    case OpPreviousPage: ShowPage(PreviousPageName()); break;
    case OpGoToPage:
      ShowPage(p1);
      NavigationAborted = true;
      break;
    case OpShowDialog: ShowSecondaryDialog(p1); break;
    case OpBrowseFolder: SelectDirectory(p1); break;
    case OpStartInstallation: RunInstallation(); break;
    case OpUninstallApp: UninstallApp(p1, Vars().ExpandText(p2), Vars().ExpandText(p3)); break;
    case OpFinishSetup:
      Finishing = true;
      CloseForm();
      break;
    case OpShowWizard:
      if (Secondary) {
        RedrawWindow(SecondaryHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        break;
      }
      ShowWindow(Handle(), SW_SHOW);
      if (PagePanel) ShowWindow(PagePanel->Panel->Handle(), SW_SHOW);
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      break;
    default: PageCommand(code, p1, p2); break;
  }
}

// The commands on the page's controls; nothing without a page.
void TfrmSetupMain::PageCommand(uint8_t code, const std::string& p1, const std::string& p2) {
  const TPageControls* controls = ActiveControls();
  if (!controls) return;
  if (code == OpRefreshPage) {
    UpdatePage(controls, PageRefresh(Vars(), p1 == "1", "", 0));
    if (Back && p2 == "1") Back->Refresh();
  } else if (code == OpStorePageValues) {
    StoreControlValues(*controls, Vars());
  } else if (code == OpEnableButton || code == OpDisableButton) {
    EnableButtons(*controls, Vars().ExpandText(p1), code == OpEnableButton);
  } else if (std::optional<TListOperation> op = ListOperationOf(code)) {
    ListCommand(*controls, Binding, Vars().ExpandText(p1), Vars().ExpandText(p2), *op);
  }
}

void TfrmSetupMain::CancelSetup() {
  if (Uninstalling) {
    Finishing = true;
    CloseForm();
    return;
  }
  if (Secondary) {
    EndSecondary(ModalCancel);
    return;
  }
  Finishing = false;
  CloseForm();
}

void TfrmSetupMain::UpdatePage(const TPageControls* container, const TRefresh& how) {
  if (!Dialog) return;
  const TSetupProperties& properties = State.Description.Properties;
  State.ApplicationTitle = Vars().ExpandText(properties.SetupTitle);
  SetWindowTextA(Handle(), Vars().ExpandText(Dialog->Title).c_str());
  if (Back) SetWindowTextA(Back->Handle(), State.ApplicationTitle.c_str());
  if (Secondary) SetWindowTextA(SecondaryHandle(), Vars().ExpandText(SecondaryDialog->Title).c_str());
  TFlagGuard refreshing(Binding.Refreshing);
  if (PageContainer) UpdateControls(PageContainer->Controls, Binding, how);
  if (PagePanel) UpdateControls(PagePanel->Controls, Binding, how);
  if (container && (!PagePanel || container != &PagePanel->Controls)) UpdateControls(*container, Binding, how);
}

void TfrmSetupMain::VariableChanged(const std::string& name) {
  if (!PagePanel || Closing()) return;
  TFlagGuard refreshing(Binding.Refreshing);
  for (const TRefresh& how : RefreshesAfterChange(Vars(), name)) UpdatePage(ActiveControls(), how);
}

}  // namespace vnt
