// libFuzzer target: arbitrary bytes through the chunk decoder and through a whole restore.
// Build with tests/fuzz/build.sh (clang); the native unit tests run the same function over
// mutated archives without libFuzzer.
#include "ArchiveFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vnt::test::ArchiveFuzzOne(data, size)) __builtin_trap();
  return 0;
}
