// A member's bytes gathered into one large block and written when the block is full and when
// the member ends: a few large writes instead of one per chunk, and the chunks inflate
// straight into the block.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "archive/ArchiveFileSystem.h"

namespace vnt {

class TOutputBlock {
public:
  explicit TOutputBlock(size_t size) : Bytes(size) {}

  // The member's bytes go to output, which stays open until Finish; nothing of an earlier
  // member is carried over.
  void Begin(TArchiveOutput& output) {
    Output = &output;
    Used = 0;
  }
  // Room for at least need bytes (need <= the block's size): a block without that room is
  // written first, which raises EOutputError when the output cannot take it.
  std::span<uint8_t> Room(size_t need);
  // count bytes of the room just given are filled.
  void Filled(size_t count) { Used += count; }
  // Writes what is gathered; raises EOutputError when the output cannot take it.
  void Finish();
  // The same when the member's data broke off: what was read before stays in the file as far
  // as the output takes it, and nothing is raised.
  void FinishBroken() noexcept;

private:
  void Write();

  std::vector<uint8_t> Bytes;
  size_t Used = 0;
  TArchiveOutput* Output = nullptr;
};

}  // namespace vnt
