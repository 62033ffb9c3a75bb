#include <gtest/gtest.h>
#include <zlib.h>

#include "../fuzz/ArchiveTestKit.h"
#include "archive/ArchiveFormat.h"
#include "archive/ArchiveProgress.h"
#include "archive/ChunkCodec.h"
#include "archive/VolumeNames.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::string Compress(const std::string& plain, int level = Z_BEST_COMPRESSION) {
  uLongf n = compressBound(uLong(plain.size()));
  std::string out(n, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(plain.data()),
                      uLong(plain.size()), level),
            Z_OK);
  out.resize(n);
  return out;
}

std::optional<std::string> Decode(const std::string& packed) {
  std::vector<uint8_t> out(ChunkSize);
  auto n = DecodeChunk({reinterpret_cast<const uint8_t*>(packed.data()), packed.size()}, out);
  if (!n) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(out.data()), *n);
}

}  // namespace

TEST(ArchiveChunk, DecodesWholeStreamsUpToOneChunk) {
  for (size_t n : {size_t(0), size_t(1), size_t(4), size_t(1000), ChunkSize}) {
    std::string plain = MixedBytes(n, uint32_t(n));
    EXPECT_EQ(Decode(Compress(plain, n % 10)), plain) << n;
  }
}

TEST(ArchiveChunk, RefusesDamagedIncompleteOrOversizedStreams) {
  std::string plain = MixedBytes(30000, 1);
  std::string packed = Compress(plain);
  std::string flipped = packed;
  flipped[flipped.size() - 1] ^= 0x40;  // Adler-32 trailer no longer matches
  EXPECT_FALSE(Decode(flipped));
  EXPECT_FALSE(Decode(packed.substr(0, packed.size() - 5)));
  EXPECT_FALSE(Decode(""));
  EXPECT_FALSE(Decode("not zlib at all"));
  EXPECT_FALSE(Decode(Compress(std::string(ChunkSize + 1, 'a'))));
}

TEST(ArchiveChunk, EncodesPackedWhenItPaysStoredOtherwiseNeverFourStored) {
  TEncodedChunk text = EncodeChunk(std::string(ChunkSize, 'x'));
  EXPECT_GT(text.Size, 0);
  EXPECT_EQ(size_t(text.Size), text.Payload.size());
  EXPECT_EQ(Decode(text.Payload), std::string(ChunkSize, 'x'));

  std::string noise = RandomBytes(ChunkSize, 7);
  TEncodedChunk stored = EncodeChunk(noise);
  EXPECT_EQ(stored.Size, -int32_t(ChunkSize));
  EXPECT_EQ(stored.Payload, noise);

  // Four bytes of noise cannot shrink, yet -4 is the end marker: they stay packed.
  TEncodedChunk four = EncodeChunk("\x93\x11\xfe\x07");
  EXPECT_GT(four.Size, 4);
  EXPECT_EQ(Decode(four.Payload), std::string("\x93\x11\xfe\x07"));
  EXPECT_EQ(EncodeChunk("abc").Size, -3);
  EXPECT_THROW(EncodeChunk(std::string(ChunkSize + 1, 'x')), std::invalid_argument);
}

TEST(ArchiveChunk, JudgesSizeFieldsAgainstLimitsAndRemainingData) {
  EXPECT_TRUE(ChunkSizeIsSound(100, 100));
  EXPECT_FALSE(ChunkSizeIsSound(101, 100));
  EXPECT_TRUE(ChunkSizeIsSound(int32_t(MaxPackedChunk), MaxPackedChunk));
  EXPECT_FALSE(ChunkSizeIsSound(int32_t(MaxPackedChunk) + 1, UINT64_MAX));
  EXPECT_TRUE(ChunkSizeIsSound(0, 0));
  EXPECT_TRUE(ChunkSizeIsSound(-int32_t(ChunkSize), ChunkSize));
  EXPECT_FALSE(ChunkSizeIsSound(-int32_t(ChunkSize) - 1, UINT64_MAX));
  EXPECT_FALSE(ChunkSizeIsSound(-10, 9));
  EXPECT_FALSE(ChunkSizeIsSound(INT32_MIN, UINT64_MAX));
  EXPECT_FALSE(ChunkSizeIsSound(INT32_MAX, UINT64_MAX));
}

TEST(ArchiveProgressMapping, PercentRoundsHalvesToEvenAndStaysInRange) {
  EXPECT_EQ(ProgressPercent(0, 0), 100);
  EXPECT_EQ(ProgressPercent(5, 1000), 0);    // 0.5 -> 0
  EXPECT_EQ(ProgressPercent(15, 1000), 2);   // 1.5 -> 2
  EXPECT_EQ(ProgressPercent(25, 1000), 2);   // 2.5 -> 2
  EXPECT_EQ(ProgressPercent(35, 1000), 4);   // 3.5 -> 4
  EXPECT_EQ(ProgressPercent(1000, 1000), 100);
  EXPECT_EQ(ProgressPercent(int64_t(1) << 40, 10), 100);  // skipped chunks overshoot
  EXPECT_EQ(ProgressPercent(-5, 10), 0);
}

TEST(ArchiveProgressMapping, RangeLaysTheArchiveOnASharedScale) {
  // Two archives of 300 and 100 bytes on one scale: scale = 100 / 400.
  TProgressMapping first{0, 75, 300, 0.25};
  EXPECT_EQ(MapProgress(first, 50), 38);   // 37.5 -> 38
  EXPECT_EQ(MapProgress(first, 10), 8);    // 7.5 -> 8
  EXPECT_EQ(MapProgress(first, 100), 75);
  EXPECT_EQ(FinalProgress(first), 75);
  TProgressMapping second{75, 100, 100, 0.25};
  EXPECT_EQ(MapProgress(second, 10), 77);  // 2.5 -> 2, + 75
  EXPECT_EQ(MapProgress(second, 30), 83);  // 7.5 -> 8, + 75
  EXPECT_EQ(MapProgress(second, 100), 100);
  TProgressMapping capped{90, 95, 100, 0.25};
  EXPECT_EQ(MapProgress(capped, 100), 95);
  EXPECT_EQ(FinalProgress(capped), 95);
  TProgressMapping plain{40, 10, 0, 3.0};
  EXPECT_EQ(MapProgress(plain, 63), 63);
  EXPECT_EQ(FinalProgress(plain), 100);
  EXPECT_EQ(RoundHalfEven(1e30), INT32_MAX);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
}

TEST(ArchiveVolumeNames, ExtensionKeepsThreeDigitsAndReplacesTheOldOne) {
  EXPECT_EQ(VolumeExtension(7), "007");
  EXPECT_EQ(VolumeExtension(1234), "234");
  EXPECT_EQ(VolumeExtension(1000), "000");
  EXPECT_EQ(ChangeFileExtension("C:\\disk\\setup.exe", ".002"), "C:\\disk\\setup.002");
  EXPECT_EQ(ChangeFileExtension("C:\\disk\\setup", ".002"), "C:\\disk\\setup.002");
  EXPECT_EQ(ChangeFileExtension("C:\\my.disk\\setup", ".002"), "C:\\my.disk\\setup.002");
  EXPECT_EQ(ChangeFileExtension("", ".002"), ".002");
  EXPECT_EQ(FolderPart("C:\\a\\b.txt"), "C:\\a\\");
  EXPECT_EQ(FolderPart("b.txt"), "");
}
