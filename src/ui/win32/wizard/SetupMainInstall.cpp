// The installation run of the wizard: its windows. The road itself is the driver's
// (TVantryInstall::Run); the wizard shows the progress on the "INSTALL" page or in the copying
// window, answers the driver's questions, and runs the after-install script.
#include "install/InstallTexts.h"
#include "package/ProgressKinds.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "platform/win32/ModalLoop.h"
#include "platform/win32/ScreenDpi.h"
#include "platform/win32/SystemServices.h"
#include "setup/win32/RunMessages.h"
#include "ui/BindingRules.h"
#include "ui/PageFlow.h"
#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/windows/AuxiliaryTexts.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FileQuestions.h"
#include "ui/win32/wizard/BackWindow.h"
#include "ui/win32/wizard/MachineCheck.h"
#include "ui/win32/wizard/SetupMain.h"

namespace vnt {

namespace {

constexpr char InstallPageName[] = "INSTALL";

}  // namespace

HWND TfrmSetupMain::DialogOwner() const {
  if (Copying && IsWindowVisible(Copying->Handle())) return Copying->Handle();
  return IsWindowVisible(Handle()) ? Handle() : nullptr;
}

TInstallPrompts TfrmSetupMain::InstallPrompts() {
  TInstallPrompts p;
  p.AskReplace = [this](const TReplaceQuery& q) { return AskReplaceFile(State, DialogOwner(), q); };
  p.AskRemove = [this](const std::string& text, const std::string& path) {
    return AskRemoveFile(State, DialogOwner(), text, path);
  };
  p.AskForVolume = [this](uint16_t volume, const std::string& folder) -> std::optional<std::string> {
    TfrmNeedDisk prompt(State.Description.Properties.SetupFont);
    prompt.Texts = NeedDiskTexts(State, volume);
    if (prompt.Execute(DialogOwner(), volume, folder, State.Package.Path) != ModalOk) return std::nullopt;
    return prompt.Folder();
  };
  p.Show = [this](TBoxKind kind, const std::string& text) {
    RunMessageBox(State, DialogOwner(), text, MB_OK | BoxIcon(kind));
  };
  p.Log = [this](const std::string& line) { State.Log.Line(line); };
  p.RequestCancel = [this] { CloseForm(); };
  p.Status = [this](uint8_t kind, const std::string& text, int32_t value) { ReportProgress(kind, text, value); };
  p.ShowPicture = [this](const std::string& picture) {
    ProgressPicture.reset();
    if (picture.empty()) return;
    RECT r;
    GetWindowRect(Copying ? Copying->Handle() : Handle(), &r);
    ProgressPicture = std::make_unique<TfrmSplashBitmapForm>(picture);
    ProgressPicture->ShowAbove(State.ApplicationTitle, r.top);
  };
  p.Pump = ProcessMessages;
  p.ShowProgress = [this] { ShowProgressTarget(); };
  p.RollingBack = [this] {
    if (Copying) Copying->EnableCancel(false);
  };
  p.MakeWayForAppMgr = [this] {
    ShowWindow(Handle(), SW_HIDE);
    if (Copying) Copying->Hide();
    if (Back) ShowWindow(Back->Handle(), SW_HIDE);
  };
  p.AppMgrDone = [this] {
    if (Back) ShowWindow(Back->Handle(), SW_SHOWNA);
  };
  return p;
}

void TfrmSetupMain::ReportProgress(uint8_t kind, const std::string& text, int32_t value) {
  if (Copying) {
    Copying->Progress(kind, text, value);
    return;
  }
  if (!PagePanel) return;
  for (const auto& c : PagePanel->Controls) {
    if (auto* label = dynamic_cast<TVNLabel*>(c.get())) {
      if ((kind == ProgressStatus && c->Role() == RoleStatus) || (kind == ProgressDetail && c->Role() == RoleDetail)) {
        label->SetCaption(text);
        UpdateWindow(label->Handle());
      }
    } else if (auto* bar = dynamic_cast<TVNProgress*>(c.get())) {
      if (kind == ProgressPosition) bar->SetPosition(value);
      if (kind == ProgressMaximum) bar->SetMax(value);
    }
  }
}

bool TfrmSetupMain::CheckRequirements() {
  std::optional<TCheckFailure> failed = FailedMachineCheck(State);
  if (!failed || RunErrorProtocol(State, failed->Text, failed->ErrorCode)) return true;
  RequirementsFailed = true;
  return false;
}

void TfrmSetupMain::ShowProgressTarget() {
  bool withPictures = !State.Description.ProgressBitmaps.empty();
  OnInstallPage = ShowPage(InstallPageName) || (IsInstallPage(Page) && IsWindowVisible(Handle()));
  if (OnInstallPage) {
    ReportProgress(ProgressMaximum, "", 100);
    ReportProgress(ProgressPosition, "", 0);
    if (withPictures) {
      RECT r;
      GetWindowRect(Handle(), &r);
      int height = r.bottom - r.top, width = r.right - r.left;
      SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2,
                   GetSystemMetrics(SM_CYSCREEN) - height - Scaled(48), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return;
  }
  TCopyingFilesTexts texts = CopyingFilesTexts(State);
  Copying = InstallProgressWindow(State.Description.Properties.SetupFont, texts.Caption, texts.Cancel,
                                  [this] { CloseForm(); });
  if (!Copying) return;
  RECT r;
  GetWindowRect(Copying->Handle(), &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  int top = withPictures ? GetSystemMetrics(SM_CYSCREEN) - height - Scaled(48) : CentredOnScreen(width, height).y;
  Copying->MoveTo(GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2, top);
  ShowWindow(Handle(), SW_HIDE);
  Copying->Show();
}

void TfrmSetupMain::RunInstallation() {
  if (Installed || Installing || Closing()) return;
  TBusyCursor busy;
  TFlagGuard installing(Installing);
  Install = std::make_unique<TVantryInstall>(State, InstallPrompts(), EarlierRecord);
  TInstallOutcome outcome = Install->Run();
  if (outcome == TInstallOutcome::Installed) AfterInstallation();
  EndInstallation(outcome);
}

// The installation stands: the after-install script, then the form comes back.
void TfrmSetupMain::AfterInstallation() {
  ProgressPicture.reset();
  if (!RunGuard(State.Description.Scripts[AfterInstallScript])) return;
  if (Copying) Copying->Hide();
  Copying.reset();
  if (OnInstallPage && !State.Description.ProgressBitmaps.empty()) {
    RECT r;
    GetWindowRect(Handle(), &r);
    POINT at = CentredOnScreen(r.right - r.left, r.bottom - r.top);
    SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Without pages there is nothing to come back to: the empty form would only flash.
  if (!State.Description.Dialogs.FirstPage.empty()) ShowWindow(Handle(), SW_SHOW);
}

void TfrmSetupMain::EndInstallation(TInstallOutcome outcome) {
  ProgressPicture.reset();
  if (Copying) Copying->Hide();
  Copying.reset();
  Install.reset();
  InstallAborted = outcome == TInstallOutcome::Cancelled || outcome == TInstallOutcome::Failed;
  InstallCancelled = outcome == TInstallOutcome::Cancelled;
  Installed = true;
  // A run that failed on its own ends the setup; one the user cancelled is closing already.
  if (InstallAborted && !Closing()) EndRun();
}

// Closing as finished with %DoReboot% set: the user is asked before Windows restarts, since
// other programs may hold unsaved work.
void TfrmSetupMain::OfferRestart() {
  if (Vars().ExpandText("%DoReboot%") != "1") return;
  std::string text = Vars().ExpandText(RestartQuestionText);
  int answer = MessageBoxA(DialogOwner(), text.c_str(), State.ApplicationTitle.c_str(), MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES && RestartWindows()) RestartStarted = true;
  else RestartNeeded = true;
}

bool TfrmSetupMain::InstallCloseQuery() {
  if (Install->Aborted()) return true;
  if (!Finishing && !AskToClose(MsgCancelInstall)) return false;
  if (!CloseScriptAllows()) return false;
  InstallCancelled = !Finishing;
  Install->Abort();
  if (Dialog) State.Interpreter->RunScript(Dialog->LeaveScript);
  return true;
}

TWizardEnd TfrmSetupMain::End() const {
  if (InstallAborted) return InstallCancelled ? WizardInstallCancelled : WizardInstallFailed;
  if (RestartStarted) return WizardRestartStarted;
  if (RestartNeeded) return WizardRestartNeeded;
  return Finished() ? WizardFinished : WizardCancelled;
}

}  // namespace vnt
