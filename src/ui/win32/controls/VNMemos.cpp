#include "ui/win32/controls/VNMemos.h"

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
