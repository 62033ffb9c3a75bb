#include "ui/win32/wizard/SilentSetup.h"

#include "archive/VolumeNames.h"
#include "package/ProgressKinds.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "platform/win32/CloseListener.h"
#include "platform/win32/SystemServices.h"
#include "platform/win32/Window.h"
#include "setup/win32/RunMessages.h"
#include "ui/win32/windows/AuxiliaryTexts.h"
#include "ui/win32/wizard/MachineCheck.h"
#include "ui/win32/wizard/SetupMain.h"

namespace vnt {

TSilentSetup::TSilentSetup(TSetupState& state, TUninstallRecord* earlier) : State(state), Earlier(earlier) {}

TSilentSetup::~TSilentSetup() {
  if (State.Script) {
    State.Script->WizardCommandHandler = nullptr;
    State.Script->IsInstalling = nullptr;
  }
}

int TSilentSetup::Run() {
  TScriptContext& script = *State.Script;
  script.WizardCommandHandler = [this](uint8_t op, const std::string&, const std::string&, const std::string&) {
    WizardCommand(op);
  };
  script.IsInstalling = [this] { return Installing; };
  Listener = std::make_unique<TCloseListener>();
  if (std::optional<TCheckFailure> failed = FailedMachineCheck(State)) {
    State.Log.Line("requirement not met (error code " + std::to_string(failed->ErrorCode) + ")");
    if (!RunErrorProtocol(State, failed->Text, failed->ErrorCode)) return WizardRequirementFailed;
    State.Log.Line("the error script lets the setup go on");
  }
  return Install();
}

int TSilentSetup::Install() {
  Installing = true;
  Driver = std::make_unique<TVantryInstall>(State, Prompts(), Earlier);
  TInstallOutcome outcome = Driver->Run();
  Installing = false;
  if (outcome == TInstallOutcome::Installed) {
    State.Log.Line("after-install script");
    State.Interpreter->RunScript(State.Description.Scripts[AfterInstallScript]);
  }
  if (Copying) Copying->Hide();
  Copying.reset();
  Driver.reset();
  switch (outcome) {
    case TInstallOutcome::Installed: return Finish();
    case TInstallOutcome::Stopped:
      State.Log.Line("the before-install script ended the setup before anything was installed");
      return WizardCancelled;
    case TInstallOutcome::Cancelled: return WizardInstallCancelled;
    case TInstallOutcome::Failed: return WizardInstallFailed;
  }
  return WizardInstallFailed;
}

int TSilentSetup::Finish() {
  bool needed = Vars().ExpandText("%DoReboot%") == "1";
  switch (UnattendedRestartStep(State.Switches, needed)) {
    case TRestartStep::NotNeeded: return WizardFinished;
    case TRestartStep::Leave:
      State.Log.Line("Windows must be restarted; the setup leaves that to the administrator");
      return WizardRestartNeeded;
    case TRestartStep::Restart:
      State.Log.Line("restarting Windows");
      if (RestartWindows()) return WizardRestartStarted;
      State.Log.Line("Windows refused the restart");
      return WizardRestartNeeded;
  }
  return WizardFinished;
}

TInstallPrompts TSilentSetup::Prompts() {
  TInstallPrompts p;
  p.AskReplace = [](const TReplaceQuery& q) { return UnattendedReplaceAnswer(q.Question, q.Mode); };
  p.AskRemove = [this](const std::string&, const std::string& path) {
    State.Log.Line("kept, as nobody is there to ask: " + path);
    return TReplaceAnswer::No;
  };
  p.AskForVolume = [this](uint16_t volume, const std::string& folder) { return WaitForVolume(volume, folder); };
  p.Show = [this](TBoxKind kind, const std::string& text) {
    RunMessageBox(State, Copying ? Copying->Handle() : nullptr, text, MB_OK | BoxIcon(kind));
  };
  p.RequestCancel = [this] { CloseRequested(); };
  p.Status = [this](uint8_t kind, const std::string& text, int32_t value) {
    if (kind == ProgressStatus && text != LastStatus) State.Log.Line(LastStatus = text);
    if (Copying) Copying->Progress(kind, text, value);
  };
  p.Log = [this](const std::string& line) { State.Log.Line(line); };
  p.Pump = [this] {
    ProcessMessages();
    if (Listener && Listener->TakeRequest()) CloseRequested();
  };
  p.ShowProgress = [this] { ShowCopying(); };
  p.RollingBack = [this] {
    if (Copying) Copying->EnableCancel(false);
  };
  p.MakeWayForAppMgr = [this] {
    if (Copying) Copying->Hide();
  };
  return p;
}

// /SILENT shows the copying window, centred and never activated; /VERYSILENT shows nothing.
void TSilentSetup::ShowCopying() {
  if (State.Switches.Quietness != TQuietness::Silent || Copying) return;
  TCopyingFilesTexts texts = CopyingFilesTexts(State);
  Copying = InstallProgressWindow(State.Description.Properties.SetupFont, texts.Caption, texts.Cancel,
                                  [this] { CloseRequested(); });
  if (!Copying) return;
  RECT r;
  GetWindowRect(Copying->Handle(), &r);
  POINT at = CentredOnScreen(r.right - r.left, r.bottom - r.top);
  Copying->MoveTo(at.x, at.y);
  Copying->Show();
}

// Nobody can bring a medium: the file is waited for a while (a share that answers slowly),
// then the run fails and is undone.
std::optional<std::string> TSilentSetup::WaitForVolume(uint16_t volume, const std::string& folder) {
  std::string name = FileNamePart(State.Package.Path);
  if (volume != 1) name = ChangeFileExtension(name, "." + VolumeExtension(volume));
  std::string path = WithFolderBackslash(folder) + name;
  State.Log.Line("waiting up to " + std::to_string(UnattendedWaitSeconds) + " s for " + path);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < UnattendedWaitSeconds * 1000) {
    if (Driver && Driver->Aborted()) return std::nullopt;
    if (FileExists(path)) return folder;
    ProcessMessages();
    Sleep(250);
  }
  std::string text = ReplacePlaceholder(Message(State, MsgDiskNotFound), "<disk>", std::to_string(volume));
  if (Driver) Driver->Fail(text + "\n" + path);
  return std::nullopt;
}

void TSilentSetup::CloseRequested() {
  if (!Driver || Driver->Aborted()) return;
  State.Log.Line("asked to close while installing");
  Vars().SetVariable("%CanClose%", "1");
  Vars().SetVariable("%IsFinishingSetup%", "0");
  State.Interpreter->RunScript(State.Description.Scripts[CloseScript]);
  if (Vars().ExpandText("%CanClose%") == "0") {
    State.Log.Line("the close script keeps the setup running");
    return;
  }
  State.Log.Line("the installation stops and is undone");
  Driver->Abort();
}

// Scripts move no pages here: only a cancel has a meaning.
void TSilentSetup::WizardCommand(uint8_t opcode) {
  if (opcode == OpCancelSetup) {
    State.Log.Line("a script cancels the setup");
    CloseRequested();
    return;
  }
  State.Log.Line("wizard command " + std::to_string(opcode) + " has nothing to do without pages");
}

int RunSilentSetup(TSetupState& state, TUninstallRecord* earlier) {
  TSilentSetup run(state, earlier);
  return run.Run();
}

}  // namespace vnt
