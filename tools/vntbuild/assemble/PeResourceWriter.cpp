#include "vntbuild/assemble/PeResourceWriter.h"

#include <algorithm>

#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/PeChecksum.h"
#include "vntbuild/assemble/PeLayout.h"

namespace vnt {

namespace {

constexpr uint32_t InitializedReadableData = 0x40000040u;  // IMAGE_SCN_CNT_INITIALIZED_DATA | MEM_READ

uint64_t Align(uint64_t v, uint64_t to) { return (v + to - 1) / to * to; }

// A signature covers the bytes it follows; once they change it only misleads.
void DropCertificate(std::string& image, const TPeLayout& l) {
  size_t entry = l.DirectoryEntry(CertificateDirectory);
  uint32_t offset = GetU32(image, entry), size = GetU32(image, entry + 4);
  if (offset == 0 && size == 0) return;
  if (uint64_t(offset) + size == image.size()) image.resize(offset);
  PutU32(image, entry, 0);
  PutU32(image, entry + 4, 0);
}

// The section holding the resource tree at its start, when nothing follows it, in the file
// or in memory, so that it can grow or shrink in place.
const TPeSection* LastResourceSection(const std::string& image, const TPeLayout& l) {
  uint32_t rva = GetU32(image, l.DirectoryEntry(ResourceDirectory));
  if (rva == 0 || l.Sections.empty()) return nullptr;
  const TPeSection& last = l.Sections.back();
  if (last.VirtualAddress != rva) return nullptr;
  for (const auto& s : l.Sections)
    if (&s != &last && (s.VirtualAddress >= last.VirtualAddress || s.RawOffset >= last.RawOffset)) return nullptr;
  if (uint64_t(last.RawOffset) + last.RawSize != image.size()) return nullptr;
  return &last;
}

void AddInitializedData(std::string& image, const TPeLayout& l, int64_t delta) {
  size_t at = l.Optional + 8;
  PutU32(image, at, uint32_t(int64_t(GetU32(image, at)) + delta));
}

void SetSizeOfImage(std::string& image, const TPeLayout& l, uint64_t end) {
  if (end > UINT32_MAX) throw EBuildError("the image would be larger than 4 GB");
  PutU32(image, l.Optional + 56, uint32_t(Align(end, l.SectionAlignment)));
}

void RewriteInPlace(std::string& image, const TPeLayout& l, const TPeSection& s,
                    const std::vector<TResourceItem>& items) {
  std::string section = LayOutResourceSection(items, s.VirtualAddress);
  uint64_t raw = Align(section.size(), l.FileAlignment);
  AddInitializedData(image, l, int64_t(raw) - int64_t(s.RawSize));
  image.resize(s.RawOffset);
  image += section;
  image.resize(size_t(s.RawOffset + raw), '\0');
  PutU32(image, s.HeaderOffset + 8, uint32_t(section.size()));
  PutU32(image, s.HeaderOffset + 16, uint32_t(raw));
  PutU32(image, l.DirectoryEntry(ResourceDirectory) + 4, uint32_t(section.size()));
  SetSizeOfImage(image, l, uint64_t(s.VirtualAddress) + section.size());
}

void AppendSection(std::string& image, const TPeLayout& l, const std::vector<TResourceItem>& items) {
  size_t header = l.SectionTable + l.Sections.size() * 40;
  size_t firstData = l.SizeOfHeaders;
  for (const auto& s : l.Sections)
    if (s.RawSize > 0) firstData = std::min<size_t>(firstData, s.RawOffset);
  // Bound imports may sit after the section table; they only speed up loading.
  size_t bound = l.DirectoryEntry(BoundImportDirectory);
  if (GetU32(image, bound) != 0) PutU32(image, bound, 0), PutU32(image, bound + 4, 0);
  if (header + 40 > firstData || image.find_first_not_of('\0', header) < header + 40)
    throw EBuildError("its headers leave no room for another section");
  uint64_t end = 0;
  for (const auto& s : l.Sections) end = std::max<uint64_t>(end, uint64_t(s.VirtualAddress) + std::max(s.VirtualSize, s.RawSize));
  uint64_t rva = Align(end, l.SectionAlignment);
  if (rva > UINT32_MAX) throw EBuildError("the image would be larger than 4 GB");
  std::string section = LayOutResourceSection(items, uint32_t(rva));
  uint64_t offset = Align(image.size(), l.FileAlignment), raw = Align(section.size(), l.FileAlignment);
  image.resize(size_t(offset), '\0');
  image += section;
  image.resize(size_t(offset + raw), '\0');
  image.replace(header, 8, std::string(".rsrc\0\0\0", 8));
  PutU32(image, header + 8, uint32_t(section.size()));
  PutU32(image, header + 12, uint32_t(rva));
  PutU32(image, header + 16, uint32_t(raw));
  PutU32(image, header + 20, uint32_t(offset));
  PutU32(image, header + 36, InitializedReadableData);
  PutU16(image, l.Optional - 24 + 6, uint16_t(l.Sections.size() + 1));
  // Tools that look for the resources by the section's name find the new ones.
  for (const auto& s : l.Sections)
    if (image.compare(s.HeaderOffset, 8, std::string(".rsrc\0\0\0", 8)) == 0)
      image.replace(s.HeaderOffset, 8, ".oldrsrc");
  PutU32(image, l.DirectoryEntry(ResourceDirectory), uint32_t(rva));
  PutU32(image, l.DirectoryEntry(ResourceDirectory) + 4, uint32_t(section.size()));
  AddInitializedData(image, l, int64_t(raw));
  SetSizeOfImage(image, l, rva + section.size());
}

}  // namespace

std::string WithResources(const std::string& original, const std::vector<TResourceItem>& items) {
  std::string image = original;
  TPeLayout layout = ReadPeLayout(image);
  DropCertificate(image, layout);
  if (const TPeSection* last = LastResourceSection(image, layout))
    RewriteInPlace(image, layout, *last, items);
  else
    AppendSection(image, layout, items);
  SetPeChecksum(image);
  return image;
}

void SetPeChecksum(std::string& file) {
  size_t checksumAt = PeChecksumAt(ReadPeLayout(file));
  TPeChecksum sum(checksumAt);
  sum.Add(file.data(), file.size());
  PutU32(file, checksumAt, sum.Value());
}

}  // namespace vnt
