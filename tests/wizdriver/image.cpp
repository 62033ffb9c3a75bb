#include "image.hpp"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <fstream>

#include "common.hpp"

namespace wzd {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put_be32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void put_le(Bytes& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void put_chunk(Bytes& out, const char type[4], const Bytes& data) {
  put_be32(out, static_cast<std::uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  // The CRC covers the chunk type and data, not the length.
  const uLong crc = crc32(crc32(0L, Z_NULL, 0), out.data() + start, static_cast<uInt>(out.size() - start));
  put_be32(out, static_cast<std::uint32_t>(crc));
}

Bytes deflate_rows(const Image& image) {
  const size_t row = static_cast<size_t>(image.width) * 3;
  Bytes raw;
  raw.reserve((row + 1) * image.height);
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // filter type None
    raw.insert(raw.end(), image.rgb.begin() + y * row, image.rgb.begin() + (y + 1) * row);
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes packed(size);
  if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
    fail("zlib could not compress the picture");
  packed.resize(size);
  return packed;
}

std::string lower_extension(const std::string& path) {
  const size_t dot = path.rfind('.');
  std::string ext = dot == std::string::npos ? "" : path.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

}  // namespace

bool Image::uniform() const {
  for (size_t i = 3; i < rgb.size(); i += 3) {
    if (!std::equal(rgb.begin() + i, rgb.begin() + i + 3, rgb.begin())) return false;
  }
  return true;
}

Bytes encode_png(const Image& image) {
  Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  put_be32(header, image.width);
  put_be32(header, image.height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, standard filters, no interlace
  put_chunk(out, "IHDR", header);
  put_chunk(out, "IDAT", deflate_rows(image));
  put_chunk(out, "IEND", {});
  return out;
}

Bytes encode_bmp(const Image& image) {
  const std::uint32_t row = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;  // rows pad to 4 bytes
  const std::uint32_t pixels = row * image.height;
  Bytes out = {'B', 'M'};
  put_le(out, 54 + pixels, 4);
  put_le(out, 0, 4);
  put_le(out, 54, 4);   // pixel data offset
  put_le(out, 40, 4);   // BITMAPINFOHEADER
  put_le(out, image.width, 4);
  put_le(out, image.height, 4);  // positive: rows stored bottom up
  put_le(out, 1, 2);
  put_le(out, 24, 2);
  put_le(out, 0, 4);  // BI_RGB
  put_le(out, pixels, 4);
  put_le(out, 2835, 4);  // 72 dpi
  put_le(out, 2835, 4);
  put_le(out, 0, 4);
  put_le(out, 0, 4);
  for (int y = image.height - 1; y >= 0; --y) {
    const std::uint8_t* p = image.rgb.data() + static_cast<size_t>(y) * image.width * 3;
    for (int x = 0; x < image.width; ++x, p += 3) out.insert(out.end(), {p[2], p[1], p[0]});
    out.insert(out.end(), row - image.width * 3, 0);
  }
  return out;
}

void save_image(const Image& image, const std::string& path) {
  const std::string ext = lower_extension(path);
  Bytes data;
  if (ext == ".png") data = encode_png(image);
  else if (ext == ".bmp") data = encode_bmp(image);
  else fail("cannot tell the picture format of '" + path + "': use a .png or .bmp name");
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  file.close();
  if (!file) fail("cannot write '" + path + "'");
}

}  // namespace wzd
