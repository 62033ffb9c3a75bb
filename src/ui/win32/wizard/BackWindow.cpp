#include "ui/win32/wizard/BackWindow.h"

#include "package/SetupFuncs.h"
#include "platform/win32/FileStream.h"
#include "ui/win32/wizard/SetupMain.h"

namespace vnt {

namespace {

constexpr char BackWindowClass[] = "TfrmBackWindow";

TPointI PictureFileSize(const std::string& path) {
  std::unique_ptr<TFileStream> file = TFileStream::OpenRead(path);
  if (!file) return {};
  std::string head(64, '\0');
  head.resize(file->Read(head.data(), head.size()));
  return BitmapFileSize(head).value_or(TPointI{});
}

}  // namespace

TfrmBackWindow::TfrmBackWindow(TSetupState& state) : State(state) {
  for (const TSetupBackItem& definition : State.Description.BackItems) {
    TItem item;
    item.Definition = &definition;
    item.Text = definition.Text;
    if (!definition.IsText()) {
      item.Picture = LoadBitmapFile(SupportFile(definition.Picture));
      if (item.Picture) item.PictureSize = PictureFileSize(SupportFile(definition.Picture));
    }
    Items.push_back(std::move(item));
  }
}

TfrmBackWindow::~TfrmBackWindow() {
  Destroy();
  if (Palette) DeleteObject(Palette);
}

std::string TfrmBackWindow::SupportFile(const std::string& name) const {
  return name.empty() ? std::string() : State.TempSetupDir + "\\" + name;
}

bool TfrmBackWindow::Create() {
  const TSetupProperties& p = State.Description.Properties;
  if (TFont::ColorOf(p.BackgroundColor1) != TFont::ColorOf(p.BackgroundColor2)) {
    std::vector<char> memory(sizeof(LOGPALETTE) + GradientSteps * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(memory.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = GradientSteps;
    for (int i = 0; i < GradientSteps; ++i) {
      COLORREF c = GradientStepColor(TFont::ColorOf(p.BackgroundColor1), TFont::ColorOf(p.BackgroundColor2), i);
      palette->palPalEntry[i] = {GetRValue(c), GetGValue(c), GetBValue(c), 0};
    }
    Palette = CreatePalette(palette);
  }
  std::string picture = SupportFile(p.BackgroundBitmap);
  if (!picture.empty() && GetFileAttributesA(picture.c_str()) != INVALID_FILE_ATTRIBUTES) Picture = LoadBitmapFile(picture);
  RegisterWindowClass(BackWindowClass, LoadCursor(nullptr, IDC_ARROW), nullptr);
  TBackPlacement place = BackWindowPlacement(p.BackgroundSize, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  DWORD style = place.Borderless ? WS_POPUP : WS_OVERLAPPEDWINDOW;
  if (!CreateWindowOf(BackWindowClass, style, 0, nullptr, State.ApplicationTitle, place.Bounds.Left, place.Bounds.Top,
                      place.Bounds.Width(), place.Bounds.Height()))
    return false;
  RefreshItemTexts();
  ShowWindow(Handle(), place.Maximised ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(Handle());
  PlayEntry();
  return true;
}

void TfrmBackWindow::Host(TfrmSetupMain& wizard) {
  Wizard = &wizard;
  Ready = true;
}

void TfrmBackWindow::Refresh() {
  SetWindowTextA(Handle(), State.ApplicationTitle.c_str());
  RefreshItemTexts();
  InvalidateRect(Handle(), nullptr, FALSE);
}

// Texts follow their variables: expanded anew whenever the window is activated.
bool TfrmBackWindow::RefreshItemTexts() {
  bool changed = false;
  for (TItem& item : Items) {
    if (!item.Definition->IsText()) continue;
    std::string text = State.Vars->ExpandText(item.Definition->Text);
    changed |= text != item.Text;
    item.Text = std::move(text);
  }
  return changed;
}

// The wizard stays in front of this window, or the copying window while the wizard is
// hidden, or a page's own dialog in front of the wizard; nothing is activated.
void TfrmBackWindow::Activated() {
  if (RefreshItemTexts() || Palette) InvalidateRect(Handle(), nullptr, FALSE);
  if (Ready && Wizard) Wizard->KeepInFront();
}

LRESULT TfrmBackWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // painting covers the whole window
    case WM_PAINT: {
      TBufferedPaint paint(Handle());
      Paint(paint.Dc());
      return 0;
    }
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_SIZE: InvalidateRect(Handle(), nullptr, FALSE); break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Activated();
      break;
    case WM_ACTIVATEAPP:
      if (wParam) Activated();
      break;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      if (Palette && (msg == WM_QUERYNEWPALETTE || HWND(wParam) != Handle())) InvalidateRect(Handle(), nullptr, FALSE);
      return Palette ? TRUE : FALSE;
    case WM_CLOSE:
      // The wizard's close question decides; before the wizard exists nothing closes.
      if (Ready && Wizard) Wizard->RequestClose();
      return 0;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace vnt
