#include "ui/CheckListRules.h"

#include <algorithm>

#include "package/ComponentLists.h"
#include "package/SetupStrings.h"

namespace vnt {

TCheckState ToggledState(TCheckState state, bool allowGrayed) {
  switch (state) {
    case TCheckState::Unchecked: return allowGrayed ? TCheckState::Grayed : TCheckState::Checked;
    case TCheckState::Checked: return TCheckState::Unchecked;
    default: return TCheckState::Checked;
  }
}

bool ItemEnabled(const TItemUse& use) {
  if (!use.ShowsChecksOrSizes) return use.ControlEnabled;
  if (use.ControlEnabled && use.Size != 0) return true;
  return use.HasContent;
}

int ItemHeight(int textHeight, std::optional<int> pictureHeight, std::optional<int> checkHeight) {
  int needed = pictureHeight ? *pictureHeight + 2 : 0;
  if (checkHeight && needed < *checkHeight) needed = *checkHeight + 2;
  return std::max(textHeight, needed);
}

std::vector<bool> ItemsToCheck(const std::vector<std::string>& keys, const std::string& list) {
  std::vector<bool> checked(keys.size(), false);
  for (const std::string& name : SplitComponentList(list)) {
    auto it = std::find_if(keys.begin(), keys.end(),
                           [&](const std::string& key) { return SameTextIgnoringCase(key, name); });
    if (it != keys.end()) checked[size_t(it - keys.begin())] = true;
  }
  return checked;
}

std::string CheckedKeysText(const std::vector<std::string>& keys, const std::vector<TCheckState>& states) {
  std::vector<std::string> checked;
  for (size_t i = 0; i < keys.size() && i < states.size(); ++i)
    if (states[i] == TCheckState::Checked) checked.push_back(keys[i]);
  return JoinComponentList(checked);
}

std::optional<int64_t> ShownItemSize(TCheckState state, int64_t shownSize, int64_t storedSize) {
  int64_t size = state == TCheckState::Checked ? shownSize : 0;
  if (size == 0 && storedSize == 0) return std::nullopt;
  return size;
}

}  // namespace vnt
