// libFuzzer target: arbitrary bytes as a setup program whose package is read, checked and run.
// Build with tests/fuzz/build.sh (clang); the native unit tests run the same function over
// mutated packages without libFuzzer.
#include "PackageFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vnt::test::PackageFuzzOne(data, size)) __builtin_trap();
  return 0;
}
