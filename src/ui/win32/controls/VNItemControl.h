// The item access that list and combo boxes share: texts in, texts out, sorting, and a
// window recreated for a style change that keeps its items.
#pragma once

#include <string>
#include <vector>

#include "ui/win32/controls/VNControl.h"

namespace vnt {

// The two speak twin messages.
class TVNItemControl : public TVNControl {
public:
  std::vector<std::string> Items() const;
  void SetItems(const std::vector<std::string>& items);
  virtual void AddItem(const std::string& text);
  void ClearItems();
  // Ascending, ignoring case.
  virtual void SortItems();
  int Count() const;
  std::string Text(int index) const;

  struct TMessages {
    UINT Add, Reset, Count, TextLength, Text, Select, Selected;
  };

protected:
  virtual const TMessages& Messages() const = 0;
  // Selects the item (-1: none).
  virtual void SelectIndex(int index);
  // Recreates the window for a style change, keeping the items.
  virtual void RecreateKeepingItems();
};

}  // namespace vnt
