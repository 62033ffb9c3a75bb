#include "ui/win32/windows/StartCEConnection.h"

#include "ui/win32/windows/FixedForms.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmStartCEConnection";
constexpr int ClientWidth = 301, ClientHeight = 45;

}  // namespace

TfrmStartCEConnection::TfrmStartCEConnection() = default;

TfrmStartCEConnection::~TfrmStartCEConnection() {
  lblMsg.reset();
  if (Handle()) ReleaseComponentName(Handle());
  TWindow::Destroy();
}

bool TfrmStartCEConnection::Open(HWND owner, const TStartCEConnectionTexts& texts) {
  if (Handle()) return false;
  // The hourglass stays over the window whatever the mouse does.
  RegisterWindowClass(FormClass, LoadCursor(nullptr, IDC_WAIT), GetSysColorBrush(COLOR_BTNFACE));
  SIZE client = ScaledClientSize(ClientWidth, ClientHeight);
  if (!CreateForm(FormClass, owner, texts.Caption, client.cx, client.cy)) return false;
  SetComponentName(Handle(), "frmStartCEConnection");
  TFontRecord font = BoldFont(texts.Font.value_or(FixedFormFont()));
  // Room for a second line under the first, should the message wrap.
  lblMsg = MakeControl<TVNLabel>(Handle(), "lblMsg", font, 15, 15, 272, ClientHeight - 15 - 2);
  if (!lblMsg) return false;
  lblMsg->SetCaption(texts.Message);
  lblMsg->SetVisible(true);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
  return true;
}

LRESULT TfrmStartCEConnection::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    // The connection decides when the window goes; the request only ends its wait.
    if (OnCancel) OnCancel();
    return 0;
  }
  return TModalForm::HandleMessage(msg, wParam, lParam);
}

TDeviceConnectionWindow::TDeviceConnectionWindow(std::function<TStartCEConnectionTexts()> texts)
    : Texts(std::move(texts)) {}

TDeviceConnectionWindow::~TDeviceConnectionWindow() = default;

void TDeviceConnectionWindow::operator()(bool done) {
  if (done) {
    Window.reset();
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return;
  }
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  if (Window) return;  // already shown
  auto window = std::make_unique<TfrmStartCEConnection>();
  window->OnCancel = [this] {
    if (OnCancel) OnCancel();
  };
  if (window->Open(GetActiveWindow(), Texts ? Texts() : TStartCEConnectionTexts{})) Window = std::move(window);
}

}  // namespace vnt
