// Reads program images (PE, 32- or 64-bit): a resource's data, so the builder can set the
// package-end value and read the versions of the files it packs; where the image ends, so the
// setup can write its own program without the package after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

struct TResourceData {
  size_t FileOffset = 0;
  uint32_t Size = 0;
};

// The first language's data of the resource with numeric type and name; none when the image
// is not a PE file or lacks the resource.
std::optional<TResourceData> FindPeResource(const std::string& image, uint16_t type, uint16_t name);
// The same in an image read only where its headers and resource tree are; the stream's
// position afterwards is anywhere.
std::optional<TResourceData> FindPeResource(TStream& image, uint16_t type, uint16_t name);

// Where the image's own bytes end: past the headers and the last section's file data. What
// follows (an appended package, a signature) is never loaded. None when the bytes do not hold
// the headers and the section table of a program image.
std::optional<uint64_t> PeImageEnd(const std::string& headers);

// For a copy that its signature no longer covers: clears the certificate table's entry and
// the checksum when the headers name a signature, and leaves unsigned headers as they are;
// false when the bytes are no program image's headers.
bool ClearSigningFields(std::string& headers);

}  // namespace vnt
