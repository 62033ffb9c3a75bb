// The parts that let the builder stream its files: the headers' checksum reckoned piece by
// piece, a file's version found without reading the file whole, and an input file that
// changes while it is read.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "TestFolder.h"
#include "TestImages.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/assemble/PeChecksum.h"

using namespace vnt;
using namespace vnt::test;
namespace fs = std::filesystem;

namespace {

// A memory stream that counts the bytes read from it.
class TCountingStream : public TMemoryStream {
public:
  using TMemoryStream::TMemoryStream;
  size_t Read(void* buffer, size_t count) override {
    size_t n = TMemoryStream::Read(buffer, count);
    BytesRead += n;
    return n;
  }
  uint64_t BytesRead = 0;
};

uint32_t Checksum(const std::string& bytes, uint64_t field, size_t piece) {
  TPeChecksum sum(field);
  for (size_t at = 0; at < bytes.size(); at += piece) sum.Add(bytes.data() + at, std::min(piece, bytes.size() - at));
  return sum.Value();
}

// The version resource of the stub image with the fixed information saying 4.2.0.9.
std::string VersionedImage() {
  std::string info(92, '\0');
  const uint32_t fields[] = {0xFEEF04BDu, 0x00010000u, 4u << 16 | 2u, 0u << 16 | 9u};
  std::memcpy(info.data() + 40, fields, sizeof fields);
  return PeImage({{16, 1, info}});
}

}  // namespace

// Words are little-endian pairs from the file's start; the carries go round; the field's own
// four bytes count for nothing; an odd last byte is a word alone; the length is added. Any
// cut into pieces gives the same.
TEST(BuilderStreaming, ChecksumOfPiecesIsTheChecksumOfTheWhole) {
  const std::string bytes("\xFF\xFF\xFF\xFF\xFF\xFF\x01", 7);  // 3 * 0xFFFF + 1 goes round to 1
  for (size_t piece : {1, 2, 3, 7}) EXPECT_EQ(Checksum(bytes, 100, piece), 1u + 7u) << piece;
  const std::string withField("\x10\x00\xAA\xBB\xCC\xDD\x20\x00\x05", 9);
  for (size_t piece : {1, 2, 5, 9}) EXPECT_EQ(Checksum(withField, 2, piece), 0x10u + 0x20u + 0x05u + 9u) << piece;
}

// The version of a program with much data after its resources comes from its headers and
// resource tree alone, as it does from the image held whole.
TEST(BuilderStreaming, AVersionIsReadWithoutTheWholeFile) {
  const std::string image = VersionedImage() + std::string(size_t(8) << 20, '\x5A');
  TCountingStream stream(image);
  auto version = FileVersionOf(stream);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->High, 4u << 16 | 2u);
  EXPECT_EQ(version->Low, 9u);
  EXPECT_LT(stream.BytesRead, 64u * 1024u);
  EXPECT_EQ(FileVersionOf(image)->Low, 9u);

  TCountingStream text(std::string(size_t(1) << 20, 'M'));
  EXPECT_FALSE(FileVersionOf(text));
  EXPECT_LT(text.BytesRead, 64u * 1024u);
}

// A file read piece by piece that grows or shrinks meanwhile is refused, named, instead of
// going into the setup torn.
TEST(BuilderStreaming, AnInputThatChangesWhileReadIsRefused) {
  TTestFolder dir;
  std::string piece(65536, '\0');
  auto readAll = [&](TInputStream& in) {
    try {
      while (in.Read(piece.data(), piece.size()) > 0) {
      }
    } catch (const EBuildError& e) {
      return std::string(e.what());
    }
    return std::string("read to the end");
  };

  fs::path grows = dir.Write("grows.bin", std::string(100000, 'g'));
  TInputStream growing(grows, MaxCarriedFileSize);
  ASSERT_EQ(growing.Read(piece.data(), piece.size()), piece.size());
  std::ofstream(grows, std::ios::binary | std::ios::app) << "more";
  EXPECT_EQ(readAll(growing), "changed while it was read (it was 100000 bytes): " + grows.string());

  fs::path shrinks = dir.Write("shrinks.bin", std::string(100000, 's'));
  TInputStream shrinking(shrinks, MaxCarriedFileSize);
  ASSERT_EQ(shrinking.Read(piece.data(), piece.size()), piece.size());
  fs::resize_file(shrinks, 70000);
  EXPECT_EQ(readAll(shrinking), "changed while it was read (it was 100000 bytes): " + shrinks.string());

  fs::path same = dir.Write("same.bin", std::string(100000, 'k'));
  TInputStream steady(same, MaxCarriedFileSize);
  EXPECT_EQ(readAll(steady), "read to the end");
  EXPECT_EQ(steady.Position(), 100000u);
}
