// TfrmCopyingFiles: the window that shows the installation's progress while the wizard is
// hidden. It is not modal and never takes the activation; its owner places and labels it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "package/ProgressKinds.h"
#include "platform/win32/ModalLoop.h"
#include "ui/win32/controls/VNButtons.h"
#include "ui/win32/controls/VNLabel.h"
#include "ui/win32/controls/VNShapes.h"

namespace vnt {

class TfrmCopyingFiles : public TModalForm {
public:
  TfrmCopyingFiles();
  ~TfrmCopyingFiles() override;

  // The hidden window, owned by owner; Arial 8 until SetFonts. False when it cannot be made.
  bool Create(HWND owner);
  // The window's font; lblCopying shows its face, size and character set in bold.
  void SetFonts(const TFontRecord& font);
  void SetButtonCaption(const std::string& text);
  void EnableCancel(bool on);
  // Top-left corner of the window on the screen.
  void MoveTo(int left, int top);
  // Shows the window without activating it.
  void Show();
  void Hide();

  // The progress display, by TProgressKind: lblCopying, lblProc, the bar's position, its maximum.
  void Progress(int kind, const std::string& text, int32_t value);

  // btnCancel (and the window's close box): the owner asks whether the setup may close.
  std::function<void()> OnCancel;

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  void Cancel();
  void Free();

  std::unique_ptr<TVNLabel> lblCopying, lblProc;
  std::unique_ptr<TVNProgress> pbProgress;
  std::unique_ptr<TVNButton> btnCancel;
};

// The progress window of an installation, hidden and not yet placed: its Cancel and close box
// call onCancel.
std::unique_ptr<TfrmCopyingFiles> InstallProgressWindow(const TFontRecord& font, const std::string& caption,
                                                        const std::string& button, std::function<void()> onCancel);

// The progress window of a removal, centred and shown: its label says what happens; its
// Cancel is there but cannot be used, a removal half done being worse than one finished.
std::unique_ptr<TfrmCopyingFiles> RemovalProgressWindow(const TFontRecord& font, const std::string& caption,
                                                        const std::string& button, const std::string& label);

}  // namespace vnt
