// Finds a resource's data in a PE image (32- or 64-bit), so the builder can set the package-end
// value and read the versions of the files it packs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vnt {

struct TResourceData {
  size_t FileOffset = 0;
  uint32_t Size = 0;
};

// The first language's data of the resource with numeric type and name; none when the image
// is not a PE file or lacks the resource.
std::optional<TResourceData> FindPeResource(const std::string& image, uint16_t type, uint16_t name);

}  // namespace vnt
