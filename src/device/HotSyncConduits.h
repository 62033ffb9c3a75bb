// Palm conduits as the HotSync software's registry holds them: the key lists, the names of
// their entries, and the values of one entry.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "package/SetupTypes.h"

namespace vnt {

// The first four characters as a number, the first in the highest byte; a shorter text is
// filled with zero bytes.
uint32_t CreatorCode(const std::string& creator);

// The key list a conduit belongs to: "Component" for an integrated one, else "Application".
const char* ConduitListName(bool integrated);
// The key of entry n of a list, below the "Pilot Desktop" key ("Application2").
std::string ConduitKeyName(bool integrated, int n);
// n of a key named as entry n of that list; nothing for any other name (case ignored, digits
// without leading zeros).
std::optional<int> ConduitKeyNumber(const std::string& keyName, bool integrated);
struct TConduitValue {
  std::string Name;
  std::variant<uint32_t, std::string> Data;  // a 32-bit number or a text
  bool operator==(const TConduitValue&) const = default;
};

// The values of a conduit's key in the order they are written; texts go through expand, and
// the optional ones are left out when they expand to nothing.
std::vector<TConduitValue> ConduitValues(const THotSyncConduit& conduit,
                                         const std::function<std::string(const std::string&)>& expand);

}  // namespace vnt
