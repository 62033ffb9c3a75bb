#include "platform/win32/Window.h"

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {
constexpr char ComponentProperty[] = "VntName";
}

TWindow::~TWindow() { Destroy(); }

void TWindow::Destroy() {
  if (!Wnd) return;
  HWND wnd = Wnd;
  SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
  Wnd = nullptr;
  DestroyWindow(wnd);
}

bool TWindow::CreateWindowOf(const char* className, DWORD style, DWORD exStyle, HWND parent,
                             const std::string& text, int left, int top, int width, int height) {
  HWND wnd = CreateWindowExA(exStyle, className, text.c_str(), style, left, top, width, height, parent, nullptr,
                             GetModuleHandleA(nullptr), this);
  return wnd != nullptr && wnd == Wnd;
}

void TWindow::RegisterWindowClass(const char* className, HCURSOR cursor, HBRUSH background) {
  WNDCLASSA wc = {};
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return;
  wc.lpfnWndProc = Dispatch;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  RegisterClassA(&wc);
}

LRESULT TWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(Wnd, msg, wParam, lParam);
}

LRESULT CALLBACK TWindow::Dispatch(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return GuardCallback(LRESULT(0), [&] { return DispatchTo(wnd, msg, wParam, lParam); });
}

LRESULT TWindow::DispatchTo(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->Wnd = wnd;
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TWindow*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(wnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    self->Wnd = nullptr;
    return DefWindowProcA(wnd, msg, wParam, lParam);
  }
  return self->HandleMessage(msg, wParam, lParam);
}

TFont::TFont(const TFontRecord& record) {
  LOGFONTA lf = {};
  HDC screen = GetDC(nullptr);
  lf.lfHeight = -MulDiv(record.Size, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  lf.lfWeight = (record.Style & 1) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (record.Style & 2) != 0;
  lf.lfUnderline = (record.Style & 4) != 0;
  lf.lfStrikeOut = (record.Style & 8) != 0;
  lf.lfCharSet = record.Charset;
  lstrcpynA(lf.lfFaceName, record.Name.c_str(), LF_FACESIZE);
  Font = CreateFontIndirectA(&lf);
}

TFont::~TFont() {
  if (Font) DeleteObject(Font);
}

COLORREF TFont::ColorOf(int32_t color) {
  uint32_t c = uint32_t(color);
  if (c & 0x80000000u) return GetSysColor(int(c & 0xFF));
  return COLORREF(c & 0x00FFFFFF);
}

void SetComponentName(HWND wnd, const std::string& name) {
  ReleaseComponentName(wnd);
  ATOM atom = GlobalAddAtomA(name.c_str());
  if (atom) SetPropA(wnd, ComponentProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

std::string ComponentName(HWND wnd) {
  ATOM atom = ATOM(reinterpret_cast<UINT_PTR>(GetPropA(wnd, ComponentProperty)));
  char name[256] = "";
  if (atom) GlobalGetAtomNameA(atom, name, sizeof name);
  return name;
}

void ReleaseComponentName(HWND wnd) {
  ATOM atom = ATOM(reinterpret_cast<UINT_PTR>(RemovePropA(wnd, ComponentProperty)));
  if (atom) GlobalDeleteAtom(atom);
}

void ProcessMessages() {
  if (auto quit = DispatchPendingMessages()) PostQuitMessage(*quit);
}

POINT CentredOnScreen(int width, int height) {
  return {(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

}  // namespace vnt
