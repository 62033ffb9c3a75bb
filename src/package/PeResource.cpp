#include "package/PeResource.h"

#include <algorithm>
#include <cstring>

namespace vnt {

namespace {

constexpr size_t WindowSize = 4096;

// Bounds-checked little-endian reads anywhere in an image, through a small window of its
// bytes, so a large file is read only where its headers and resources are; a read beyond
// the end clears Ok.
class TImageReader {
public:
  explicit TImageReader(TStream& image) : Image(image), Size(image.Size()) {}
  uint32_t U32(uint64_t at) { return uint32_t(Value(at, 4)); }
  uint16_t U16(uint64_t at) { return uint16_t(Value(at, 2)); }
  uint64_t ImageSize() const { return Size; }

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

// Where the headers stand: the PE header, the optional header and its magic (PE32 or PE32+:
// only where the data directories start differs), the section table.
struct THeaders {
  uint64_t Pe = 0, Optional = 0, SectionTable = 0;
  uint16_t Magic = 0;
  int Sections = 0;
  uint64_t Directory(int index) const { return Optional + (Magic == 0x10B ? 96 : 112) + uint64_t(index) * 8; }
};

std::optional<THeaders> ReadHeaders(TImageReader& img) {
  if (img.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
  THeaders h;
  h.Pe = img.U32(0x3C);
  if (img.U32(h.Pe) != 0x00004550 || !img.Ok) return std::nullopt;  // "PE\0\0"
  h.Sections = img.U16(h.Pe + 6);
  h.Optional = h.Pe + 24;
  h.Magic = img.U16(h.Optional);
  h.SectionTable = h.Optional + img.U16(h.Pe + 20);
  if (!img.Ok || (h.Magic != 0x10B && h.Magic != 0x20B)) return std::nullopt;
  return h;
}

std::optional<uint64_t> RvaToOffset(TImageReader& img, const THeaders& h, uint32_t rva) {
  for (int i = 0; i < h.Sections; ++i) {
    uint64_t at = h.SectionTable + uint64_t(i) * 40;
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
    uint32_t nameField = img.U32(entry);
    if (!(nameField & 0x80000000u) && nameField == id) return img.U32(entry + 4);
  }
  return std::nullopt;
}

}  // namespace

std::optional<TResourceData> FindPeResource(TStream& image, uint16_t type, uint16_t name) {
  TImageReader img(image);
  std::optional<THeaders> h = ReadHeaders(img);
  if (!h) return std::nullopt;
  uint32_t resourceRva = img.U32(h->Directory(2));
  if (!img.Ok || resourceRva == 0) return std::nullopt;
  auto root = RvaToOffset(img, *h, resourceRva);
  if (!root) return std::nullopt;
  // Three levels: type, name, language; the top bit marks a subdirectory.
  std::optional<uint32_t> entry = FindEntry(img, *root, 0, type);
  if (!entry || !(*entry & 0x80000000u)) return std::nullopt;
  entry = FindEntry(img, *root, *entry & 0x7FFFFFFFu, name);
  if (!entry || !(*entry & 0x80000000u)) return std::nullopt;
  uint64_t languages = *root + (*entry & 0x7FFFFFFFu);
  if (img.U16(languages + 12) + img.U16(languages + 14) == 0 || !img.Ok) return std::nullopt;
  uint32_t dataEntry = img.U32(languages + 16 + 4);
  if (dataEntry & 0x80000000u) return std::nullopt;
  uint32_t dataRva = img.U32(*root + dataEntry), size = img.U32(*root + dataEntry + 4);
  auto offset = RvaToOffset(img, *h, dataRva);
  if (!img.Ok || !offset || *offset > img.ImageSize() || img.ImageSize() - *offset < size) return std::nullopt;
  return TResourceData{size_t(*offset), size};
}

std::optional<TResourceData> FindPeResource(const std::string& image, uint16_t type, uint16_t name) {
  TMemoryStream bytes(image);
  return FindPeResource(bytes, type, name);
}

std::optional<uint64_t> PeImageEnd(const std::string& headers) {
  TMemoryStream bytes(headers);
  TImageReader img(bytes);
  std::optional<THeaders> h = ReadHeaders(img);
  if (!h) return std::nullopt;
  uint64_t end = img.U32(h->Optional + 60);  // SizeOfHeaders
  for (int i = 0; i < h->Sections && img.Ok; ++i) {
    uint64_t at = h->SectionTable + uint64_t(i) * 40;
    uint32_t rawSize = img.U32(at + 16), rawOffset = img.U32(at + 20);
    if (rawSize > 0) end = std::max<uint64_t>(end, uint64_t(rawOffset) + rawSize);
  }
  if (!img.Ok) return std::nullopt;
  return end;
}

bool ClearSigningFields(std::string& headers) {
  TMemoryStream bytes(headers);
  TImageReader img(bytes);
  std::optional<THeaders> h = ReadHeaders(img);
  if (!h) return false;
  const uint64_t checkSum = h->Optional + 64, certificates = h->Directory(4);
  uint32_t certificateSize = img.U32(certificates + 4);
  if (!img.Ok) return false;
  if (certificateSize == 0) return true;
  std::memset(headers.data() + checkSum, 0, 4);
  std::memset(headers.data() + certificates, 0, 8);
  return true;
}

}  // namespace vnt
