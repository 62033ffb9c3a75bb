#include "archive/ChunkCodec.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>

#include "archive/ArchiveFormat.h"

namespace vnt {

std::optional<size_t> DecodeChunk(std::span<const uint8_t> packed, std::span<uint8_t> out) {
  if (packed.size() > MaxPackedChunk) return std::nullopt;
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return std::nullopt;
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = uInt(packed.size());
  z.next_out = out.data();
  z.avail_out = uInt(std::min(out.size(), ChunkSize));
  int rc = inflate(&z, Z_FINISH);
  size_t produced = z.total_out;
  inflateEnd(&z);
  if (rc != Z_STREAM_END) return std::nullopt;
  return produced;
}

TEncodedChunk EncodeChunk(std::string_view plain) {
  if (plain.size() > ChunkSize) throw std::invalid_argument("chunk larger than 65,536 bytes");
  uLongf packedSize = compressBound(uLong(plain.size()));
  std::string packed(packedSize, '\0');
  int rc = compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                     reinterpret_cast<const Bytef*>(plain.data()), uLong(plain.size()), Z_BEST_COMPRESSION);
  if (rc != Z_OK) throw std::runtime_error("zlib cannot compress a chunk");
  packed.resize(packedSize);
  if (packed.size() < plain.size() || plain.size() == 4) return {int32_t(packed.size()), std::move(packed)};
  return {-int32_t(plain.size()), std::string(plain)};
}

bool ChunkSizeIsSound(int32_t size, uint64_t remaining) {
  // Widened first: the negation of the lowest i32 does not fit an i32.
  int64_t bytes = size > 0 ? int64_t(size) : -int64_t(size);
  uint64_t limit = size > 0 ? MaxPackedChunk : ChunkSize;
  return uint64_t(bytes) <= limit && uint64_t(bytes) <= remaining;
}

}  // namespace vnt
