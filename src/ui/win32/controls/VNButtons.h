// The button family: the push button with its type (cancel, default), and the check box
// and radio button, both painted over what lies behind them.
#pragma once

#include "ui/win32/controls/VNPainted.h"

namespace vnt {

class TVNButton : public TVNControl {
public:
  // 0 neither, 1 cancel (Esc), 2 default (Enter); other values change nothing but are kept.
  void SetButtonType(int32_t type);
  int32_t ButtonType() const { return Type; }
  bool IsCancel() const { return Flags.Cancel; }
  bool IsDefault() const { return Flags.Default; }
  bool AnswersDialogKey(WPARAM key) const override;
  bool IsPushButton() const override { return true; }

protected:
  const char* ClassName() const override { return "BUTTON"; }
  DWORD Style() const override;
  std::string DefaultText() const override { return "Button"; }
  SIZE DefaultSize() const override { return {75, 25}; }
  int TagParam() const override { return 4; }
  void Command(WORD code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  int32_t Type = 0;
  TButtonFlags Flags;
};

// Check box and radio button: transparent painting is on unless switched off.
class TVNCheckControl : public TVNBackdropControl {
public:
  bool Checked() const;
  void SetChecked(bool on);
  void SetTransparentPaint(bool on);
  bool Transparent() const override { return TransparentPaint; }

protected:
  DWORD Style() const override { return WS_TABSTOP; }
  const char* ClassName() const override { return "BUTTON"; }
  void Command(WORD code) override;

private:
  bool TransparentPaint = true;
};

class TVNCheckBox : public TVNCheckControl {
public:
  void SetCheckedValue(const std::string& text) { Values.Checked = text; }
  void SetUncheckedValue(const std::string& text) { Values.Unchecked = text; }
  const TCheckValues& CheckValues() const { return Values; }
  // Acts only when the text differs from the current value: checks the box exactly when
  // the text is the checked value (ignoring case) and remembers the text.
  void SetValue(const std::string& text) override;
  std::string Value() const override;
  const std::string& CurrentValue() const { return Current; }

protected:
  DWORD Style() const override { return TVNCheckControl::Style() | BS_AUTOCHECKBOX; }
  std::string DefaultText() const override { return "Check Box"; }
  SIZE DefaultSize() const override { return {97, 17}; }

private:
  TCheckValues Values;
  std::string Current;
};

class TVNRadioButton : public TVNCheckControl {
public:
  // The value stored in the binding when the button is selected.
  void SetSelectedValue(const std::string& text) { Selected = text; }
  const std::string& SelectedValue() const { return Selected; }
  // Selected exactly when the text equals the selected value.
  void SetValue(const std::string& text) override { SetChecked(text == Selected); }
  // The selected value when checked, else empty.
  std::string Value() const override { return Checked() ? Selected : ""; }

protected:
  DWORD Style() const override { return TVNCheckControl::Style() | BS_AUTORADIOBUTTON; }
  std::string DefaultText() const override { return "Radio Box"; }
  SIZE DefaultSize() const override { return {113, 17}; }

private:
  std::string Selected;
};

}  // namespace vnt
