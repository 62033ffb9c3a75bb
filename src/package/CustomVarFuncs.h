// Custom variables of the package: their value comes from the registry, or from the record's
// expanded default when the key or value is missing.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "package/SetupTypes.h"
#include "package/SetupVariables.h"

namespace vnt {

// Reads a text value; none when the key cannot be opened or the value does not exist.
using TRegistryTextReader =
    std::function<std::optional<std::string>(uint8_t root, const std::string& key, const std::string& valueName)>;

void SetCustomVariables(TSetupVariables& vars, const std::vector<TSetupVariable>& records,
                        const TRegistryTextReader& read);
// Leading and trailing backslashes removed.
std::string TrimKeyPath(const std::string& key);

}  // namespace vnt
