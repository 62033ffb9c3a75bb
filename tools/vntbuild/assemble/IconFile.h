// An icon file (.ico) and the resources it becomes: one RT_ICON per picture and the
// RT_GROUP_ICON that lists them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vnt {

struct TIconPicture {
  uint8_t Width = 0, Height = 0, Colors = 0;  // 0 means 256 for width and height
  uint16_t Planes = 0, BitCount = 0;
  std::string Data;  // a DIB (header, colours, XOR and AND masks) or a PNG
};

// The pictures of an icon file; EBuildError naming the fault when it is none or damaged.
std::vector<TIconPicture> ReadIconFile(const std::string& bytes);

// The group resource for the pictures stored as RT_ICON firstId, firstId + 1, ...
std::string IconGroupData(const std::vector<TIconPicture>& pictures, uint16_t firstId);

// An icon file of the pictures, as ReadIconFile reads it.
std::string IconFileData(const std::vector<TIconPicture>& pictures);

}  // namespace vnt
