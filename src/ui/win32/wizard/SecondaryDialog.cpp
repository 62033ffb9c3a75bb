#include "ui/win32/wizard/SecondaryDialog.h"

#include "ui/win32/controls/VNControl.h"

namespace vnt {

namespace {
constexpr char FormClass[] = "TfrmSecondaryDialog";
constexpr char PanelClass[] = "TVntSecondaryPanel";
}  // namespace

// The panel without bevel: holds the font its controls start with, passes Enter and Esc
// that reach it to the dialog's buttons, and reports its paint to the window.
class TSecondaryPanel : public TWindow {
public:
  explicit TSecondaryPanel(TfrmSecondaryDialog& form) : Form(form) {}
  void SetFont(const TFontRecord& record) {
    auto made = std::make_unique<TFont>(record);
    if (Handle()) SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(made->Handle()), TRUE);
    OwnFont = std::move(made);  // the old font goes only after the panel let go of it
  }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_SETFONT:
        FontHandle = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
      case WM_GETFONT:
        return reinterpret_cast<LRESULT>(FontHandle);
      case WM_KEYDOWN:
        if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && RouteDialogKey(Handle(), wParam)) return 0;
        break;
      case WM_PAINT: {
        LRESULT result = TWindow::HandleMessage(msg, wParam, lParam);
        Form.FirstPaint();
        return result;
      }
    }
    return TWindow::HandleMessage(msg, wParam, lParam);
  }

private:
  TfrmSecondaryDialog& Form;
  std::unique_ptr<TFont> OwnFont;
  HFONT FontHandle = nullptr;
};

TfrmSecondaryDialog::TfrmSecondaryDialog() = default;

TfrmSecondaryDialog::~TfrmSecondaryDialog() {
  PanelWindow.reset();
  Destroy();
}

bool TfrmSecondaryDialog::Create(HWND owner) {
  if (Handle()) return false;
  RegisterWindowClass(PanelClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  if (!CreateForm(FormClass, owner, "", 300, 200)) return false;
  SetComponentName(Handle(), "frmSecondaryDialog");
  RECT client;
  GetClientRect(Handle(), &client);
  PanelWindow = std::make_unique<TSecondaryPanel>(*this);
  if (!PanelWindow->CreateWindowOf(PanelClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                                   Handle(), "", 0, 0, client.right, client.bottom)) {
    PanelWindow.reset();
    Destroy();
    return false;
  }
  SetComponentName(PanelWindow->Handle(), "pnlSecondary");
  PanelWindow->SetFont(FontRec);
  return true;
}

HWND TfrmSecondaryDialog::Panel() const { return PanelWindow ? PanelWindow->Handle() : nullptr; }

void TfrmSecondaryDialog::SetFont(const TFontRecord& font) {
  FontRec = font;
  if (PanelWindow) PanelWindow->SetFont(font);
}

void TfrmSecondaryDialog::FirstPaint() {
  // Only a paint of the shown window counts; the callback may paint again meanwhile.
  if (Painted || !IsModal()) return;
  Painted = true;
  if (OnAfterShow && !OnAfterShow()) EndModal(ModalAbort);
}

LRESULT TfrmSecondaryDialog::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SIZE:
      if (Panel())
        SetWindowPos(Panel(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    case WM_PAINT: {
      LRESULT result = TModalForm::HandleMessage(msg, wParam, lParam);
      FirstPaint();
      return result;
    }
  }
  return TModalForm::HandleMessage(msg, wParam, lParam);
}

bool TfrmSecondaryDialog::DialogKey(WPARAM key) { return RouteDialogKey(Handle(), key); }

}  // namespace vnt
