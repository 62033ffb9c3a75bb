// Removing an installed product on a script's request: this setup's own product or another,
// found through its Add/Remove Programs entry, with progress on the "INSTALL" page or in the
// copying window.
#include "install/win32/EarlierInstallation.h"
#include "install/win32/ProductRemoval.h"
#include "package/ProgressKinds.h"
#include "package/SetupStrings.h"
#include "platform/ProgressGate.h"
#include "setup/win32/PreviousSetup.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FileQuestions.h"
#include "ui/win32/wizard/SetupMain.h"

namespace vnt {

namespace {
constexpr char InstallPageName[] = "INSTALL";
}  // namespace

void TfrmSetupMain::UninstallApp(const std::string& resultVariable, const std::string& softwareName,
                                 const std::string& company) {
  const TSetupProperties& p = State.Description.Properties;
  bool own = SameTextIgnoringCase(softwareName, p.SoftwareName) && SameTextIgnoringCase(company, p.CompanyName);
  if (own && OwnProductRemoved) return;
  std::string path = PreviousUninstallRecord(State.Desktop->Sources, company, softwareName);
  TUninstallRecord record;
  std::string problem;
  TProductEntry entry = ProductEntryOf(State, company, softwareName);
  TRecordLoad load = LoadEntryRecord(entry, path, record, problem);
  if (load == TRecordLoad::Unusable) {
    MessageBoxA(DialogOwner(), problem.c_str(), State.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
    Vars().SetVariable(resultVariable, "0");
  }
  if (load != TRecordLoad::Loaded) return;
  TFlagGuard installing(Installing);
  TFlagGuard uninstalling(Uninstalling);
  TBusyCursor busy;
  std::string pageBefore = Page;
  ShowRemovalProgress(own);
  if (!RunGuard(State.Description.Scripts[BeforeUninstallScript])) {
    EndRemovalProgress(pageBefore);
    return;
  }
  ReportProgress(ProgressMaximum, "", int32_t(record.Items.size()));
  TProductRemovalPrompts prompts;
  prompts.Ask = [this](const std::string& text, const std::string& file) {
    return AskRemoveFile(State, DialogOwner(), text, file);
  };
  // At human speed: a few times a second, and the end always.
  TProgressGate gate;
  size_t shown = SIZE_MAX;
  prompts.Progress = [this, &gate, &shown](size_t done, size_t total) {
    if (!gate.Due(GetTickCount(), done != shown, done == total)) return !Closing();
    shown = done;
    ReportProgress(ProgressPosition, "", int32_t(done));
    ProcessMessages();
    return !Closing();
  };
  bool hadItems = !record.Items.empty();
  TProductRemoval result = RemoveProduct(record, path, entry, Vars(), Message(State, MsgConduitLabel), prompts);
  State.NotDeleted.insert(State.NotDeleted.end(), result.NotRemoved.begin(), result.NotRemoved.end());
  // What was in use goes when Windows restarts: the finish offers it.
  if (!result.Scheduled.empty()) Vars().SetVariable("%DoReboot%", "1");
  Vars().SetVariable(resultVariable, !result.Completed ? "0" : hadItems ? "2" : "1");
  if (RunGuard(State.Description.Scripts[AfterUninstallScript])) EndRemovalProgress(pageBefore);
  else EndRemovalProgress("");
  if (own) OwnProductRemoved = true;
}

void TfrmSetupMain::ShowRemovalProgress(bool own) {
  if (ShowPage(InstallPageName)) {
    ReportProgress(ProgressStatus, Message(State, MsgUninstalling), 0);
    ReportProgress(ProgressDetail, "", 0);
    ReportProgress(ProgressPosition, "", 0);
    return;
  }
  // Without a window the removal goes on all the same.
  Copying = RemovalProgressWindow(State.Description.Properties.SetupFont, State.ApplicationTitle,
                                  Message(State, own ? MsgCancel : MsgRemovingComponents), Message(State, MsgUninstalling));
}

void TfrmSetupMain::EndRemovalProgress(const std::string& pageBefore) {
  if (Copying) {
    Copying->Hide();
    Copying.reset();
    if (!Closing()) ShowWindow(Handle(), SW_SHOW);
  } else if (!pageBefore.empty() && !Closing() && Page != pageBefore) {
    ShowPage(pageBefore);
  }
}

}  // namespace vnt
