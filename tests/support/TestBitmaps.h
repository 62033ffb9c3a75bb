// Picture files for tests: 24-bit .bmp files made pixel by pixel.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vnt::test {

// 0xRRGGBB of the pixel at (x, y), y counted from the top.
using TPixel = std::function<uint32_t(int x, int y)>;

// A 24-bit .bmp file.
std::string Bitmap(int width, int height, const TPixel& pixel);
std::string Bitmap(int width, int height, uint8_t r, uint8_t g, uint8_t b);

}  // namespace vnt::test
