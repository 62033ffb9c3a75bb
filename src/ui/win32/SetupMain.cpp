#include "SetupMain.h"

#include "PageFlow.h"
#include "SetupMainBinding.h"
#include "VNComponents.h"
#include "VarList.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmSetupMain";
constexpr char PanelClass[] = "TVntPagePanel";
constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr int MsgCloseQuestion = 7;
// The form's own font, for packages with the own-fonts option.
const TFontRecord FormFont{"Tahoma", 8, int32_t(0x80000012), 0, 1};

class TPagePanel : public TWindow {};

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

class TBusyCursor {
public:
  TBusyCursor() : Old(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~TBusyCursor() { SetCursor(Old ? Old : LoadCursor(nullptr, IDC_ARROW)); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
  HCURSOR Old;
};

}  // namespace

TfrmSetupMain::TfrmSetupMain(TSetupState& state) : State(state) {}

TfrmSetupMain::~TfrmSetupMain() {
  // The interpreter and the variables outlive the form: they must not call into it.
  if (State.Vars) State.Vars->OnChange = nullptr;
  if (State.Script) {
    State.Script->WizardCommandHandler = nullptr;
    State.Script->ReturnFromInstallPage = nullptr;
    State.Script->FindListControl = nullptr;
  }
}

bool TfrmSetupMain::Create() {
  RegisterWindowClass(FormClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  RegisterWindowClass(PanelClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  if (State.Package.Option(OptOwnFonts)) State.Description.Properties.SetupFont = FormFont;
  if (!CreateWindowOf(FormClass, FormStyle, WS_EX_CONTROLPARENT, nullptr, "*", CW_USEDEFAULT, CW_USEDEFAULT, 200,
                      100))
    return false;
  State.Vars->OnChange = [this](const std::string& name, const std::string&) { VariableChanged(name); };
  Binding.ActiveControls = [this]() -> const TPageControls* {
    TSetupPage* page = CurrentSetupPage();
    return page ? &page->Controls : nullptr;
  };
  Binding.RunControlScript = [this](TVNControl& c) {
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
  ShowPage(State.Description.Dialogs.FirstPage);
  if (Closing()) return;
  // Shown even when the first page could not be: the user can still close the window.
  ShowWindow(Handle(), SW_SHOW);
  if (TSetupPage* page = CurrentSetupPage(); page && GetFocus() == nullptr) SetFocus(page->Panel->Handle());
}

bool TfrmSetupMain::RunGuard(const TScript& script) {
  bool completed = State.Interpreter->RunScript(script);
  return !Closing() && !StepAbandoned(completed, Vars().ExpandText("%CanClose%"));
}

TSetupPage* TfrmSetupMain::FindPage(const std::string& name) {
  std::string cleaned = CleanDialogName(name);
  for (auto& page : Pages)
    if (CompareTextIgnoringCase(page->Name, cleaned) == 0) return page.get();
  return nullptr;
}

TSetupPage* TfrmSetupMain::CurrentSetupPage() { return Page.empty() ? nullptr : FindPage(Page); }

TFontRecord TfrmSetupMain::PageFont(const TSetupDialog& dialog) const {
  return State.Package.Option(OptOwnFonts) ? State.Description.Properties.SetupFont : dialog.DialogFont;
}

TSetupPage* TfrmSetupMain::MakePage(const TSetupDialog& dialog) {
  auto page = std::make_unique<TSetupPage>();
  page->Name = CleanDialogName(dialog.Name);
  page->Panel = std::make_unique<TPagePanel>();
  if (!page->Panel->CreateWindowOf(PanelClass, WS_CHILD | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, Handle(), "", 0, 0,
                                   dialog.ClientWidth, dialog.ClientHeight))
    return nullptr;
  SetComponentName(page->Panel->Handle(), page->Name);
  TBuildCallbacks callbacks;
  callbacks.ResolveImageFile = [this](const std::string& name) {
    std::string file = Vars().ExpandText(name);
    bool absolute = file.find(':') != std::string::npos || file.rfind("\\\\", 0) == 0;
    return absolute ? file : State.TempSetupDir + "\\" + file;
  };
  callbacks.ControlEvent = [this](TVNControl& c) { ControlEvent(c); };
  callbacks.ControlCreated = [this](TVNControl& c) { UpdateControl(c, Binding, TRefresh{true, false, 0, ""}); };
  // A page built in part still shows what could be built.
  BuildControls(page->Name, page->Panel->Handle(), dialog.Controls, callbacks, PageFont(dialog),
                State.Package.Option(OptOwnFonts), false, page->Controls);
  Pages.push_back(std::move(page));
  return Pages.back().get();
}

void TfrmSetupMain::ShowOnly(TSetupPage& shown) {
  for (auto& page : Pages)
    if (page.get() != &shown) ShowWindow(page->Panel->Handle(), SW_HIDE);
}

void TfrmSetupMain::FitClientSize(const TSetupDialog& dialog) {
  RECT client;
  GetClientRect(Handle(), &client);
  if (client.right == dialog.ClientWidth && client.bottom == dialog.ClientHeight) return;
  RECT frame{0, 0, dialog.ClientWidth, dialog.ClientHeight};
  AdjustWindowRectEx(&frame, FormStyle, FALSE, WS_EX_CONTROLPARENT);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at = CentredOnScreen(width, height);
  SetWindowPos(Handle(), nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A page whose scripts refused it: the wizard stays where it was, visible as it was, rather
// than on a page that was never shown.
void TfrmSetupMain::UndoSwitch(const std::string& previous, const TSetupDialog* previousDialog,
                               const std::string& target, bool wasVisible) {
  if (Closing() || Page != target) return;  // closed, or a script went to another page meanwhile
  Page = previous;
  Dialog = previousDialog;
  State.Script->LastPageRequested = previous;
  if (TSetupPage* page = CurrentSetupPage()) {
    ShowOnly(*page);
    ShowWindow(page->Panel->Handle(), SW_SHOW);
  }
  if (wasVisible) ShowWindow(Handle(), SW_SHOW);
}

bool TfrmSetupMain::ShowPage(const std::string& name) {
  // An empty name would hide the form and leave a running setup nobody can see or close.
  if (Closing() || name.empty() || name == Page) return false;
  const TSetupDialog* dialog = FindDialog(Dialogs(), name);
  if (!dialog || dialog->IsStyle) return false;
  NavigationAborted = false;
  if (Dialog) {
    if (!RunGuard(Dialog->LeaveScript) || NavigationAborted) return false;
    if (TSetupPage* page = CurrentSetupPage()) StoreControlValues(page->Controls, Vars());
  }
  if (IsInstallPage(name)) PageBeforeInstall = Page;
  TBusyCursor busy;
  std::string previous = Page;
  const TSetupDialog* previousDialog = Dialog;
  bool wasVisible = IsWindowVisible(Handle());
  Dialog = dialog;
  Page = name;
  State.Script->LastPageRequested = name;
  ShowWindow(Handle(), SW_HIDE);
  if (!RunGuard(dialog->BeforeBuildScript)) {
    UndoSwitch(previous, previousDialog, name, wasVisible);
    return false;
  }
  if (NavigationAborted) {
    UndoSwitch(previous, previousDialog, name, wasVisible);
    return false;
  }
  FitClientSize(*dialog);
  SetWindowTextA(Handle(), Vars().ExpandText(dialog->Title).c_str());
  TSetupPage* page = nullptr;
  {
    TFlagGuard refreshing(Binding.Refreshing);
    page = FindPage(name);
    if (page) {
      UpdateControls(page->Controls, Binding, PageRefresh(Vars(), true, "", 0));
    } else if (!(page = MakePage(*dialog))) {
      UndoSwitch(previous, previousDialog, name, wasVisible);
      return false;
    }
    ShowOnly(*page);
    InitialiseRadios(page->Controls, Vars());
  }
  bool completed = State.Interpreter->RunScript(dialog->AfterBuildScript);
  if (Closing()) return false;
  if (!completed && Vars().ExpandText("%CanClose%") != "0") {
    UndoSwitch(previous, previousDialog, name, wasVisible);
    return false;
  }
  return RevealPage(*page);
}

bool TfrmSetupMain::RevealPage(TSetupPage& page) {
  ShowWindow(page.Panel->Handle(), SW_SHOW);
  ShowWindow(Handle(), SW_SHOW);
  TVNControl* first = FirstFocusControl(page.Controls);
  SetFocus(first ? first->Handle() : page.Panel->Handle());
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
  TSetupPage* page = CurrentSetupPage();
  return page ? FindListBox(page->Controls, tag) : nullptr;
}

void TfrmSetupMain::WizardCommandHandler(uint8_t code, const std::string& p1, const std::string& p2,
                                         const std::string&) {
  if (Closing()) return;
  TSetupPage* page = CurrentSetupPage();
  switch (code) {
    case OpCancelSetup:
      Finishing = false;
      CloseForm();
      break;
    case OpNextPage: ShowPage(NextPageName()); break;
    case OpPreviousPage: ShowPage(PreviousPageName()); break;
    case OpGoToPage:
      ShowPage(p1);
      NavigationAborted = true;
      break;
    case OpRefreshPage:
      if (page) UpdatePage(*page, p1 == "1", "");
      (void)p2;  // repainting the background window: there is none yet
      break;
    case OpStorePageValues:
      if (page) StoreControlValues(page->Controls, Vars());
      break;
    case OpFinishSetup:
      Finishing = true;
      CloseForm();
      break;
    case OpShowWizard:
      ShowWindow(Handle(), SW_SHOW);
      if (page) ShowWindow(page->Panel->Handle(), SW_SHOW);
      RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      break;
    case OpEnableButton:
    case OpDisableButton:
      if (page) EnableButtons(page->Controls, Vars().ExpandText(p1), code == OpEnableButton);
      break;
    default: break;
  }
}

void TfrmSetupMain::UpdatePage(TSetupPage& page, bool initial, const std::string& name, uint8_t filter) {
  if (!Dialog) return;
  SetWindowTextA(Handle(), Vars().ExpandText(Dialog->Title).c_str());
  TFlagGuard refreshing(Binding.Refreshing);
  UpdateControls(page.Controls, Binding, PageRefresh(Vars(), initial, name, filter));
}

void TfrmSetupMain::VariableChanged(const std::string& name) {
  TSetupPage* page = CurrentSetupPage();
  if (!page || Closing()) return;
  TFlagGuard refreshing(Binding.Refreshing);
  for (const TRefresh& how : RefreshesAfterChange(Vars(), name)) UpdateControls(page->Controls, Binding, how);
}

void TfrmSetupMain::ControlEvent(TVNControl& control) {
  // Refreshes set values and so fire events; only the user's actions run scripts.
  if (Binding.Refreshing || Closing() || !RunsControlScript(control)) return;
  State.Interpreter->RunScript(control.Definition().Script);
}

void TfrmSetupMain::CloseForm() {
  if (Closing() || !CloseQuery()) return;
  Tag = 1;
  ShowWindow(Handle(), SW_HIDE);
  // The window goes with the form object once the scripts on the stack have returned.
  PostQuitMessage(0);
}

bool TfrmSetupMain::CloseQuery() {
  const std::string& last = State.Description.Dialogs.LastPage;
  bool atEnd = !Page.empty() && Page == last;
  if (!atEnd && !Finishing) {
    std::string text = Message(State, MsgCloseQuestion);
    HWND owner = IsWindowVisible(Handle()) ? Handle() : nullptr;
    if (MessageBoxA(owner, text.c_str(), State.ApplicationTitle.c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
      return false;
  }
  Vars().SetVariable("%CanClose%", "1");
  Vars().SetVariable("%IsFinishingSetup%", Finishing ? "1" : "0");
  State.Interpreter->RunScript(State.Description.Scripts[CloseScript]);
  if (Vars().ExpandText("%CanClose%") == "0") {
    Finishing = false;
    return false;
  }
  if (Dialog) State.Interpreter->RunScript(Dialog->LeaveScript);
  ClosedFinished = Finishing || atEnd;
  return true;
}

LRESULT TfrmSetupMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    CloseForm();
    return 0;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

int RunWizard(TSetupState& state) {
  TfrmSetupMain form(state);
  if (!form.Create()) return StartupFailed;
  form.StartWizard();
  MSG msg;
  while (!form.Closing() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // Enter and Esc go to the controls, which press their page's default or cancel button.
    bool dialogKey = msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
    if (!dialogKey && IsDialogMessageA(form.Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return form.Finished() ? StartupOk : StartupEndedByScript;
}

}  // namespace vnt
