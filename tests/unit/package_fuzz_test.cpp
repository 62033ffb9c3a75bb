// The package fuzz target's function over its seeds and deterministic mutations of them, so
// every build runs it under the sanitizers even where libFuzzer is missing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "../fuzz/PackageFuzzSeeds.h"
#include "../fuzz/PackageFuzzTarget.h"

using namespace vnt;
using namespace vnt::test;

namespace {

bool FuzzOne(const std::string& input) {
  return PackageFuzzOne(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

const uint32_t Interesting[] = {0, 1, 2, 3, 0x7F, 0xFF, 0x100, 0x7FFF, 0xFFFF, 0x10000, 0x40000001,
                                0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};

// Small changes past the fake program image: bit flips, counts and offsets set to edge values,
// cuts, copies and holes.
std::string Mutate(std::string s, std::mt19937& rng) {
  const size_t image = 64;
  int steps = 1 + int(rng() % 3);
  for (int i = 0; i < steps && s.size() > image; ++i) {
    size_t at = image + rng() % (s.size() - image);
    switch (rng() % 6) {
      case 0: s[at] = char(s[at] ^ (1 << (rng() % 8))); break;
      case 1: s[at] = char(rng()); break;
      case 2: {
        uint32_t v = Interesting[rng() % std::size(Interesting)];
        if (at + 4 <= s.size()) std::memcpy(&s[at], &v, 4);
        break;
      }
      case 3: s.resize(at); break;
      case 4: s.insert(at, s.substr(image + rng() % (s.size() - image), rng() % 64)); break;
      default: s.erase(at, 1 + rng() % 16);
    }
  }
  return s;
}

}  // namespace

TEST(PackageFuzz, SeedsReadBackAndTheirScriptsEndWithinTheBounds) {
  std::vector<std::string> seeds = PackageFuzzSeeds();
  for (size_t i = 0; i < seeds.size(); ++i) {
    TSetupDescription d;
    std::string language;
    std::array<uint8_t, OptionCount> options{};
    ASSERT_TRUE(ReadFuzzPackage(seeds[i], d, language, &options)) << i;
    EXPECT_TRUE(ListsFitTheBytes(d, seeds[i].size())) << i;
    EXPECT_TRUE(RewriteReadsTheSame(d, options)) << i;
    EXPECT_TRUE(FuzzOne(seeds[i])) << i;
  }
  // A loop without end stops at the step limit; the doubling value of the page's control is
  // stopped by the growth bound; the busy start script runs to its end.
  TSetupDescription busy = BusyFuzzContent().Description;
  busy.Scripts[CloseScript] = {FuzzStatement(OpWhile, {"w"}, "1 = 1|"), FuzzStatement(OpEndWhile, {"w"})};
  std::vector<std::string> errors = RunFuzzDescription(busy);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0], "The script ran more than " + std::to_string(FuzzStepLimit) + " steps.");
  EXPECT_EQ(errors[1], "fuzz bound: variable values grew too large");
  TSetupDescription rich = RichContent().Description;
  EXPECT_EQ(RunFuzzDescription(rich), std::vector<std::string>{});
}

TEST(PackageFuzz, EightHundredMutationsKeepEveryPromise) {
  std::mt19937 rng(4711);
  std::vector<std::string> seeds = PackageFuzzSeeds();
  int broken = 0, read = 0;
  for (int i = 0; i < 800; ++i) {
    std::string input = Mutate(seeds[size_t(i) % seeds.size()], rng);
    if (!FuzzOne(input)) ++broken;
    TSetupDescription d;
    std::string language;
    if (ReadFuzzPackage(input, d, language)) ++read;
  }
  EXPECT_EQ(broken, 0);
  EXPECT_GT(read, 80) << read;  // the mutations reach the running part, not only the refusals
}
