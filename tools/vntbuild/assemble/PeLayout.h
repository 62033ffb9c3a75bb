// The headers of a 32- or 64-bit program image that the builder needs to change its resource
// section: where the headers stand, the alignments, the sections and the data directories.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

struct TPeSection {
  size_t HeaderOffset = 0;  // of its 40-byte header in the file
  uint32_t VirtualAddress = 0, VirtualSize = 0, RawOffset = 0, RawSize = 0;
};

struct TPeLayout {
  size_t Optional = 0;         // file offset of the optional header
  size_t Directories = 0;      // file offset of the data directories
  uint32_t DirectoryCount = 0;
  size_t SectionTable = 0;     // file offset of the first section header
  uint32_t SectionAlignment = 0, FileAlignment = 0, SizeOfHeaders = 0;
  std::vector<TPeSection> Sections;

  // The file offset of an address inside a section's file data; none elsewhere.
  std::optional<size_t> Offset(uint32_t rva, uint32_t size = 0) const;
  // Where the data directory's entry stands in the file (entry 2: resources).
  size_t DirectoryEntry(uint32_t index) const { return Directories + size_t(index) * 8; }
};

constexpr uint32_t ResourceDirectory = 2;
constexpr uint32_t CertificateDirectory = 4;
constexpr uint32_t BoundImportDirectory = 11;

// The image's layout; EBuildError when it is no program image, its headers leave the file,
// or its alignments are not those Windows loads.
TPeLayout ReadPeLayout(const std::string& image);

uint32_t GetU32(const std::string& bytes, size_t at);  // at + 4 must lie inside bytes
uint16_t GetU16(const std::string& bytes, size_t at);
void PutU32(std::string& bytes, size_t at, uint32_t value);
void PutU16(std::string& bytes, size_t at, uint16_t value);

}  // namespace vnt
