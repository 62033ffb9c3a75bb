#include "archive/VolumeNames.h"

#include <cstdio>

namespace vnt {

std::string VolumeExtension(uint32_t volume) {
  char digits[4];
  std::snprintf(digits, sizeof digits, "%03u", unsigned(volume % 1000));
  return digits;
}

std::string ChangeFileExtension(const std::string& name, const std::string& extension) {
  size_t dot = name.find_last_of(".\\/:");
  if (dot == std::string::npos || name[dot] != '.') return name + extension;
  return name.substr(0, dot) + extension;
}

std::string FolderPart(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace vnt
