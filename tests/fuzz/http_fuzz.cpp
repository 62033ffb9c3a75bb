// libFuzzer target: arbitrary bytes as a server's answer. Build with tests/fuzz/build.sh
// (clang); the native unit tests run the same function over mutated answers without libFuzzer.
#include "HttpFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!vnt::test::HttpFuzzOne(data, size)) __builtin_trap();
  return 0;
}
