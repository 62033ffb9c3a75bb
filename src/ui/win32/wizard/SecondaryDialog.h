// TfrmSecondaryDialog: the modal window that hosts a secondary dialog of the package. The
// wizard builds the dialog's controls into its panel pnlSecondary and shows it modally; at
// its first paint the window asks the wizard whether to go on.
#pragma once

#include <functional>
#include <memory>

#include "platform/win32/ModalLoop.h"

namespace vnt {

class TSecondaryPanel;

class TfrmSecondaryDialog : public TModalForm {
public:
  TfrmSecondaryDialog();
  ~TfrmSecondaryDialog() override;

  // The hidden window, owned by owner (the wizard), with its panel filling the client area;
  // font Arial 8 points until SetFont. False when the windows cannot be made.
  bool Create(HWND owner);
  // pnlSecondary, the container of the dialog's controls.
  HWND Panel() const;
  // The panel's font; controls created on the panel start with it.
  void SetFont(const TFontRecord& font);
  const TFontRecord& Font() const { return FontRec; }
  // SetClientSize (the panel follows), CentreOnScreen, SetCaption, ShowModal, EndModal:
  // TModalForm. ShowModal answers ModalOk/ModalCancel/ModalAbort or what EndModal was
  // given; closing the window is ModalCancel.

  // Runs once, at the window's first paint while it is shown modally; answering false ends
  // the window with ModalAbort (whatever EndModal the callback itself made).
  std::function<bool()> OnAfterShow;

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool DialogKey(WPARAM key) override;

private:
  friend class TSecondaryPanel;
  void FirstPaint();

  std::unique_ptr<TSecondaryPanel> PanelWindow;
  TFontRecord FontRec{"Arial", 8, int32_t(0x80000008), 0, 1};
  bool Painted = false;
};

}  // namespace vnt
