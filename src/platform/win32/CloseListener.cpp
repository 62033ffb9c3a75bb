#include "platform/win32/CloseListener.h"

#include "platform/win32/Window.h"

namespace vnt {

namespace {

class TListeningWindow : public TWindow {
public:
  explicit TListeningWindow(std::atomic<bool>& requested) : Requested(requested) {}

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg != WM_CLOSE) return TWindow::HandleMessage(msg, wParam, lParam);
    Requested = true;
    return 0;
  }

private:
  std::atomic<bool>& Requested;
};

}  // namespace

TCloseListener::TCloseListener() : Ready(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
  // Without a thread the run goes on without hearing requests to close.
  if (Ready) Thread = CreateThread(nullptr, 0, &TCloseListener::Start, this, 0, &ThreadId);
}

TCloseListener::~TCloseListener() {
  if (Thread) {
    // The queue must exist before WM_QUIT can be posted to it.
    WaitForSingleObject(Ready, INFINITE);
    PostThreadMessageA(ThreadId, WM_QUIT, 0, 0);
    // Messages sent to this thread's windows meanwhile are answered: the listener's thread
    // must not wait on us while we wait on it.
    MSG msg;
    while (MsgWaitForMultipleObjects(1, &Thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    CloseHandle(Thread);
  }
  if (Ready) CloseHandle(Ready);
}

DWORD WINAPI TCloseListener::Start(void* self) {
  static_cast<TCloseListener*>(self)->Listen();
  return 0;
}

void TCloseListener::Listen() {
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the thread's queue
  SetEvent(Ready);
  try {
    static constexpr char ClassName[] = "TVantryUnattendedSetup";
    TWindow::RegisterWindowClass(ClassName, nullptr, nullptr);
    TListeningWindow window(Requested);
    // Without a display there is no window, and nothing to hear; the thread still waits for
    // its end, so that ending it is the same either way.
    window.CreateWindowOf(ClassName, WS_POPUP, WS_EX_TOOLWINDOW, nullptr, "", 0, 0, 0, 0);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  } catch (...) {
    // Out of memory at worst: the run goes on without hearing requests to close.
  }
}

}  // namespace vnt
