// Pure rules of the check list: the check states and their toggling, when an item may be
// used, the item height, and the keys of the checked items.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

enum class TCheckState : uint8_t { Unchecked = 0, Checked = 1, Grayed = 2 };

// The state a click or the space bar gives: unchecked goes to grayed when grayed is allowed,
// else to checked; checked to unchecked; grayed to checked.
TCheckState ToggledState(TCheckState state, bool allowGrayed);

// Whether an item may be used. A list without checks and sizes follows the control; one with
// them leaves an item with nothing in it (no size and no content) disabled.
struct TItemUse {
  bool ShowsChecksOrSizes = false;
  bool ControlEnabled = true;
  int64_t Size = 0;
  bool HasContent = false;
};
bool ItemEnabled(const TItemUse& use);

// The item height: the text height, or more when a picture (its height + 2) or, failing a
// picture that tall, the check cell (its height + 2) needs it.
int ItemHeight(int textHeight, std::optional<int> pictureHeight, std::optional<int> checkHeight);

// Which items a "|"-separated list of keys checks: for each name the first item whose key
// equals it, ignoring case.
std::vector<bool> ItemsToCheck(const std::vector<std::string>& keys, const std::string& list);
// The keys of the checked items (grayed is not checked), in item order, joined by "|".
std::string CheckedKeysText(const std::vector<std::string>& keys, const std::vector<TCheckState>& states);

// The size an item shows: a checked item's size (as the size callback gives it), none for
// other items; nothing is drawn when both this and the stored size are 0.
std::optional<int64_t> ShownItemSize(TCheckState state, int64_t shownSize, int64_t storedSize);

// Whether a point in an item, counted from the item's left edge, lies in its check column.
inline bool InCheckColumn(int x, int columnWidth) { return x >= 0 && x < columnWidth; }

}  // namespace vnt
