// The checksum in a program image's headers, as Windows computes it over the whole file
// (appended data included), reckoned piece by piece as the file is written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vntbuild/assemble/PeLayout.h"

namespace vnt {

// Where the checksum field stands in the file.
inline size_t PeChecksumAt(const TPeLayout& layout) { return layout.Optional + 64; }

class TPeChecksum {
public:
  // The four bytes at checksumAt, the field itself, are left out.
  explicit TPeChecksum(uint64_t checksumAt) : Field(checksumAt) {}
  // The next bytes of the file.
  void Add(const char* bytes, size_t count);
  // The checksum of the bytes added so far, taken as the whole file.
  uint32_t Value() const;

private:
  bool Counts(uint64_t wordAt) const { return wordAt != Field && wordAt != Field + 2; }

  uint64_t Field;
  uint64_t Length = 0;
  uint64_t Sum = 0;    // 16-bit words, folded only at the end
  int Pending = -1;    // the low byte of a word whose high byte has not come yet
};

}  // namespace vnt
