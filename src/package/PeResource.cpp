#include "package/PeResource.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vnt {

namespace {

// Bounds-checked little-endian reads over the image.
struct TImage {
  const std::string& Bytes;
  bool Ok = true;
  uint32_t U32(size_t at) {
    if (at > Bytes.size() || Bytes.size() - at < 4) return Ok = false, 0;
    uint32_t v;
    std::memcpy(&v, Bytes.data() + at, 4);
    return v;
  }
  uint16_t U16(size_t at) {
    if (at > Bytes.size() || Bytes.size() - at < 2) return Ok = false, 0;
    return uint16_t(uint8_t(Bytes[at]) | uint8_t(Bytes[at + 1]) << 8);
  }
};

struct TSectionMap {
  uint32_t VirtualAddress, VirtualSize, RawOffset, RawSize;
};

std::optional<size_t> RvaToOffset(TImage& img, size_t sectionTable, int sections, uint32_t rva) {
  for (int i = 0; i < sections; ++i) {
    size_t at = sectionTable + size_t(i) * 40;
    TSectionMap s{img.U32(at + 12), img.U32(at + 8), img.U32(at + 20), img.U32(at + 16)};
    uint32_t span = s.VirtualSize > s.RawSize ? s.VirtualSize : s.RawSize;
    if (img.Ok && rva >= s.VirtualAddress && rva - s.VirtualAddress < span)
      return size_t(s.RawOffset) + (rva - s.VirtualAddress);
  }
  return std::nullopt;
}

// Offset (within the resource section) of the entry with the given id in a directory.
std::optional<uint32_t> FindEntry(TImage& img, size_t rootOffset, uint32_t dirOffset, uint16_t id) {
  size_t dir = rootOffset + dirOffset;
  uint32_t named = img.U16(dir + 12), ids = img.U16(dir + 14);
  for (uint32_t i = 0; i < named + ids && img.Ok; ++i) {
    size_t entry = dir + 16 + size_t(i) * 8;
    uint32_t nameField = img.U32(entry);
    if (!(nameField & 0x80000000u) && nameField == id) return img.U32(entry + 4);
  }
  return std::nullopt;
}

}  // namespace

std::optional<TResourceData> FindPeResource(const std::string& image, uint16_t type, uint16_t name) {
  TImage img{image};
  if (img.U16(0) != 0x5A4D) return std::nullopt;  // "MZ"
  size_t pe = img.U32(0x3C);
  if (img.U32(pe) != 0x00004550 || !img.Ok) return std::nullopt;  // "PE\0\0"
  int sections = img.U16(pe + 6);
  size_t optional = pe + 24;
  // PE32 (the stub and most products' programs) or PE32+ (64-bit programs a product carries,
  // whose versions the builder reads): only where the data directories start differs.
  uint16_t magic = img.U16(optional);
  if (magic != 0x10B && magic != 0x20B) return std::nullopt;
  size_t sectionTable = optional + img.U16(pe + 20);
  uint32_t resourceRva = img.U32(optional + (magic == 0x10B ? 96 : 112) + 2 * 8);
  if (!img.Ok || resourceRva == 0) return std::nullopt;
  auto root = RvaToOffset(img, sectionTable, sections, resourceRva);
  if (!root) return std::nullopt;
  // Three levels: type, name, language; the top bit marks a subdirectory.
  std::optional<uint32_t> entry = FindEntry(img, *root, 0, type);
  if (!entry || !(*entry & 0x80000000u)) return std::nullopt;
  entry = FindEntry(img, *root, *entry & 0x7FFFFFFFu, name);
  if (!entry || !(*entry & 0x80000000u)) return std::nullopt;
  size_t langDir = *root + (*entry & 0x7FFFFFFFu);
  if (img.U16(langDir + 12) + img.U16(langDir + 14) == 0 || !img.Ok) return std::nullopt;
  uint32_t dataEntry = img.U32(langDir + 16 + 4);
  if (dataEntry & 0x80000000u) return std::nullopt;
  uint32_t dataRva = img.U32(*root + dataEntry);
  uint32_t size = img.U32(*root + dataEntry + 4);
  auto offset = RvaToOffset(img, sectionTable, sections, dataRva);
  if (!img.Ok || !offset || *offset > image.size() || image.size() - *offset < size) return std::nullopt;
  return TResourceData{*offset, size};
}

namespace {

// The optional header's offset and magic; none when the bytes are no program image.
std::optional<std::pair<size_t, uint16_t>> OptionalHeader(TImage& img) {
  if (img.U16(0) != 0x5A4D) return std::nullopt;
  size_t pe = img.U32(0x3C);
  if (img.U32(pe) != 0x00004550 || !img.Ok) return std::nullopt;
  uint16_t magic = img.U16(pe + 24);
  if (!img.Ok || (magic != 0x10B && magic != 0x20B)) return std::nullopt;
  return std::make_pair(pe + 24, magic);
}

}  // namespace

std::optional<uint64_t> PeImageEnd(const std::string& headers) {
  TImage img{headers};
  auto optional = OptionalHeader(img);
  if (!optional) return std::nullopt;
  size_t pe = optional->first - 24;
  int sections = img.U16(pe + 6);
  size_t sectionTable = optional->first + img.U16(pe + 20);
  uint64_t end = img.U32(optional->first + 60);  // SizeOfHeaders
  for (int i = 0; i < sections && img.Ok; ++i) {
    size_t at = sectionTable + size_t(i) * 40;
    uint32_t rawSize = img.U32(at + 16), rawOffset = img.U32(at + 20);
    if (rawSize > 0) end = std::max<uint64_t>(end, uint64_t(rawOffset) + rawSize);
  }
  if (!img.Ok) return std::nullopt;
  return end;
}

bool ClearSigningFields(std::string& headers) {
  TImage img{headers};
  auto optional = OptionalHeader(img);
  if (!optional) return false;
  size_t checkSum = optional->first + 64;
  size_t certificates = optional->first + (optional->second == 0x10B ? 96 : 112) + 4 * 8;
  uint32_t certificateSize = img.U32(certificates + 4);
  if (!img.Ok) return false;
  if (certificateSize == 0) return true;
  std::memset(headers.data() + checkSum, 0, 4);
  std::memset(headers.data() + certificates, 0, 8);
  return true;
}

}  // namespace vnt
