// Read-only multi-line lists of texts: the memo list that scripts fill by its tag, and the
// list of items a removal could not delete. Both have the button-face colour.
#pragma once

#include <vector>

#include "ui/win32/controls/VNControl.h"
#include "ui/win32/controls/VNPaint.h"

namespace vnt {

class TVNMemo : public TVNControl {
public:
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  void ClearLines() { SetLines({}); }
  void SortLines();
  void SetColor(int32_t color);
  // The value is the lines as a "|"-separated list.
  void SetValue(const std::string& text) override { SetLines(SplitItems(text)); }
  std::string Value() const override { return JoinItems(Lines()); }

protected:
  const char* ClassName() const override { return "EDIT"; }
  // The scroll bars come and go with the text (FitScrollBars).
  DWORD Style() const override { return WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  SIZE DefaultSize() const override { return {185, 89}; }
  HBRUSH ControlColor(HDC dc, UINT msg) override;
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
  // Shows a scroll bar only where the text does not fit.
  void FitScrollBars();

  int32_t BackColor = int32_t(0x8000000F);
  TBrushHandle Brush;
};

class TVNMemoList : public TVNMemo {
protected:
  int TagParam() const override { return 4; }
};

class TVNNotDeletedList : public TVNMemo {};

}  // namespace vnt
