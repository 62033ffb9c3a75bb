#include "vntbuild/assemble/PeChecksum.h"

namespace vnt {

void TPeChecksum::Add(const char* bytes, size_t count) {
  size_t i = 0;
  if (Pending >= 0 && count > 0) {
    if (Counts(Length - 1)) Sum += uint32_t(Pending) | uint32_t(uint8_t(bytes[0])) << 8;
    Pending = -1;
    i = 1;
  }
  // Words start at even places of the file: Length + i is even here.
  for (; i + 1 < count; i += 2)
    if (Counts(Length + i)) Sum += uint32_t(uint8_t(bytes[i])) | uint32_t(uint8_t(bytes[i + 1])) << 8;
  if (i < count) Pending = uint8_t(bytes[i]);
  Length += count;
}

uint32_t TPeChecksum::Value() const {
  uint64_t sum = Sum;
  if (Pending >= 0 && Counts(Length - 1)) sum += uint32_t(Pending);  // an odd last byte is a word alone
  // Folding once at the end gives what folding after every word gives: the carries go round.
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return uint32_t(sum + Length);
}

}  // namespace vnt
