// Modal windows: while one runs its own message loop, the windows it would compete with are
// disabled; afterwards they come back enabled and the window that was active is active again.
// A quit request ends every nested loop and is put back for the loop below.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Window.h"

namespace vnt {

// Results of modal windows.
constexpr int ModalNone = 0, ModalOk = 1, ModalCancel = 2, ModalAbort = 3, ModalYes = 6, ModalNo = 7,
              ModalNoToAll = 9, ModalYesToAll = 10;

// One message of a window's loop: keyboard navigation (Tab, arrows, mnemonics) through
// IsDialogMessage, except Enter and Esc, which our controls route to the window's default
// and cancel buttons themselves.
void DispatchDialogMessage(HWND window, MSG& msg);

class TModalLoop {
public:
  // Shows the window and handles messages until End, until the window is destroyed (Cancel)
  // or until a quit request (Cancel; the request is posted again). While it runs, the owner
  // and the thread's other visible windows are disabled. A second Run while one is running
  // answers ModalNone at once.
  int Run(HWND window, HWND owner);
  // Ends the running loop with the result; the last call before the loop wakes up wins.
  // A call while no loop runs only sets the result, which the next Run clears.
  void End(int result);
  bool Running() const { return Active; }
  int Result() const { return ModalResult; }
  // Whether the last Run ended because the application is quitting.
  bool Quitting() const { return QuitSeen; }

private:
  HWND Window = nullptr;
  bool Active = false, Ended = false, QuitSeen = false;
  int ModalResult = ModalNone;
};

// A top-level window with a fixed dialog border, shown modally. Closing it (the X button,
// Alt+F4) ends it with Cancel; it gives its focused control the focus back when it is
// activated again; Enter and Esc pressed on the window itself go to DialogKey.
class TModalForm : public TWindow {
public:
  // Runs the window modally over its owner; answers the result.
  int ShowModal();
  void EndModal(int result) { Loop.End(result); }
  bool IsModal() const { return Loop.Running(); }
  int ModalResult() const { return Loop.Result(); }
  bool Quitting() const { return Loop.Quitting(); }

  void SetCaption(const std::string& text);
  // Resizes the window so that its client area has this size; the position stays.
  void SetClientSize(int width, int height);
  void CentreOnScreen();

protected:
  // Creates the hidden window, owned by owner, with the client size given, centred.
  bool CreateForm(const char* className, HWND owner, const std::string& caption, int clientWidth,
                  int clientHeight);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // Enter (VK_RETURN) or Esc (VK_ESCAPE) that reached the window itself; answers whether it
  // was used.
  virtual bool DialogKey(WPARAM) { return false; }
  // The control that has the focus when the window opens; null: the first tab stop.
  virtual HWND InitialFocus() const { return nullptr; }

private:
  TModalLoop Loop;
  HWND SavedFocus = nullptr;
};

}  // namespace vnt
