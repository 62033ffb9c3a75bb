// A window that is never shown, there only to hear a request to close (another program's
// WM_CLOSE, as taskkill sends it to a process's top-level windows). It lives on a thread of its
// own: the first window of a process can take a while to make (under Wine, the connection to
// the display), and a run without pages need not wait for it. The run asks for a request at
// its own pace, from its own thread.
#pragma once

#include <windows.h>

#include <atomic>

namespace vnt {

class TCloseListener {
public:
  TCloseListener();
  // Ends the thread and its window.
  ~TCloseListener();
  TCloseListener(const TCloseListener&) = delete;
  TCloseListener& operator=(const TCloseListener&) = delete;

  // Whether a request to close came since the last call.
  bool TakeRequest() { return Requested.exchange(false); }

private:
  static DWORD WINAPI Start(void* self);
  void Listen();

  std::atomic<bool> Requested{false};
  HANDLE Ready;  // set once the thread has its message queue
  HANDLE Thread = nullptr;
  DWORD ThreadId = 0;
};

}  // namespace vnt
