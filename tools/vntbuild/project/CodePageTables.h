// The code pages the builder knows, as tables of their upper halves.
#pragma once

#include <array>
#include <cstdint>

namespace vnt {

struct TCodePageTable {
  int Number;
  const char* Name;
  std::array<uint16_t, 128> High;  // Unicode of the bytes 0x80 to 0xFF; 0: unassigned
};

const std::array<TCodePageTable, 9>& CodePageTables();

}  // namespace vnt
