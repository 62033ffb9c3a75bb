// The installation run of the wizard: the free-space check, the progress on the "INSTALL"
// page or in the copying window, the driver's phases in their order, and the windows that
// answer the driver's questions.
#include "archive/VolumeNames.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "platform/win32/ModalLoop.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"
#include "ui/BindingRules.h"
#include "ui/RequirementRules.h"
#include "ui/PageFlow.h"
#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/windows/AuxiliaryTexts.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FileQuestions.h"
#include "ui/win32/wizard/SetupMain.h"

namespace vnt {

namespace {

enum TInstallMessage { MsgCancelInstall = 9, MsgDriveUnreadable = 12, MsgNoRoom = 13, MsgErrorCodeDrive = 8 };
constexpr char InstallPageName[] = "INSTALL";
constexpr char RestartNotice[] =
    "Some files were in use and will be replaced when Windows restarts. Restart Windows to finish the "
    "installation.";

UINT BoxIcon(TBoxKind kind) {
  return kind == TBoxKind::Error ? MB_ICONERROR : kind == TBoxKind::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
}

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
    MessageBoxA(DialogOwner(), text.c_str(), State.ApplicationTitle.c_str(), MB_OK | BoxIcon(kind));
  };
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
      if ((kind == 0 && c->Role() == RoleStatus) || (kind == 1 && c->Role() == RoleDetail)) {
        label->SetCaption(text);
        UpdateWindow(label->Handle());
      }
    } else if (auto* bar = dynamic_cast<TVNProgress*>(c.get())) {
      if (kind == 2) bar->SetPosition(value);
      if (kind == 3) bar->SetMax(value);
    }
  }
}

