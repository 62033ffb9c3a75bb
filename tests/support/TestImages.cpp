#include "TestImages.h"

#include <cstring>

#include "package/SetupFuncs.h"

namespace vnt::test {

namespace {

void Put16(std::string& s, size_t at, uint16_t v) { std::memcpy(s.data() + at, &v, 2); }
void Put32(std::string& s, size_t at, uint32_t v) { std::memcpy(s.data() + at, &v, 4); }

}  // namespace

std::string PeImage(const std::vector<TPeResource>& resources, bool wide) {
  const size_t n = resources.size(), root = 16 + 8 * n, perResource = 24 + 24 + 16;
  std::string rsrc(root + perResource * n, '\0');
  for (size_t i = 0; i < n; ++i) {
    size_t names = root + perResource * i, langs = names + 24, entry = langs + 24;
    Put16(rsrc, 14, uint16_t(n));
    Put32(rsrc, 16 + 8 * i, resources[i].Type);
    Put32(rsrc, 20 + 8 * i, 0x80000000u | uint32_t(names));
    Put16(rsrc, names + 14, 1);
    Put32(rsrc, names + 16, resources[i].Name);
    Put32(rsrc, names + 20, 0x80000000u | uint32_t(langs));
    Put16(rsrc, langs + 14, 1);
    Put32(rsrc, langs + 16, 0x409);
    Put32(rsrc, langs + 20, uint32_t(entry));
    Put32(rsrc, entry, uint32_t(0x1000 + rsrc.size()));
    Put32(rsrc, entry + 4, uint32_t(resources[i].Data.size()));
    rsrc += resources[i].Data;
    rsrc.resize((rsrc.size() + 3) & ~size_t(3), '\0');
  }
  std::string image(0x200, '\0');
  image[0] = 'M', image[1] = 'Z';
  Put32(image, 0x3C, 0x40);
  std::memcpy(image.data() + 0x40, "PE\0\0", 4);
  Put16(image, 0x44, 0x14C);
  Put16(image, 0x46, 1);
  const size_t optional = 0x58, optionalSize = wide ? 0xF0 : 0xE0, section = optional + optionalSize,
               directories = optional + (wide ? 112 : 96);
  Put16(image, 0x54, uint16_t(optionalSize));
  Put16(image, optional, wide ? 0x20B : 0x10B);
  // The alignments and sizes Windows checks, so the builder can lay out its resources anew.
  Put32(image, optional + 32, 0x1000);
  Put32(image, optional + 36, 0x200);
  Put32(image, optional + 56, uint32_t(0x1000 + ((rsrc.size() + 0xFFF) & ~size_t(0xFFF))));
  Put32(image, optional + 60, 0x200);
  Put32(image, directories - 4, 16);
  Put32(image, directories + 16, 0x1000);
  Put32(image, directories + 20, uint32_t(rsrc.size()));
  std::memcpy(image.data() + section, ".rsrc", 5);
  Put32(image, section + 8, uint32_t(rsrc.size()));
  Put32(image, section + 12, 0x1000);
  Put32(image, section + 16, uint32_t(rsrc.size()));
  Put32(image, section + 20, 0x200);
  return image + rsrc;
}

std::string StubImage() { return PeImage({{PackageEndResourceType, PackageEndResourceName, std::string(4, '\0')}}); }

}  // namespace vnt::test
