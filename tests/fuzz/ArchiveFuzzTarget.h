// One fuzz input: the first part is an archive, parts after each "|VOL" separator are the
// volume files 2, 3, ... The whole input is also tried as a single chunk.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ArchiveTestKit.h"
#include "archive/ChunkCodec.h"

namespace vnt::test {

constexpr std::string_view VolumeSeparator = "|VOL";

inline std::vector<std::string> SplitFuzzInput(std::string_view input) {
  std::vector<std::string> parts;
  for (;;) {
    size_t cut = input.find(VolumeSeparator);
    parts.emplace_back(input.substr(0, cut));
    if (cut == std::string_view::npos) return parts;
    input.remove_prefix(cut + VolumeSeparator.size());
  }
}

inline std::string JoinFuzzInput(const std::vector<std::string>& parts) {
  std::string joined;
  for (size_t i = 0; i < parts.size(); ++i) joined += (i ? std::string(VolumeSeparator) : "") + parts[i];
  return joined;
}

// Answers false when the reader broke a promise; crashes, leaks and hangs speak for themselves.
inline bool ArchiveFuzzOne(const uint8_t* data, size_t size) {
  std::vector<uint8_t> plain(ChunkSize);
  auto produced = DecodeChunk({data, size}, plain);
  if (produced && *produced > ChunkSize) return false;
  std::vector<std::string> parts = SplitFuzzInput({reinterpret_cast<const char*>(data), size});
  std::string archive = parts.front();
  parts.front().clear();
  return RestoreKeepsPromises(archive, parts);
}

}  // namespace vnt::test
