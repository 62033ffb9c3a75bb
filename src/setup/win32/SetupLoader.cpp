#include "setup/win32/SetupLoader.h"

#include "platform/win32/ScreenDpi.h"
#include "setup/LoaderPlacement.h"

namespace vnt {

namespace {
constexpr char LoaderClass[] = "TfrmSetupLoader";

TFontRecord LoaderFont(TFontRecord font) {
  font.Color = 0x00FFFFFF;
  font.Style |= 1;
  font.Size = 8;
  return font;
}
}  // namespace

TfrmSetupLoader::TfrmSetupLoader(const std::string& caption, const std::string& title, const std::string& message,
                                 const TFontRecord& font, bool splash)
    : Width(Scaled(ClientWidth)), Height(Scaled(ClientHeight)), Font(std::make_unique<TFont>(LoaderFont(font))) {
  Picture = LoadBitmapA(GetModuleHandleA(nullptr), "LOADER");
  if (Picture && (Width != ClientWidth || Height != ClientHeight)) {
    // Without the stretched copy the window shows its plain colour rather than a part picture.
    HBITMAP stretched = StretchedCopy(Picture, Width, Height);
    DeleteObject(Picture);
    Picture = stretched;
  }
  RegisterWindowClass(LoaderClass, LoadCursor(nullptr, IDC_WAIT), nullptr);
  RECT frame{0, 0, Width, Height};
  AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  TPlacement at = LoaderPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width, height, splash);
  CreateWindowOf(LoaderClass, WS_POPUP | WS_CLIPCHILDREN, 0, nullptr, caption, at.Left, at.Top, width, height);
  lblTitle = MakeLabel(title, "lblTitle", 9, 8, 281, 13);
  lblMessage = MakeLabel(message, "lblMessage", 9, 32, 281, 67);
}

TfrmSetupLoader::~TfrmSetupLoader() {
  for (HWND label : {lblTitle, lblMessage})
    if (label) ReleaseComponentName(label);
  Destroy();
  if (Picture) DeleteObject(Picture);
}

HWND TfrmSetupLoader::MakeLabel(const std::string& text, const char* name, int left, int top, int width, int height) {
  RECT r = ScaledBounds(left, top, width, height);
  HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, Handle(), nullptr, GetModuleHandleA(nullptr),
                               nullptr);
  if (label) SetComponentName(label, name);
  return label;
}

// Shown without activation: the loader only shows progress, and hiding an activated window
// makes Wine wait up to two seconds for a window manager on a bare X server.
void TfrmSetupLoader::ShowAndPaint() {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Handle());
}

void TfrmSetupLoader::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  if (Picture) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, Picture);
    BitBlt(dc, 0, 0, Width, Height, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  } else {
    RECT all{0, 0, Width, Height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_ACTIVECAPTION));
  }
  EndPaint(Handle(), &ps);
}

// Labels are transparent: the picture behind them is drawn first, then the text, centred
// vertically in the label.
void TfrmSetupLoader::DrawLabel(HDC dc, HWND label, UINT alignment) {
  RECT box;
  GetClientRect(label, &box);
  POINT origin{0, 0};
  MapWindowPoints(label, Handle(), &origin, 1);
  if (Picture) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, Picture);
    BitBlt(dc, 0, 0, box.right, box.bottom, mem, origin.x, origin.y, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  char text[1024];
  GetWindowTextA(label, text, sizeof text);
  HGDIOBJ oldFont = SelectObject(dc, Font->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT measure = box;
  DrawTextA(dc, text, -1, &measure, alignment | DT_WORDBREAK | DT_CALCRECT);
  RECT place = box;
  place.top += (box.bottom - (measure.bottom - measure.top)) / 2;
  DrawTextA(dc, text, -1, &place, alignment | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

LRESULT TfrmSetupLoader::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      DrawLabel(item->hDC, item->hwndItem, item->hwndItem == lblTitle ? DT_LEFT : DT_CENTER);
      return TRUE;
    }
    case WM_CLOSE: return 0;  // the loader closes when start-up is done with it
    default: return TWindow::HandleMessage(msg, wParam, lParam);
  }
}

}  // namespace vnt
