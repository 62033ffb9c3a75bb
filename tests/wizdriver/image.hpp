// A captured picture and the PNG / BMP writers for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wzd {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel
  bool uniform() const;           // every pixel the same: nothing was drawn
};

std::vector<std::uint8_t> encode_png(const Image& image);
std::vector<std::uint8_t> encode_bmp(const Image& image);

// Picks the format by the extension (.png or .bmp, any case); fails on others or on write errors.
void save_image(const Image& image, const std::string& path);

}  // namespace wzd
