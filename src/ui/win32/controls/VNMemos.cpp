#include "ui/win32/controls/VNMemos.h"

#include <algorithm>

namespace vnt {

std::vector<std::string> TVNMemo::Lines() const {
  std::vector<std::string> lines;
  std::string text = Caption();
  if (text.empty()) return lines;
  for (size_t start = 0;;) {
    size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

void TVNMemo::SetLines(const std::vector<std::string>& lines) {
  // Line breaks between the lines only: a trailing one would show an empty last line.
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  SetCaption(text);
  FitScrollBars();
}

void TVNMemo::FitScrollBars() {
  HWND wnd = Handle();
  if (!wnd) return;
  HDC dc = GetDC(wnd);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(wnd, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  std::vector<std::string> lines = Lines();
  LONG widest = 0;
  for (const auto& line : lines) {
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), int(line.size()), &size);
    widest = std::max(widest, size.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(wnd, dc);
  // The room inside the border, as if there were no bars; a bar takes room from the other
  // direction, so each is judged with the other one shown when that one is needed.
  RECT r;
  GetWindowRect(wnd, &r);
  const int edge = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
  int width = r.right - r.left - edge, height = r.bottom - r.top - edge;
  LONG textHeight = LONG(lines.size()) * metrics.tmHeight;
  bool vertical = textHeight > height;
  bool horizontal = widest > width - (vertical ? GetSystemMetrics(SM_CXVSCROLL) : 0);
  vertical = vertical || textHeight > height - (horizontal ? GetSystemMetrics(SM_CYHSCROLL) : 0);
  ShowScrollBar(wnd, SB_VERT, vertical);
  ShowScrollBar(wnd, SB_HORZ, horizontal);
}

// A box nobody can type into shows no caret; a new size or font may change what fits.
LRESULT TVNMemo::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = TVNControl::HandleMessage(msg, wParam, lParam);
  if (msg == WM_SETFOCUS) DestroyCaret();
  if (msg == WM_SIZE || msg == WM_SETFONT) FitScrollBars();
  return result;
}

void TVNMemo::AddLine(const std::string& line) {
  std::vector<std::string> lines = Lines();
  lines.push_back(line);
  SetLines(lines);
}

void TVNMemo::SortLines() {
  std::vector<std::string> lines = Lines();
  SortItems(lines);
  SetLines(lines);
}

void TVNMemo::SetColor(int32_t color) {
  BackColor = color;
  Brush.reset();
  Repaint();
}

HBRUSH TVNMemo::ControlColor(HDC dc, UINT) {
  if (!Brush) Brush.reset(CreateSolidBrush(TFont::ColorOf(BackColor)));
  SetTextColor(dc, TextColor());
  SetBkColor(dc, TFont::ColorOf(BackColor));
  return Brush.get();
}

}  // namespace vnt
