#include "TestBitmaps.h"

#include "package/PackagePrimitives.h"

namespace vnt::test {

std::string Bitmap(int width, int height, const TPixel& pixel) {
  int stride = (width * 3 + 3) & ~3;
  TMemoryStream s;
  s.Write("BM", 2);
  WriteU32(s, uint32_t(54 + stride * height));
  WriteU32(s, 0);
  WriteU32(s, 54);
  for (uint32_t v : {40u, uint32_t(width), uint32_t(height)}) WriteU32(s, v);
  WriteU16(s, 1);
  WriteU16(s, 24);
  for (int i = 0; i < 6; ++i) WriteU32(s, 0);
  std::string row(size_t(stride), '\0');
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < width; ++x) {
      uint32_t rgb = pixel(x, y);
      row[size_t(x * 3)] = char(rgb & 0xFF);
      row[size_t(x * 3 + 1)] = char((rgb >> 8) & 0xFF);
      row[size_t(x * 3 + 2)] = char((rgb >> 16) & 0xFF);
    }
    s.Write(row.data(), row.size());
  }
  return s.Bytes();
}

std::string Bitmap(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  uint32_t rgb = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
  return Bitmap(width, height, [rgb](int, int) { return rgb; });
}

}  // namespace vnt::test
