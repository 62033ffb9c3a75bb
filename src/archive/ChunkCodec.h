// One chunk of a member data block: a zlib stream of at most ChunkSize bytes, or the bytes
// stored as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vnt {

// Inflates one complete zlib stream in a single call into out (ChunkSize bytes or more are
// used only up to ChunkSize). Answers the bytes produced, or nothing when the stream is
// damaged, incomplete or would produce more than ChunkSize bytes.
std::optional<size_t> DecodeChunk(std::span<const uint8_t> packed, std::span<uint8_t> out);

struct TEncodedChunk {
  int32_t Size = 0;     // the chunk's size field: > 0 packed, <= 0 stored
  std::string Payload;  // the bytes that follow it
};

// Packs at most ChunkSize bytes at the best compression; stores them when packing does not
// pay, except that 4 stored bytes would read as the end marker and so stay packed.
TEncodedChunk EncodeChunk(std::string_view plain);

// Whether a size field read from an archive fits the remaining data and the chunk limits.
// The end marker is not a chunk and is not judged here.
bool ChunkSizeIsSound(int32_t size, uint64_t remaining);

}  // namespace vnt
