// The fixed file version of a program image's version resource, found through its headers and
// resource tree alone, so that a large file is never read whole for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

struct TFileVersion {
  uint32_t High = 0, Low = 0;  // major << 16 | minor, build << 16 | private part
};

// The version of a 32- or 64-bit program image; none for other files. Reads the image at the
// places the lookup needs; its position afterwards is anywhere.
std::optional<TFileVersion> FileVersionOf(TStream& image);
std::optional<TFileVersion> FileVersionOf(const std::string& image);

}  // namespace vnt
