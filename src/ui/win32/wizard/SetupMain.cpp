#include "ui/win32/wizard/SetupMain.h"

#include "package/VarList.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/ModalLoop.h"
#include "platform/win32/ScreenDpi.h"
#include "ui/PageFlow.h"
#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/wizard/BackWindow.h"
#include "ui/win32/wizard/SetupMainBinding.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmSetupMain";
constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// On the background window: a caption bar only; closing is the background window's.
constexpr DWORD HostedFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
// The form's own font, for packages with the own-fonts option.
const TFontRecord FormFont{"Tahoma", 8, int32_t(0x80000012), 0, 1};

}  // namespace

TfrmSetupMain::TfrmSetupMain(TSetupState& state) : State(state) {
  State.ProgressSink = [this](uint8_t kind, const std::string& text, int32_t value) { ReportProgress(kind, text, value); };
}

TfrmSetupMain::~TfrmSetupMain() {
  // Pages go before the style panels they lie on.
  while (!Panels.empty()) Panels.pop_back();
  // The interpreter and the variables outlive the form: they must not call into it.
  if (State.Vars) State.Vars->OnChange = nullptr;
  State.ProgressSink = nullptr;
  if (State.Script) {
    State.Script->WizardCommandHandler = nullptr;
    State.Script->ReturnFromInstallPage = nullptr;
    State.Script->FindListControl = nullptr;
    State.Script->IsInstalling = nullptr;
  }
}

