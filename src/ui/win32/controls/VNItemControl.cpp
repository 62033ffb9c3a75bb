#include "ui/win32/controls/VNItemControl.h"

namespace vnt {

int TVNItemControl::Count() const {
  LRESULT n = Handle() ? SendMessageA(Handle(), Messages().Count, 0, 0) : 0;
  return n < 0 ? 0 : int(n);
}

std::string TVNItemControl::Text(int index) const {
  if (index < 0 || index >= Count()) return "";
  LRESULT length = SendMessageA(Handle(), Messages().TextLength, WPARAM(index), 0);
  if (length <= 0) return "";
  std::string text(size_t(length) + 1, '\0');
  LRESULT got = SendMessageA(Handle(), Messages().Text, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : size_t(got));
  return text;
}

std::vector<std::string> TVNItemControl::Items() const {
  std::vector<std::string> items;
  for (int i = 0, n = Count(); i < n; ++i) items.push_back(Text(i));
  return items;
}

void TVNItemControl::SetItems(const std::vector<std::string>& items) {
  ClearItems();
  for (const auto& item : items) AddItem(item);
}

void TVNItemControl::AddItem(const std::string& text) {
  if (Handle()) SendMessageA(Handle(), Messages().Add, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TVNItemControl::ClearItems() {
  if (Handle()) SendMessageA(Handle(), Messages().Reset, 0, 0);
}

void TVNItemControl::SortItems() {
  std::vector<std::string> items = Items();
  vnt::SortItems(items);
  SetItems(items);
}

void TVNItemControl::SelectIndex(int index) {
  if (Handle()) SendMessageA(Handle(), Messages().Select, WPARAM(index), 0);
}

void TVNItemControl::RecreateKeepingItems() {
  std::vector<std::string> items = Items();
  if (Recreate()) SetItems(items);
}

}  // namespace vnt
