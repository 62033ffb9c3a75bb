#include "vntbuild/assemble/FileVersion.h"

#include <algorithm>
#include <cstring>

#include "package/PeResource.h"

namespace vnt {

namespace {

constexpr uint16_t VersionResourceType = 16;
constexpr uint16_t VersionResourceName = 1;
constexpr uint32_t FixedInfoSignature = 0xFEEF04BDu;
// The fixed information stands near the start of the version data; a claimed size beyond
// this is not read.
constexpr uint32_t VersionDataLimit = 65536;

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

}  // namespace

std::optional<TFileVersion> FileVersionOf(TStream& image) {
  auto place = FindPeResource(image, VersionResourceType, VersionResourceName);
  if (!place) return std::nullopt;
  std::string data(std::min(place->Size, VersionDataLimit), '\0');
  image.Seek(place->FileOffset);
  image.ReadExact(data.data(), data.size());
  // VS_VERSIONINFO: three 16-bit fields, the key "VS_VERSION_INFO" in UTF-16 with its zero,
  // padding to 32 bits, then the fixed file information. Search for its signature on 32-bit
  // steps in case a writer padded differently.
  for (size_t at = 4; at + 16 <= data.size(); at += 4) {
    if (U32At(data, at) != FixedInfoSignature) continue;
    return TFileVersion{U32At(data, at + 8), U32At(data, at + 12)};
  }
  return std::nullopt;
}

std::optional<TFileVersion> FileVersionOf(const std::string& image) {
  TMemoryStream bytes(image);
  return FileVersionOf(bytes);
}

}  // namespace vnt
