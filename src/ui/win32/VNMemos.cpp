#include "VNMemos.h"

namespace vnt {

std::vector<std::string> TVNMemo::Lines() const {
  std::vector<std::string> lines;
  std::string text = Caption();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void TVNMemo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
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
