// A program image's resources as a flat list, read from its resource tree and laid out again
// as a resource section, so the builder can change the stub's resources without Win32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vnt {

// A type or name: a number, or a name (kept in UTF-16 as the image stores it).
struct TResourceKey {
  uint16_t Id = 0;
  std::u16string Name;  // set: a named key, Id unused
  bool operator==(const TResourceKey& o) const { return Name == o.Name && (!Name.empty() || Id == o.Id); }
};

struct TResourceItem {
  TResourceKey Type, Name;
  uint16_t Language = 0;
  uint32_t CodePage = 0;
  std::string Data;
};

// Every leaf of the image's resource tree, in tree order; none when the image has no
// resources. A tree that points outside the image, loops or is deeper than three levels
// raises EBuildError.
std::vector<TResourceItem> ReadResourceItems(const std::string& image);

// A resource section for the virtual address rva: the tree sorted as Windows searches it
// (names before numbers, each in ascending order), then the names, the data entries and
// the data.
std::string LayOutResourceSection(const std::vector<TResourceItem>& items, uint32_t rva);

}  // namespace vnt
