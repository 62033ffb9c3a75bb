// TfrmStartCEConnection: the small window shown while the program connects to a Windows CE
// device, and TDeviceConnectionWindow, the callback that shows and frees it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/win32/ModalLoop.h"
#include "ui/win32/controls/VNLabel.h"

namespace vnt {

struct TStartCEConnectionTexts {
  std::string Caption;
  std::string Message;  // lblMsg, ampersands already doubled
  // The window's font; Arial 8 when not given.
  std::optional<TFontRecord> Font;
};

// Not modal, never activated, and it refuses to be closed: only its owner frees it. A request
// to close it is the person giving up the wait: OnCancel hears of it.
class TfrmStartCEConnection : public TModalForm {
public:
  TfrmStartCEConnection();
  std::function<void()> OnCancel;
  ~TfrmStartCEConnection() override;
  // Makes and shows the window centred on the screen, owned by owner.
  bool Open(HWND owner, const TStartCEConnectionTexts& texts);

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  std::unique_ptr<TVNLabel> lblMsg;
};

// The device layer calls it with false when it starts connecting and with true when it has
// finished. Texts are asked for at each showing, so that they follow the variables.
class TDeviceConnectionWindow {
public:
  explicit TDeviceConnectionWindow(std::function<TStartCEConnectionTexts()> texts);
  ~TDeviceConnectionWindow();
  TDeviceConnectionWindow(const TDeviceConnectionWindow&) = delete;
  TDeviceConnectionWindow& operator=(const TDeviceConnectionWindow&) = delete;

  void operator()(bool done);
  // Called when the person asks to close the shown window (the connection wait is given up).
  std::function<void()> OnCancel;
  // The window while it is shown, else null.
  HWND Handle() const { return Window ? Window->Handle() : nullptr; }

private:
  std::function<TStartCEConnectionTexts()> Texts;
  std::unique_ptr<TfrmStartCEConnection> Window;
};

}  // namespace vnt
