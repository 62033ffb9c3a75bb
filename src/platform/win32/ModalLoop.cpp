#include "platform/win32/ModalLoop.h"

#include <algorithm>
#include <vector>

#include "platform/win32/CallbackGuard.h"

namespace vnt {

namespace {

constexpr DWORD FormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD FormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct TEnabledWindows {
  HWND Modal;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectEnabled(HWND wnd, LPARAM lParam) {
  return GuardCallback(FALSE, [&] {
    auto* search = reinterpret_cast<TEnabledWindows*>(lParam);
    if (wnd != search->Modal && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) search->Found.push_back(wnd);
    return TRUE;
  });
}

HWND TopLevelOf(HWND wnd) { return wnd ? GetAncestor(wnd, GA_ROOT) : nullptr; }

// Everything the user could reach instead of the modal window: the owner, even while
// hidden, and the thread's other visible windows (a background window behind the wizard,
// the copying window). Answers the windows it disabled.
std::vector<HWND> DisableOthers(HWND modal, HWND owner) {
  TEnabledWindows search{modal, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&search));
  owner = TopLevelOf(owner);
  if (owner && owner != modal && IsWindowEnabled(owner) &&
      std::find(search.Found.begin(), search.Found.end(), owner) == search.Found.end())
    search.Found.push_back(owner);
  for (HWND wnd : search.Found) EnableWindow(wnd, FALSE);
  return search.Found;
}

bool IsUsable(HWND wnd) { return wnd && IsWindow(wnd) && IsWindowVisible(wnd); }

}  // namespace

void DispatchDialogMessage(HWND window, MSG& msg) {
  bool dialogKey = msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE);
  if (!dialogKey && IsDialogMessageA(window, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

int TModalLoop::Run(HWND window, HWND owner) {
  if (Active || !window || !IsWindow(window)) return ModalNone;
  Window = window;
  Active = true;
  Ended = QuitSeen = false;
  ModalResult = ModalNone;
  HWND previous = GetActiveWindow();
  std::vector<HWND> disabled = DisableOthers(window, owner);
  ShowWindow(window, SW_SHOW);
  int quitCode = 0;
  MSG msg;
  while (!Ended && !CallbackFailed() && IsWindow(window)) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      QuitSeen = true;
      quitCode = int(msg.wParam);
      break;
    }
    if (got == -1) break;
    DispatchDialogMessage(window, msg);
  }
  if (!Ended) ModalResult = ModalCancel;  // quitting, or the window went away
  Active = false;
  Window = nullptr;
  // Enabled before the window hides, so that Windows does not hand the activation to
  // another program meanwhile.
  for (HWND wnd : disabled)
    if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  if (IsWindow(window)) ShowWindow(window, SW_HIDE);
  HWND back = previous != window && IsUsable(previous) ? previous : TopLevelOf(owner);
  if (IsUsable(back)) SetActiveWindow(back);
  if (QuitSeen) PostQuitMessage(quitCode);
  ThrowKeptException();  // once the windows are back as they were
  return ModalResult;
}

void TModalLoop::End(int result) {
  ModalResult = result;
  if (!Active) return;
  Ended = true;
  PostMessageA(Window, WM_NULL, 0, 0);  // wakes the loop when it is waiting for a message
}

bool TModalForm::CreateForm(const char* className, HWND owner, const std::string& caption, int clientWidth,
                            int clientHeight) {
  RegisterWindowClass(className, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, FormStyle, FALSE, FormExStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  POINT at = CentredOnScreen(width, height);
  return CreateWindowOf(className, FormStyle, FormExStyle, TopLevelOf(owner), caption, at.x, at.y, width, height);
}

int TModalForm::ShowModal() {
  if (!Handle()) return ModalNone;
  SavedFocus = nullptr;
  return Loop.Run(Handle(), GetWindow(Handle(), GW_OWNER));
}

void TModalForm::SetCaption(const std::string& text) {
  if (Handle()) SetWindowTextA(Handle(), text.c_str());
}

void TModalForm::SetClientSize(int width, int height) {
  if (!Handle()) return;
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, DWORD(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                     DWORD(GetWindowLongA(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TModalForm::CentreOnScreen() {
  if (!Handle()) return;
  RECT r;
  GetWindowRect(Handle(), &r);
  POINT at = CentredOnScreen(r.right - r.left, r.bottom - r.top);
  SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TModalForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      EndModal(ModalCancel);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) SavedFocus = focus;
      } else if (!HIWORD(wParam)) {  // not while minimised
        HWND target = SavedFocus && IsWindow(SavedFocus) && IsChild(Handle(), SavedFocus) ? SavedFocus : nullptr;
        if (!target) target = InitialFocus();
        if (!target) target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
        if (target) {
          SetFocus(target);
          return 0;
        }
      }
      break;
    case WM_KEYDOWN:
      if ((wParam == VK_RETURN || wParam == VK_ESCAPE) && DialogKey(wParam)) return 0;
      break;
  }
  return TWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace vnt
