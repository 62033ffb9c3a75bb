#include "package/VarList.h"

#include <algorithm>

namespace vnt {

namespace {
bool IsBare(const std::string& name) { return name.empty() || name.front() != '%'; }
}  // namespace

int CompareTextIgnoringCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = FoldCase(c);
  return text;
}

int TVariableList::IndexOf(const std::string& name) const {
  auto it = std::lower_bound(Items.begin(), Items.end(), name, [](const TVariableItem& item, const std::string& n) {
    return CompareTextIgnoringCase(item.Name, n) < 0;
  });
  if (it == Items.end() || CompareTextIgnoringCase(it->Name, name) != 0) return -1;
  return int(it - Items.begin());
}

void TVariableList::Set(const std::string& name, const std::string& value) {
  auto it = std::lower_bound(Items.begin(), Items.end(), name, [](const TVariableItem& item, const std::string& n) {
    return CompareTextIgnoringCase(item.Name, n) < 0;
  });
  if (it != Items.end() && CompareTextIgnoringCase(it->Name, name) == 0) {
    it->Value = value;
    return;
  }
  if (IsBare(name)) ++BareNames;
  Items.insert(it, TVariableItem{name, value, UpperCase(name)});
}

void TVariableList::AddLine(const std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos)
    Set(line, line);
  else
    Set(line.substr(0, eq), line.substr(eq + 1));
}

std::string TVariableList::Line(int i) const {
  if (i < 0 || i >= Count()) return "";
  return Items[i].Name + "=" + Items[i].Value;
}

TVariableItem TVariableList::Get(int i) const {
  if (i < 0 || i >= Count()) return {};
  return Items[i];
}

}  // namespace vnt
