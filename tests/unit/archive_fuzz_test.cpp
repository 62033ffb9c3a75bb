// The fuzz target's function over deterministic mutations of valid archives, so every build
// runs it under the sanitizers even where libFuzzer is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "../fuzz/ArchiveFuzzTarget.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::vector<std::string> Seeds() {
  std::string single = WriteArchive("Fuzz", {{0, 1, "hello"}, {1, 2, MixedBytes(3000, 1)}, {2, 3, RandomBytes(300, 2)}, {3, 4, ""}});
  std::string first = TRawArchive().Header(9, 2).Comment("c").Member(0, 7).Stored("abc").Packed("defdefdef").Switch(2).Take();
  std::string second = TRawArchive().Bytes("vNTZ").Stored("ghi").EndMember().Member(1).Stored("x").Switch(3).Take();
  std::string third = TRawArchive().Bytes("vNTZ").Packed("yyyyyyyy").EndMember().End().Take();
  return {single, JoinFuzzInput({first, second, third})};
}

const int32_t Interesting[] = {-5, -4, -3, -2, -1, 0, 1, 2, 4, 65536, 65537, 131073, INT32_MAX, INT32_MIN, -65537};

std::string Mutate(std::string s, std::mt19937& rng) {
  int steps = 1 + int(rng() % 3);
  for (int i = 0; i < steps && !s.empty(); ++i) {
    size_t at = rng() % s.size();
    switch (rng() % 6) {
      case 0: s[at] = char(s[at] ^ (1 << (rng() % 8))); break;
      case 1: s[at] = char(rng()); break;
      case 2: {
        int32_t v = Interesting[rng() % std::size(Interesting)];
        if (at + 4 <= s.size()) std::memcpy(&s[at], &v, 4);
        break;
      }
      case 3: s.resize(at); break;
      case 4: s.insert(at, s.substr(rng() % s.size(), rng() % 64)); break;
      default: s.erase(at, rng() % 16);
    }
  }
  return s;
}

}  // namespace

TEST(ArchiveFuzz, SeedsRestoreCleanly) {
  for (const std::string& seed : Seeds()) {
    std::vector<std::string> parts = SplitFuzzInput(seed);
    TMemoryRestore r;
    r.PutVolumes(parts);
    EXPECT_TRUE(r.Restore(parts[0]));
    EXPECT_GE(r.Zip.RestoredCount, 2);
  }
}

TEST(ArchiveFuzz, TwentyThousandMutationsKeepEveryPromise) {
  std::mt19937 rng(20020);
  std::vector<std::string> seeds = Seeds();
  int broken = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string input = Mutate(seeds[size_t(i) % seeds.size()], rng);
    if (!ArchiveFuzzOne(reinterpret_cast<const uint8_t*>(input.data()), input.size())) ++broken;
  }
  EXPECT_EQ(broken, 0);
}

TEST(ArchiveFuzz, RandomBytesKeepEveryPromise) {
  for (uint32_t seed = 0; seed < 500; ++seed) {
    std::string input = RandomBytes(seed % 200, seed);
    if (seed % 2) input = TRawArchive().Header(1, 1).Take() + input;  // get past the header
    EXPECT_TRUE(ArchiveFuzzOne(reinterpret_cast<const uint8_t*>(input.data()), input.size())) << seed;
  }
}
