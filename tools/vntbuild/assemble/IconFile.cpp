#include "vntbuild/assemble/IconFile.h"

#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/PeLayout.h"

namespace vnt {

namespace {

constexpr size_t DirectorySize = 6, FileEntrySize = 16, GroupEntrySize = 14;
constexpr uint16_t MaxPictures = 256;
const std::string PngSignature("\x89PNG\r\n\x1a\n", 8);

[[noreturn]] void Fail(const std::string& what) { throw EBuildError(what); }

// Planes and bits as the picture's own header gives them, where the file's entry leaves
// them 0 (many tools do); Windows chooses among the pictures by them.
void CheckPicture(TIconPicture& p, size_t index) {
  std::string which = "picture " + std::to_string(index + 1);
  if (p.Data.compare(0, PngSignature.size(), PngSignature) == 0) {
    if (p.Data.size() < 33 || p.Data.compare(12, 4, "IHDR") != 0) Fail(which + " is a damaged PNG");
    if (p.BitCount == 0) p.Planes = 1, p.BitCount = 32;
    return;
  }
  if (p.Data.size() < 40) Fail(which + " is cut short");
  uint32_t headerSize = GetU32(p.Data, 0);
  uint16_t planes = GetU16(p.Data, 12), bits = GetU16(p.Data, 14);
  if (headerSize < 40 || headerSize > p.Data.size() || planes != 1 ||
      (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    Fail(which + " is neither a bitmap nor a PNG picture");
  if (p.BitCount == 0) p.Planes = planes, p.BitCount = bits;
}

}  // namespace

std::vector<TIconPicture> ReadIconFile(const std::string& bytes) {
  if (bytes.size() < DirectorySize || GetU16(bytes, 0) != 0) Fail("not an icon file");
  uint16_t type = GetU16(bytes, 2), count = GetU16(bytes, 4);
  if (type == 2) Fail("a cursor file, not an icon file");
  if (type != 1) Fail("not an icon file");
  if (count == 0) Fail("the icon file holds no picture");
  if (count > MaxPictures) Fail("the icon file claims " + std::to_string(count) + " pictures");
  if (bytes.size() < DirectorySize + count * FileEntrySize) Fail("the icon file is cut short");
  std::vector<TIconPicture> pictures;
  for (size_t i = 0; i < count; ++i) {
    size_t at = DirectorySize + i * FileEntrySize;
    TIconPicture p;
    p.Width = uint8_t(bytes[at]), p.Height = uint8_t(bytes[at + 1]), p.Colors = uint8_t(bytes[at + 2]);
    p.Planes = GetU16(bytes, at + 4), p.BitCount = GetU16(bytes, at + 6);
    uint32_t size = GetU32(bytes, at + 8), offset = GetU32(bytes, at + 12);
    if (offset > bytes.size() || bytes.size() - offset < size)
      Fail("picture " + std::to_string(i + 1) + " lies beyond the end of the icon file");
    p.Data = bytes.substr(offset, size);
    CheckPicture(p, i);
    pictures.push_back(std::move(p));
  }
  return pictures;
}

std::string IconGroupData(const std::vector<TIconPicture>& pictures, uint16_t firstId) {
  std::string group(DirectorySize + pictures.size() * GroupEntrySize, '\0');
  PutU16(group, 2, 1);
  PutU16(group, 4, uint16_t(pictures.size()));
  for (size_t i = 0; i < pictures.size(); ++i) {
    const TIconPicture& p = pictures[i];
    size_t at = DirectorySize + i * GroupEntrySize;
    group[at] = char(p.Width), group[at + 1] = char(p.Height), group[at + 2] = char(p.Colors);
    PutU16(group, at + 4, p.Planes);
    PutU16(group, at + 6, p.BitCount);
    PutU32(group, at + 8, uint32_t(p.Data.size()));
    PutU16(group, at + 12, uint16_t(firstId + i));
  }
  return group;
}

std::string IconFileData(const std::vector<TIconPicture>& pictures) {
  std::string file(DirectorySize + pictures.size() * FileEntrySize, '\0');
  PutU16(file, 2, 1);
  PutU16(file, 4, uint16_t(pictures.size()));
  for (size_t i = 0; i < pictures.size(); ++i) {
    const TIconPicture& p = pictures[i];
    size_t at = DirectorySize + i * FileEntrySize;
    file[at] = char(p.Width), file[at + 1] = char(p.Height), file[at + 2] = char(p.Colors);
    PutU16(file, at + 4, p.Planes);
    PutU16(file, at + 6, p.BitCount);
    PutU32(file, at + 8, uint32_t(p.Data.size()));
    PutU32(file, at + 12, uint32_t(file.size()));
    file += p.Data;
  }
  return file;
}

}  // namespace vnt