bool TfrmSetupMain::Create() {
  RegisterWindowClass(FormClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  if (State.Package.Option(OptOwnFonts)) State.Description.Properties.SetupFont = FormFont;
  HWND owner = Back ? Back->Handle() : nullptr;
  if (!CreateWindowOf(FormClass, Back ? HostedFormStyle : FormStyle, WS_EX_CONTROLPARENT, owner, "*", CW_USEDEFAULT,
                      CW_USEDEFAULT, 200, 100))
    return false;
  State.Vars->OnChange = [this](const std::string& name, const std::string&) { VariableChanged(name); };
  if (!CheckRequirements()) return false;
  Images.Load(State.Description.Components, Vars(), State.TempSetupDir);
  Binding.Images = &Images;
  Binding.RefreshRole = [this](uint8_t role) { UpdatePage(ActiveControls(), PageRefresh(Vars(), false, "", role)); };
  Binding.ActiveControls = [this] { return ActiveControls(); };
  Binding.RunControlScript = [this](TVNControl& c) {
    ++UserActions;
    if (!Closing()) State.Interpreter->RunScript(c.Definition().Script);
  };
  return true;
}

void TfrmSetupMain::StartWizard() {
  TBusyCursor busy;
  TScriptContext& script = *State.Script;
  script.WizardCommandHandler = [this](uint8_t op, const std::string& f1, const std::string& f3,
                                       const std::string& f2) { WizardCommandHandler(op, f1, f2, f3); };
  script.ReturnFromInstallPage = [this] { ReturnFromInstallPage(); };
  script.FindListControl = [this](const std::string& tag) { return FindListControl(tag); };
  script.IsInstalling = [this] { return Installing; };
  if (State.Description.Dialogs.FirstPage.empty()) {
    // Nothing to ask: install and end.
    RunInstallation();
    ClosedFinished = !InstallAborted;
    if (ClosedFinished) OfferRestart();
    EndRun();
    return;
  }
  ShowPage(State.Description.Dialogs.FirstPage);
  if (Closing()) return;
  // Shown even when the first page could not be: the user can still close the window.
  ShowWindow(Handle(), SW_SHOW);
  if (PagePanel && GetFocus() == nullptr) SetFocus(PagePanel->Panel->Handle());
}

bool TfrmSetupMain::RunGuard(const TScript& script) {
  bool completed = State.Interpreter->RunScript(script);
  return !Closing() && !StepAbandoned(completed, Vars().ExpandText("%CanClose%"));
}

void TfrmSetupMain::FitClientSize(const TSetupDialog& dialog) {
  int clientWidth = Scaled(dialog.ClientWidth), clientHeight = Scaled(dialog.ClientHeight);
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right == clientWidth && client.bottom == clientHeight) return;
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, DWORD(GetWindowLongA(Handle(), GWL_STYLE)), FALSE, WS_EX_CONTROLPARENT);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at = CentredOnScreen(width, height);
  RECT back;
  if (Back && GetWindowRect(Back->Handle(), &back)) {
    TPointI over = CentredOver({int(back.left), int(back.top), int(back.right), int(back.bottom)}, width, height);
    at = {over.X, over.Y};
  }
  SetWindowPos(Handle(), nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A page whose scripts refused it: the wizard stays where it was, visible as it was, rather
// than on a page that was never shown.
void TfrmSetupMain::UndoSwitch(const TPlace& before, const std::string& target) {
  if (Closing() || Page != target) return;  // closed, or a script went to another page meanwhile
  Page = before.Page;
  Dialog = before.Dialog;
  PageContainer = before.Container;
  PagePanel = before.Panel;
  State.Script->LastPageRequested = before.Page;
  if (PagePanel) ShowPlace(PageContainer, PagePanel);
  if (before.Visible) ShowWindow(Handle(), SW_SHOW);
}

bool TfrmSetupMain::ShowPage(const std::string& name) {
  // An empty name would hide the form and leave a running setup nobody can see or close.
  if (Closing() || name.empty() || name == Page) return false;
  const TSetupDialog* dialog = FindDialog(Dialogs(), name);
  if (!dialog || dialog->IsStyle) return false;
  TNestingGuard nesting(Nesting);
  if (!nesting.Allowed() || SwitchLoopsBack(SwitchesUnderWay, name, UserActions)) return false;
  TSwitchGuard underWay(SwitchesUnderWay, {name, UserActions});
  NavigationAborted = false;
  if (Dialog) {
    if (!RunGuard(Dialog->LeaveScript) || NavigationAborted) return false;
    if (PagePanel) StoreControlValues(PagePanel->Controls, Vars());
  }
  if (IsInstallPage(name)) PageBeforeInstall = Page;
  TBusyCursor busy;
  TPlace before{Page, Dialog, PageContainer, PagePanel, bool(IsWindowVisible(Handle()))};
  Dialog = dialog;
  Page = name;
  State.Script->LastPageRequested = name;
  ShowWindow(Handle(), SW_HIDE);
  if (!RunGuard(dialog->BeforeBuildScript) || NavigationAborted) {
    UndoSwitch(before, name);
    return false;
  }
  FitClientSize(*dialog);
  SetWindowTextA(Handle(), Vars().ExpandText(dialog->Title).c_str());
  Binding.ComponentDescription.clear();
  bool failed = false;
  TSetupPanel* container = StylePanelFor(*dialog, failed);
  TSetupPanel* panel = failed ? nullptr : PagePanelFor(*dialog, container);
  if (!panel) {
    UndoSwitch(before, name);
    return false;
  }
  PageContainer = container;
  PagePanel = panel;
  {
    TFlagGuard refreshing(Binding.Refreshing);
    InitialiseRadios(panel->Controls, Vars());
  }
  bool completed = State.Interpreter->RunScript(dialog->AfterBuildScript);
  // Closed, or the script went to another page, which is the one shown now.
  if (Closing() || Page != name) return false;
  if (!completed && Vars().ExpandText("%CanClose%") != "0") {
    UndoSwitch(before, name);
    return false;
  }
  return RevealPage();
}

bool TfrmSetupMain::RevealPage() {
  ShowPlace(PageContainer, PagePanel);
  ShowWindow(Handle(), SW_SHOW);
  TVNControl* first = FirstFocusControl(PagePanel->Controls);
  SetFocus(first ? first->Handle() : PagePanel->Panel->Handle());
  State.Interpreter->RunScript(Dialog->AfterShowScript);
  return true;
}

std::string TfrmSetupMain::NextPageName() const {
  const TDialogSection& d = State.Description.Dialogs;
  return vnt::NextPageName(TPageFlow{d.Dialogs, Page, PageBeforeInstall, d.FirstPage, d.LastPage});
}

std::string TfrmSetupMain::PreviousPageName() const {
  const TDialogSection& d = State.Description.Dialogs;
  return vnt::PreviousPageName(TPageFlow{d.Dialogs, Page, PageBeforeInstall, d.FirstPage, d.LastPage});
}

void TfrmSetupMain::ReturnFromInstallPage() {
  if (!Closing() && IsInstallPage(Page)) ShowPage(PageBeforeInstall);
}

TScriptList* TfrmSetupMain::FindListControl(const std::string& tag) {
  const TPageControls* controls = ActiveControls();
  return controls ? FindListBox(*controls, tag) : nullptr;
}

void TfrmSetupMain::ControlEvent(TVNControl& control) {
  // Refreshes set values and so fire events; only the user's actions run scripts.
  if (Binding.Refreshing || Closing() || !RunsControlScript(control)) return;
  ++UserActions;
  State.Interpreter->RunScript(control.Definition().Script);
}

void TfrmSetupMain::CloseForm() {
  // A close asked for by the scripts the close query runs is that same close: the query
  // under way decides it.
  if (Closing() || Querying) return;
  bool allowed = false;
  {
    TFlagGuard querying(Querying);
    allowed = CloseQuery();
  }
  if (!allowed) return;
  EndRun();
}

// Closing is settled. The window goes with the form object once the scripts on the stack
// have returned.
void TfrmSetupMain::EndRun() {
  Tag = 1;
  ShowWindow(Handle(), SW_HIDE);
  PostQuitMessage(0);
}

bool TfrmSetupMain::CloseQuery() {
  if (Installing && Install) return InstallCloseQuery();
  const std::string& last = State.Description.Dialogs.LastPage;
  bool atEnd = !Page.empty() && Page == last;
  if (!atEnd && !Finishing && !AskToClose(MsgCloseQuestion)) return false;
  if (!CloseScriptAllows()) return false;
  if (Dialog) State.Interpreter->RunScript(Dialog->LeaveScript);
  ClosedFinished = Finishing || atEnd;
  if (ClosedFinished) OfferRestart();
  return true;
}

bool TfrmSetupMain::AskToClose(int message) {
  std::string text = Message(State, message);
  return MessageBoxA(DialogOwner(), text.c_str(), State.ApplicationTitle.c_str(),
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

// The close script may keep the setup open by leaving %CanClose% at "0".
bool TfrmSetupMain::CloseScriptAllows() {
  Vars().SetVariable("%CanClose%", "1");
  Vars().SetVariable("%IsFinishingSetup%", Finishing ? "1" : "0");
  State.Interpreter->RunScript(State.Description.Scripts[CloseScript]);
  if (Vars().ExpandText("%CanClose%") != "0") return true;
  Finishing = false;
  return false;
}

LRESULT TfrmSetupMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    CloseForm();
    return 0;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

void TfrmSetupMain::KeepInFront() {
  constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (!IsWindowVisible(Handle()) && Copying && IsWindowVisible(Copying->Handle()))
    SetWindowPos(Copying->Handle(), HWND_TOP, 0, 0, 0, 0, flags);
  else if (HWND dialog = SecondaryHandle(); dialog && IsWindowVisible(dialog))
    SetWindowPos(Handle(), dialog, 0, 0, 0, 0, flags);
  else
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, flags);
}

int RunWizard(TSetupState& state, TUninstallRecord* earlier) {
  // Made first, so that it goes last: the wizard is its owned window.
  std::unique_ptr<TfrmBackWindow> back;
  if (state.Package.Option(OptBackgroundWindow)) {
    back = std::make_unique<TfrmBackWindow>(state);
    if (!back->Create()) back.reset();
  }
  TfrmSetupMain form(state);
  form.EarlierRecord = earlier;
  form.Back = back.get();
  if (!form.Create()) return form.RequirementFailed() ? int(WizardRequirementFailed) : int(StartupFailed);
  if (back) back->Host(form);
  form.StartWizard();
  MSG msg;
  while (!form.Closing() && !CallbackFailed() && GetMessageA(&msg, nullptr, 0, 0) > 0)
    DispatchDialogMessage(form.Handle(), msg);
  ThrowKeptException();
  return form.End();
}

}  // namespace vnt