// A failed check: its message, then the error script, which may let the setup go on by
// leaving %CanClose% at "0". Answers whether the setup goes on.
bool TfrmSetupMain::ErrorProtocol(const std::string& text, int errorCode) {
  MessageBoxA(nullptr, text.c_str(), State.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
  Vars().SetVariable("%CanClose%", "1");
  Vars().SetVariable("%IsFinishingSetup%", "0");
  Vars().SetVariable("%ErrorCode%", std::to_string(errorCode));
  State.Interpreter->RunScript(State.Description.Scripts[ErrorScript]);
  return Vars().ExpandText("%CanClose%") == "0";
}

bool TfrmSetupMain::CheckRequirements() {
  TMachine m;
  m.Version = State.Info.OSVersionValue(0);
  m.ServicePack = uint16_t(State.Info.OSVersionValue(4));
  m.NT = TSystemInfo::IsNTFamily();
  m.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  m.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  m.ColorDepth = TSystemInfo::ColorDepth();
  m.MemoryMB = TSystemInfo::PhysicalMemory();
  std::string firstVolume = ChangeFileExtension(State.Package.Path, ".001");
  m.FirstVolumeMissing = State.Package.ArchiveOffset == 0 && !FileExists(firstVolume);
  const TSetupDescription& d = State.Description;
  std::optional<TRequirementFailure> failed = FailedRequirement(d.Requirements, d.VersionBounds, m);
  if (!failed) return true;
  std::string text = ReplacePlaceholder(Message(State, failed->Message), "<file>", FileNamePart(firstVolume));
  if (ErrorProtocol(text, failed->ErrorCode)) return true;
  RequirementsFailed = true;
  return false;
}

// Enough room on the install drive for the chosen files; an unreadable drive follows the
// error protocol and counts as full.
bool TfrmSetupMain::InstallDriveHasRoom() {
  std::string folder = Vars().ExpandText("%InstallDir%");
  char letter = DriveLetterOf(folder);
  if (!letter) return true;  // a network path: nothing to ask the drive
  std::string drive(1, letter);
  std::optional<uint64_t> freeKB = TSystemInfo::DiskFreeKB(drive);
  if (!freeKB) {
    if (!ErrorProtocol(ReplacePlaceholder(Message(State, MsgDriveUnreadable), "<drive>", drive), MsgErrorCodeDrive))
      return false;
  }
  uint64_t needKB = TSetupQueries(State.Description, Vars()).SelectedSize() / 1000;
  if (freeKB.value_or(0) >= needKB) return true;
  std::string text = ReplacePlaceholder(Message(State, MsgNoRoom), "<drive>", drive);
  MessageBoxA(nullptr, text.c_str(), State.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
  return false;
}

void TfrmSetupMain::ShowProgressTarget() {
  bool withPictures = !State.Description.ProgressBitmaps.empty();
  OnInstallPage = ShowPage(InstallPageName) || (IsInstallPage(Page) && IsWindowVisible(Handle()));
  if (OnInstallPage) {
    ReportProgress(3, "", 100);
    ReportProgress(2, "", 0);
    if (withPictures) {
      RECT r;
      GetWindowRect(Handle(), &r);
      int height = r.bottom - r.top, width = r.right - r.left;
      SetWindowPos(Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2,
                   GetSystemMetrics(SM_CYSCREEN) - height - 48, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return;
  }
  Copying = std::make_unique<TfrmCopyingFiles>();
  if (!Copying->Create(nullptr)) {
    Copying.reset();
    return;
  }
  TCopyingFilesTexts texts = CopyingFilesTexts(State);
  Copying->SetFonts(State.Description.Properties.SetupFont);
  SetWindowTextA(Copying->Handle(), texts.Caption.c_str());
  Copying->SetButtonCaption(texts.Cancel);
  Copying->OnCancel = [this] { CloseForm(); };
  RECT r;
  GetWindowRect(Copying->Handle(), &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  int top = withPictures ? GetSystemMetrics(SM_CYSCREEN) - height - 48 : CentredOnScreen(width, height).y;
  Copying->MoveTo(GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2, top);
  ShowWindow(Handle(), SW_HIDE);
  Copying->Show();
}

void TfrmSetupMain::RunInstallation() {
  if (Installed || Installing || Closing()) return;
  if (!InstallDriveHasRoom()) {
    Finishing = false;
    InstallAborted = true;
    EndRun();  // without asking
    return;
  }
  TBusyCursor busy;
  TFlagGuard installing(Installing);
  Install = std::make_unique<TVantryInstall>(State, InstallPrompts(), EarlierRecord);
  ShowProgressTarget();
  ProcessMessages();
  Install->ShowProgressBitmap(0);
  if (RunGuard(State.Description.Scripts[BeforeInstallScript])) RunInstallPhases();
  EndInstallation();
}

void TfrmSetupMain::RunInstallPhases() {
  bool createsRecord = State.Package.Option(OptCreateUninstaller) && !State.Package.Option(OptDeviceOnly);
  Install->CopyFiles();
  WaitForFirstDisk();
  Install->CreateShortcuts();
  Install->WriteRegistry();
  if (Vars().MaintenanceMode) Install->RemoveComponents(100);
  if (createsRecord) Install->WriteUninstallData();
  ProgressPicture.reset();
  RunAppMgr();
  if (State.Package.Option(OptDeviceOnly)) Install->RemoveDeviceCopies();
  if (Install->Aborted()) return;
  if (!RunGuard(State.Description.Scripts[AfterInstallScript])) return;
  if (Copying) Copying->Hide();
  Copying.reset();
  if (OnInstallPage && !State.Description.ProgressBitmaps.empty()) {
    RECT r;
    GetWindowRect(Handle(), &r);
    POINT at = CentredOnScreen(r.right - r.left, r.bottom - r.top);
    SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(Handle(), SW_SHOW);
}

// The Application Manager's windows must be in front: the wizard and the copying window make
// way while it runs.
void TfrmSetupMain::RunAppMgr() {
  std::string command = Install->AppMgrCommand();
  if (command.empty()) return;
  ShowWindow(Handle(), SW_HIDE);
  if (Copying) Copying->Hide();
  Install->RunAppMgr(command);
}

// The medium with the setup was taken out during the copy: it must come back for the rest.
void TfrmSetupMain::WaitForFirstDisk() {
  while (!Install->Aborted() && !Closing() && !FileExists(State.Package.Path)) {
    TfrmNeedDisk prompt(State.Description.Properties.SetupFont);
    prompt.Texts = NeedDiskTexts(State, 1);
    std::string folder = FolderPart(State.Package.Path);
    if (prompt.Execute(DialogOwner(), 1, folder, State.Package.Path) == ModalOk) return;
    CloseForm();
  }
}

void TfrmSetupMain::EndInstallation() {
  ProgressPicture.reset();
  if (Copying) Copying->Hide();
  Copying.reset();
  if (Install) {
    // A damaged archive left files out: the run ends as failed, not as finished.
    InstallAborted = Install->Aborted() || Install->ArchiveDamaged();
    RestartNeeded = !InstallAborted && !Install->ReplacedAtRestart().empty();
    Install.reset();
  }
  if (RestartNeeded)
    MessageBoxA(DialogOwner(), RestartNotice, State.ApplicationTitle.c_str(), MB_OK | MB_ICONINFORMATION);
  Installed = true;
  // A run that failed on its own ends the setup; one the user cancelled is closing already.
  if (InstallAborted && !Closing()) EndRun();
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
  if (RestartNeeded) return WizardRestartNeeded;
  return Finished() ? WizardFinished : WizardCancelled;
}

}  // namespace vnt
