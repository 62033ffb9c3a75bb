#include "vntbuild/assemble/FileVersion.h"

#include <algorithm>

namespace vnt {

namespace {

constexpr uint16_t VersionResourceType = 16;
constexpr uint16_t VersionResourceName = 1;
constexpr uint32_t FixedInfoSignature = 0xFEEF04BDu;
constexpr size_t WindowSize = 4096;

// Bounds-checked little-endian reads anywhere in the image, through a small window of its
// bytes; a read beyond the end clears Ok.
class TImageReader {
public:
  explicit TImageReader(TStream& image) : Image(image), Size(image.Size()) {}
  uint32_t U32(uint64_t at) { return uint32_t(Value(at, 4)); }
  uint16_t U16(uint64_t at) { return uint16_t(Value(at, 2)); }

  bool Ok = true;

private:
  uint64_t Value(uint64_t at, size_t count) {
    if (at > Size || Size - at < count) return Ok = false, 0;
    if (at < Start || at + count > Start + Window.size()) Load(at);
    uint64_t v = 0;
    for (size_t i = 0; i < count; ++i) v |= uint64_t(uint8_t(Window[size_t(at - Start) + i])) << (8 * i);
    return v;
  }
  void Load(uint64_t at) {
    Start = at;
    Window.resize(size_t(std::min<uint64_t>(WindowSize, Size - at)));
    Image.Seek(at);
    Image.ReadExact(Window.data(), Window.size());
  }

  TStream& Image;
  const uint64_t Size;
  uint64_t Start = 0;
  std::string Window;
};

std::optional<uint64_t> RvaToOffset(TImageReader& img, uint64_t sectionTable, int sections, uint32_t rva) {
  for (int i = 0; i < sections; ++i) {
    uint64_t at = sectionTable + uint64_t(i) * 40;
    uint32_t address = img.U32(at + 12), virtualSize = img.U32(at + 8);
    uint32_t raw = img.U32(at + 20), rawSize = img.U32(at + 16);
    if (img.Ok && rva >= address && rva - address < std::max(virtualSize, rawSize))
      return uint64_t(raw) + (rva - address);
  }
  return std::nullopt;
}

// The entry with the given id in a resource directory (its offset within the resource section).
std::optional<uint32_t> FindEntry(TImageReader& img, uint64_t root, uint32_t directory, uint16_t id) {
  uint64_t dir = root + directory;
  uint32_t entries = uint32_t(img.U16(dir + 12)) + img.U16(dir + 14);
  for (uint32_t i = 0; i < entries && img.Ok; ++i) {
    uint64_t entry = dir + 16 + uint64_t(i) * 8;
    uint32_t name = img.U32(entry);
    if (!(name & 0x80000000u) && name == id) return img.U32(entry + 4);
  }
  return std::nullopt;
}

struct TDataPlace {
  uint64_t Offset = 0;
  uint32_t Size = 0;
};

// The first language's data of the version resource, with every place checked against the file.
std::optional<TDataPlace> FindVersionData(TImageReader& img, uint64_t imageSize) {
  if (img.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
  uint64_t pe = img.U32(0x3C);
  if (img.U32(pe) != 0x00004550 || !img.Ok) return std::nullopt;  // "PE\0\0"
  int sections = img.U16(pe + 6);
  uint64_t optional = pe + 24;
  // PE32 or PE32+: only where the data directories start differs.
  uint16_t magic = img.U16(optional);
  if (magic != 0x10B && magic != 0x20B) return std::nullopt;
  uint64_t sectionTable = optional + img.U16(pe + 20);
  uint32_t resourceRva = img.U32(optional + (magic == 0x10B ? 96 : 112) + 2 * 8);
  if (!img.Ok || resourceRva == 0) return std::nullopt;
  auto root = RvaToOffset(img, sectionTable, sections, resourceRva);
  if (!root) return std::nullopt;
  // Three levels: type, name, language; the top bit marks a subdirectory.
  std::optional<uint32_t> entry = FindEntry(img, *root, 0, VersionResourceType);
  if (!entry || !(*entry & 0x80000000u)) return std::nullopt;
  entry = FindEntry(img, *root, *entry & 0x7FFFFFFFu, VersionResourceName);
  if (!entry || !(*entry & 0x80000000u)) return std::nullopt;
  uint64_t languages = *root + (*entry & 0x7FFFFFFFu);
  if (img.U16(languages + 12) + img.U16(languages + 14) == 0 || !img.Ok) return std::nullopt;
  uint32_t dataEntry = img.U32(languages + 16 + 4);
  if (dataEntry & 0x80000000u) return std::nullopt;
  uint32_t dataRva = img.U32(*root + dataEntry), size = img.U32(*root + dataEntry + 4);
  auto offset = RvaToOffset(img, sectionTable, sections, dataRva);
  if (!img.Ok || !offset || *offset > imageSize || imageSize - *offset < size) return std::nullopt;
  return TDataPlace{*offset, size};
}

}  // namespace

std::optional<TFileVersion> FileVersionOf(TStream& image) {
  TImageReader img(image);
  auto data = FindVersionData(img, image.Size());
  if (!data) return std::nullopt;
  // VS_VERSIONINFO: three 16-bit fields, the key "VS_VERSION_INFO" in UTF-16 with its zero,
  // padding to 32 bits, then the fixed file information. Search for its signature on 32-bit
  // steps in case a writer padded differently.
  const uint64_t end = data->Offset + data->Size;
  for (uint64_t at = data->Offset + 4; at + 16 <= end; at += 4) {
    if (img.U32(at) != FixedInfoSignature) continue;
    return TFileVersion{img.U32(at + 8), img.U32(at + 12)};
  }
  return std::nullopt;
}

std::optional<TFileVersion> FileVersionOf(const std::string& image) {
  TMemoryStream bytes(image);
  return FileVersionOf(bytes);
}

}  // namespace vnt
