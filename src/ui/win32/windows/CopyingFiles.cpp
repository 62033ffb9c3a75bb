#include "ui/win32/windows/CopyingFiles.h"

#include "ui/win32/windows/FixedForms.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmCopyingFiles";
constexpr int ClientWidth = 297, ClientHeight = 129;

// The copying label: the form font's face, size and character set, bold, in window text.
TFontRecord CopyingFont(const TFontRecord& font) {
  return {font.Name, font.Size, int32_t(0x80000008), 1, font.Charset};
}

}  // namespace

TfrmCopyingFiles::TfrmCopyingFiles() = default;

TfrmCopyingFiles::~TfrmCopyingFiles() { Free(); }

bool TfrmCopyingFiles::Create(HWND owner) {
  if (Handle()) return false;
  SIZE client = ScaledClientSize(ClientWidth, ClientHeight);
  if (!CreateForm(FormClass, owner ? GetAncestor(owner, GA_ROOT) : nullptr, "", client.cx, client.cy))
    return false;
  SetComponentName(Handle(), "frmCopyingFiles");
  HWND form = Handle();
  TFontRecord f = FixedFormFont();
  lblCopying = MakeControl<TVNLabel>(form, "lblCopying", CopyingFont(f), 12, 16, 273, 16);
  lblProc = MakeControl<TVNLabel>(form, "lblProc", f, 12, 36, 273, 16);
  pbProgress = MakeControl<TVNProgress>(form, "pbProgress", f, 12, 60, 273, 16);
  btnCancel = MakeButton(form, "btnCancel", f, "Cancel", 110, 92, 1);
  if (!lblCopying || !lblProc || !pbProgress || !btnCancel) {
    Free();
    return false;
  }
  lblCopying->SetCaption("");
  lblProc->SetCaption("");
  btnCancel->OnEvent = [this](TVNControl&) { Cancel(); };
  for (TVNControl* c : std::initializer_list<TVNControl*>{lblCopying.get(), lblProc.get(), pbProgress.get(),
                                                          btnCancel.get()})
    c->SetVisible(true);
  return true;
}

void TfrmCopyingFiles::SetFonts(const TFontRecord& font) {
  if (!Handle()) return;
  lblCopying->SetFont(CopyingFont(font));
  lblProc->SetFont(font);
  btnCancel->SetFont(font);
}

void TfrmCopyingFiles::SetButtonCaption(const std::string& text) {
  if (btnCancel) btnCancel->SetCaption(text);
}

void TfrmCopyingFiles::EnableCancel(bool on) {
  if (btnCancel) btnCancel->Enable(on);
}

void TfrmCopyingFiles::MoveTo(int left, int top) {
  if (Handle()) SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmCopyingFiles::Show() {
  if (!Handle()) return;
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
}

void TfrmCopyingFiles::Hide() {
  if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

void TfrmCopyingFiles::Progress(int kind, const std::string& text, int32_t value) {
  if (!Handle()) return;
  switch (kind) {
    case ProgressStatus:
      lblCopying->SetCaption(text);
      break;
    case ProgressDetail:
      lblProc->SetCaption(text);
      break;
    case ProgressPosition:
      pbProgress->SetPosition(value);
      break;
    case ProgressMaximum:
      pbProgress->SetMax(value);
      break;
  }
}

void TfrmCopyingFiles::Cancel() {
  if (OnCancel) OnCancel();
}

void TfrmCopyingFiles::Free() {
  btnCancel.reset();
  pbProgress.reset();
  lblProc.reset();
  lblCopying.reset();
  if (Handle()) ReleaseComponentName(Handle());
  TWindow::Destroy();
}

LRESULT TfrmCopyingFiles::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The close box asks as Cancel does; the window itself stays until its owner frees it.
  if (msg == WM_CLOSE) {
    if (btnCancel && btnCancel->Enabled()) Cancel();
    return 0;
  }
  return TModalForm::HandleMessage(msg, wParam, lParam);
}

std::unique_ptr<TfrmCopyingFiles> InstallProgressWindow(const TFontRecord& font, const std::string& caption,
                                                        const std::string& button, std::function<void()> onCancel) {
  auto window = std::make_unique<TfrmCopyingFiles>();
  if (!window->Create(nullptr)) return nullptr;
  window->SetFonts(font);
  SetWindowTextA(window->Handle(), caption.c_str());
  window->SetButtonCaption(button);
  window->OnCancel = std::move(onCancel);
  return window;
}

std::unique_ptr<TfrmCopyingFiles> RemovalProgressWindow(const TFontRecord& font, const std::string& caption,
                                                        const std::string& button, const std::string& label) {
  auto window = std::make_unique<TfrmCopyingFiles>();
  if (!window->Create(nullptr)) return nullptr;
  window->SetFonts(font);
  SetWindowTextA(window->Handle(), caption.c_str());
  window->SetButtonCaption(button);
  window->EnableCancel(false);
  window->Progress(ProgressStatus, label, 0);
  RECT r;
  GetWindowRect(window->Handle(), &r);
  POINT at = CentredOnScreen(r.right - r.left, r.bottom - r.top);
  window->MoveTo(at.x, at.y);
  window->Show();
  return window;
}

}  // namespace vnt
