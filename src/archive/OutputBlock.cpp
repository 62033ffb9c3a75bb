#include "archive/OutputBlock.h"

#include <exception>

namespace vnt {

std::span<uint8_t> TOutputBlock::Room(size_t need) {
  if (Bytes.size() - Used < need) Write();
  return std::span<uint8_t>(Bytes).subspan(Used);
}

void TOutputBlock::Finish() {
  Write();
  Output = nullptr;
}

void TOutputBlock::FinishBroken() noexcept {
  try {
    Finish();
  } catch (const std::exception&) {
    Output = nullptr;
  }
}

void TOutputBlock::Write() {
  // Emptied first: bytes the output refused are not offered again.
  size_t count = Used;
  Used = 0;
  if (count > 0) Output->Write(Bytes.data(), count);
}

}  // namespace vnt
