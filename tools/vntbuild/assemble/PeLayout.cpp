#include "vntbuild/assemble/PeLayout.h"

#include <algorithm>
#include <cstring>

#include "vntbuild/assemble/FileFacts.h"

namespace vnt {

namespace {

bool PowerOfTwo(uint32_t v) { return v != 0 && (v & (v - 1)) == 0; }

void Need(bool ok, const std::string& what) {
  if (!ok) throw EBuildError(what);
}

}  // namespace

uint32_t GetU32(const std::string& bytes, size_t at) {
  uint32_t v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

uint16_t GetU16(const std::string& bytes, size_t at) {
  return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

void PutU32(std::string& bytes, size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }
void PutU16(std::string& bytes, size_t at, uint16_t value) { std::memcpy(bytes.data() + at, &value, 2); }

std::optional<size_t> TPeLayout::Offset(uint32_t rva, uint32_t size) const {
  for (const auto& s : Sections) {
    if (rva < s.VirtualAddress || rva - s.VirtualAddress >= std::max(s.VirtualSize, s.RawSize)) continue;
    if (uint64_t(rva - s.VirtualAddress) + size > s.RawSize) return std::nullopt;
    return size_t(s.RawOffset) + (rva - s.VirtualAddress);
  }
  return std::nullopt;
}

TPeLayout ReadPeLayout(const std::string& image) {
  const char* notPe = "not a Windows program (no PE headers)";
  Need(image.size() >= 0x40 && GetU16(image, 0) == 0x5A4D, notPe);
  size_t pe = GetU32(image, 0x3C);
  Need(pe <= image.size() && image.size() - pe >= 24 && GetU32(image, pe) == 0x00004550, notPe);
  TPeLayout l;
  l.Optional = pe + 24;
  size_t optionalSize = GetU16(image, pe + 20);
  Need(l.Optional + optionalSize <= image.size() && optionalSize >= 96, "its optional header is cut short");
  uint16_t magic = GetU16(image, l.Optional);
  Need(magic == 0x10B || magic == 0x20B, "neither a 32- nor a 64-bit program image");
  size_t countAt = l.Optional + (magic == 0x10B ? 92 : 108);
  l.Directories = countAt + 4;
  Need(l.Directories <= l.Optional + optionalSize, "its optional header is cut short");
  l.DirectoryCount = GetU32(image, countAt);
  Need(l.DirectoryCount > BoundImportDirectory && l.Directories + size_t(l.DirectoryCount) * 8 <= l.Optional + optionalSize,
       "its data directories are cut short");
  l.SectionAlignment = GetU32(image, l.Optional + 32);
  l.FileAlignment = GetU32(image, l.Optional + 36);
  l.SizeOfHeaders = GetU32(image, l.Optional + 60);
  Need(PowerOfTwo(l.FileAlignment) && l.FileAlignment >= 512 && l.FileAlignment <= 0x10000 &&
           PowerOfTwo(l.SectionAlignment) && l.SectionAlignment >= l.FileAlignment,
       "its section and file alignments are not those Windows loads");
  l.SectionTable = l.Optional + optionalSize;
  size_t count = GetU16(image, pe + 6);
  Need(l.SectionTable + count * 40 <= std::min<size_t>(image.size(), l.SizeOfHeaders), "its section table is cut short");
  for (size_t i = 0; i < count; ++i) {
    size_t at = l.SectionTable + i * 40;
    TPeSection s{at, GetU32(image, at + 12), GetU32(image, at + 8), GetU32(image, at + 20), GetU32(image, at + 16)};
    Need(s.RawOffset <= image.size() && image.size() - s.RawOffset >= s.RawSize, "a section lies beyond the end of the file");
    l.Sections.push_back(s);
  }
  return l;
}

}  // namespace vnt
