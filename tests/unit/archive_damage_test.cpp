#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "../fuzz/ArchiveTestKit.h"

using namespace vnt;
using namespace vnt::test;

namespace {

struct TOutcome {
  bool Raised = false;
  TArchiveDamage Kind = TArchiveDamage::Header;
  std::string Text;
};

// Restores the bytes and checks what every damaged run must leave behind.
TOutcome RestoreDamaged(TMemoryRestore& r, const std::string& archive) {
  TOutcome o;
  try {
    r.Restore(archive);
  } catch (const EArchiveError& e) {
    o = {true, e.Kind, e.what()};
  }
  EXPECT_TRUE(o.Raised);
  EXPECT_EQ(r.Zip.ErrorCode, 2u);
  EXPECT_FALSE(r.Zip.Active);
  EXPECT_FALSE(r.Zip.IsBusy());
  EXPECT_EQ(r.Fs.OutputsOpen, 0);
  EXPECT_EQ(r.Fs.VolumesOpened, r.Fs.VolumesClosed);
  return o;
}

TOutcome RestoreDamaged(const std::string& archive) {
  TMemoryRestore r;
  return RestoreDamaged(r, archive);
}

void ExpectDamage(const std::string& archive, TArchiveDamage kind, const char* text = CannotReadArchiveText) {
  TOutcome o = RestoreDamaged(archive);
  EXPECT_TRUE(o.Kind == kind) << "kind " << int(o.Kind) << ", wanted " << int(kind);
  EXPECT_EQ(o.Text, text);
}

TRawArchive Started() { return std::move(TRawArchive().Header(10, 1)); }

}  // namespace

TEST(ArchiveDamage, HeaderShorterThanItSaysOrCutOff) {
  ExpectDamage("", TArchiveDamage::Header);
  ExpectDamage("\x0b\x00\x00", TArchiveDamage::Header);
  ExpectDamage(TRawArchive().U32(1000).Bytes("Vantry 2002").U32(0).U32(0).End().Take(), TArchiveDamage::Header);
  ExpectDamage(TRawArchive().U32(0xFFFFFFFF).Take(), TArchiveDamage::Header);
  ExpectDamage(TRawArchive().U32(11).Bytes("Vantry 2002").U32(0).Take(), TArchiveDamage::Header);
}

TEST(ArchiveDamage, CommentLongerThanTheData) {
  ExpectDamage(Started().I32(TagComment).U32(50).Bytes("short").Take(), TArchiveDamage::Comment);
  ExpectDamage(Started().I32(TagComment).U32(0xFFFFFFF0).Take(), TArchiveDamage::Comment);
}

TEST(ArchiveDamage, WrongMemberMagicWhetherWritingOrSkipping) {
  std::string archive = Started().I32(0).U32(0).Bytes("vNTz").Stored("abc").EndMember().End().Take();
  ExpectDamage(archive, TArchiveDamage::Magic, InvalidMemberText);
  TMemoryRestore skipping;
  skipping.Zip.OnRestoreFile = [](int32_t, std::string&, int32_t&, uint32_t, bool& restore) { restore = false; };
  EXPECT_EQ(RestoreDamaged(skipping, archive).Text, InvalidMemberText);
}

TEST(ArchiveDamage, ChunkSizesTheDataOrTheLimitsCannotHold) {
  for (bool skip : {false, true}) {
    for (int32_t size : {100, int32_t(MaxPackedChunk) + 1, -100, -int32_t(ChunkSize) - 1, INT32_MIN, INT32_MAX}) {
      // Enough data follows for every size but the two largest.
      std::string archive = Started().Member(0).I32(size).Bytes(std::string(size == 100 || size == -100 ? 99 : 200000, 'x')).Take();
      TMemoryRestore r;
      if (skip) r.Zip.OnRestoreFile = [](int32_t, std::string&, int32_t&, uint32_t, bool& restore) { restore = false; };
      TOutcome o = RestoreDamaged(r, archive);
      EXPECT_TRUE(o.Kind == TArchiveDamage::ChunkSize) << size << " skip " << skip;
    }
  }
}

TEST(ArchiveDamage, DataEndingInsideARecordKeepsTheWrittenPart) {
  std::string full = Started().Member(0, 42).Stored("abcdef").Stored("ghijkl").EndMember().End().Take();
  // Cut inside the second chunk's size, inside its bytes, before the end marker, before the end record.
  size_t secondChunk = 23 + 12 + 4 + 6;
  for (size_t cut : {secondChunk + 2, secondChunk + 7, full.size() - 8, full.size() - 4}) {
    TMemoryRestore r;
    TOutcome o = RestoreDamaged(r, full.substr(0, cut));
    // A chunk whose bytes are cut short is refused by its size before anything is read.
    auto kind = cut == secondChunk + 7 ? TArchiveDamage::ChunkSize : TArchiveDamage::Truncated;
    EXPECT_TRUE(o.Kind == kind) << cut;
    std::string kept = r.Fs.Contents(MemberPath(0));
    EXPECT_EQ(kept, cut > full.size() - 10 ? "abcdefghijkl" : "abcdef") << cut;
  }
  ExpectDamage(Started().I32(0).U32(0).Bytes("vN").Take(), TArchiveDamage::Truncated);
  ExpectDamage(Started().I32(0).Take(), TArchiveDamage::Truncated);
  ExpectDamage(Started().Take(), TArchiveDamage::Truncated);
}

TEST(ArchiveDamage, UnknownTagIsNotTakenForData) {
  ExpectDamage(Started().I32(-5).End().Take(), TArchiveDamage::Tag);
  ExpectDamage(Started().I32(INT32_MIN).Take(), TArchiveDamage::Tag);
}

TEST(ArchiveDamage, VolumeSwitchBackwardsOrWithNobodyToAsk) {
  // Volume 2 switching to 2 again would read the same file for ever.
  TMemoryRestore r;
  r.Fs.Put("disk\\setup.002", TRawArchive().Bytes("vNTZ").Stored("b").Switch(2).Take());
  TOutcome o = RestoreDamaged(r, Started().Member(0).Stored("a").Switch(2).Take());
  EXPECT_TRUE(o.Kind == TArchiveDamage::Volume);
  EXPECT_EQ(r.Fs.Contents(MemberPath(0)), "ab");
  EXPECT_EQ(r.Fs.VolumesOpened, 1);

  ExpectDamage(Started().Member(0).Stored("a").Switch(0).Take(), TArchiveDamage::Volume);

  TMemoryRestore nobody;
  nobody.Zip.OnNeedVolume = nullptr;
  EXPECT_TRUE(RestoreDamaged(nobody, Started().Member(0).Stored("a").Switch(2).Take()).Kind == TArchiveDamage::Volume);

  TMemoryRestore missing;
  try {
    missing.Zip.RestoreFromFile("disk\\setup.001", "dest\\");
    ADD_FAILURE() << "a missing file was restored";
  } catch (const EArchiveError& e) {
    EXPECT_EQ(std::string(e.what()), CannotReadArchiveText);
    EXPECT_EQ(missing.Zip.ErrorCode, 2u);
  }
}
