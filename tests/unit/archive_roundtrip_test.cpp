#include <gtest/gtest.h>

#include <cstring>

#include "../fuzz/ArchiveTestKit.h"
#include "archive/ArchiveFormat.h"
#include "archive/ArchiveWriter.h"
#include "package/PackagePrimitives.h"

using namespace vnt;
using namespace vnt::test;

namespace {

constexpr uint32_t Stamp = (uint32_t(44) << 25 | 5u << 21 | 17u << 16) | (13u << 11 | 45u << 5 | 10u);

// The chunk sizes of every member, read straight from the bytes of a one-stream archive.
std::vector<std::vector<int32_t>> ChunkSizes(const std::string& archive) {
  TMemoryStream s(archive);
  uint32_t headerLength = ReadU32(s);
  s.Seek(4 + headerLength + 8);
  std::vector<std::vector<int32_t>> members;
  for (int32_t tag = ReadI32(s); tag != TagEnd; tag = ReadI32(s)) {
    if (tag == TagComment) {
      uint32_t length = ReadU32(s);
      s.Seek(s.Position() + length);
      continue;
    }
    ReadU32(s);
    char magic[4];
    s.ReadExact(magic, 4);
    EXPECT_EQ(std::memcmp(magic, "vNTZ", 4), 0);
    auto& sizes = members.emplace_back();
    for (int32_t size = ReadI32(s); size != ChunkEndMarker; size = ReadI32(s)) {
      sizes.push_back(size);
      s.Seek(s.Position() + uint64_t(size > 0 ? size : -int64_t(size)));
    }
  }
  return members;
}

void ExpectRestored(TMemoryRestore& r, const std::vector<TArchiveMember>& members) {
  for (const auto& m : members) {
    ASSERT_TRUE(r.Fs.FileExists(MemberPath(m.Id))) << m.Id;
    const TMemoryFile& f = *r.Fs.Files.at(MemberPath(m.Id));
    EXPECT_TRUE(f.Data == m.Data) << "member " << m.Id << " of " << m.Data.size() << " bytes";
    EXPECT_EQ(f.DosDateTime, m.DosDateTime) << m.Id;
    EXPECT_FALSE(f.Open) << m.Id;
  }
}

}  // namespace

TEST(ArchiveRoundTrip, CommentOnlyArchiveRestoresNothingAndEndsAtHundred) {
  std::string archive = WriteArchive("Program files", {});
  TMemoryRestore r;
  std::vector<std::string> comments;
  std::vector<std::pair<int32_t, int32_t>> progress;
  r.Zip.OnComment = [&](const std::string& text) { comments.push_back(text); };
  r.Zip.OnProgress = [&](int32_t id, int32_t percent, bool&) { progress.emplace_back(id, percent); };
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_EQ(comments, std::vector<std::string>{"Program files"});
  EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int32_t>>{{-2, 100}}));
  EXPECT_TRUE(r.Fs.Files.empty());
  EXPECT_EQ(r.Zip.RestoredCount, 0);
  EXPECT_EQ(r.Zip.TotalSize, 0u);
  EXPECT_EQ(r.Zip.FileCount, 0u);
  EXPECT_EQ(r.Zip.CurrentId, -2);
  EXPECT_FALSE(r.Zip.IsBusy());
  // Header: length, "Vantry 2002", total, count; then the comment record and the end.
  EXPECT_EQ(archive.substr(4, 11), "Vantry 2002");
  EXPECT_EQ(archive.size(), 4 + 11 + 8 + 8 + 13 + 4u);
}

TEST(ArchiveRoundTrip, EmptyFileIsMagicThenEndMarkerAndGetsItsDate) {
  std::vector<TArchiveMember> members{{3, Stamp, ""}};
  std::string archive = WriteArchive("", members);
  EXPECT_EQ(ChunkSizes(archive), std::vector<std::vector<int32_t>>{{}});
  TMemoryRestore r;
  EXPECT_TRUE(r.Restore(archive));
  ExpectRestored(r, members);
  EXPECT_EQ(r.Zip.RestoredCount, 1);
}

TEST(ArchiveRoundTrip, MembersAroundTheChunkSizeAndOfSeveralMegabytes) {
  std::vector<TArchiveMember> members{{0, Stamp, "x"},
                                      {1, Stamp + 1, MixedBytes(65536, 1)},
                                      {2, Stamp + 2, MixedBytes(65537, 2)},
                                      {3, Stamp + 3, MixedBytes(159744, 3)},
                                      {4, Stamp + 4, MixedBytes(2525184, 4)},
                                      {7, Stamp + 7, RandomBytes(300000, 7)}};
  std::string archive = WriteArchive("c", members);
  auto sizes = ChunkSizes(archive);
  ASSERT_EQ(sizes.size(), members.size());
  EXPECT_EQ(sizes[0], std::vector<int32_t>{-1});
  EXPECT_EQ(sizes[1].size(), 1u);
  ASSERT_EQ(sizes[2].size(), 2u);
  EXPECT_EQ(sizes[3].size(), 3u);
  EXPECT_EQ(sizes[4].size(), 39u);
  EXPECT_EQ(sizes[5].front(), -65536);  // noise does not pay to pack
  for (auto& member : sizes)
    for (int32_t s : member) EXPECT_NE(s, ChunkEndMarker);

  TMemoryRestore r;
  int64_t lastBytes = -1;
  r.Zip.OnProgress = [&](int32_t, int32_t, bool&) { lastBytes = r.Zip.BytesDone; };
  EXPECT_TRUE(r.Restore(archive));
  ExpectRestored(r, members);
  EXPECT_EQ(r.Zip.RestoredCount, 6);
  EXPECT_EQ(r.Zip.FileCount, 6u);
  uint64_t total = 0;
  for (auto& m : members) total += m.Data.size();
  EXPECT_EQ(r.Zip.TotalSize, total);
  EXPECT_EQ(lastBytes, int64_t(total));
}

TEST(ArchiveRoundTrip, ManySmallFiles) {
  std::vector<TArchiveMember> members;
  for (int i = 0; i < 600; ++i) members.push_back({i, Stamp + uint32_t(i), MixedBytes(size_t(i % 300), uint32_t(i))});
  TMemoryRestore r;
  EXPECT_TRUE(r.Restore(WriteArchive("", members)));
  ExpectRestored(r, members);
  EXPECT_EQ(r.Zip.RestoredCount, 600);
}

TEST(ArchiveRoundTrip, StreamSourceWritesTheSameBytesAsTextSource) {
  std::string data = MixedBytes(200000, 9);
  TMemoryStream a, b;
  TArchiveWriter wa(a, uint32_t(data.size()), 1), wb(b, uint32_t(data.size()), 1);
  TMemoryStream source(data);
  wa.AddMember(5, Stamp, source);
  wb.AddMember(5, Stamp, data);
  wa.Finish();
  wb.Finish();
  EXPECT_TRUE(a.Bytes() == b.Bytes());
  EXPECT_THROW(wa.Finish(), std::logic_error);
  EXPECT_THROW(wb.AddMember(-1, 0, ""), std::logic_error);
}

TEST(ArchiveVolumes, MemberSpanningVolumesIsContinuedAndEveryVolumeClosed) {
  std::vector<TArchiveMember> members{
      {0, Stamp, "first"}, {1, Stamp + 1, MixedBytes(1 << 20, 11)}, {2, Stamp + 2, RandomBytes(90000, 12)}};
  const uint64_t volumeSize = 200 * 1024;
  std::vector<std::string> volumes = WriteArchiveVolumes("Disk set", members, volumeSize);
  ASSERT_GE(volumes.size(), 3u);
  for (auto& v : volumes) EXPECT_LE(v.size(), volumeSize);
  EXPECT_EQ(volumes[0].substr(4, 11), "Vantry 2002");  // .001 begins with the header
  for (size_t i = 1; i < volumes.size(); ++i) EXPECT_EQ(volumes[i].substr(0, 4), "vNTZ") << i;

  // The setup opens .001 itself when the whole archive lies in volumes.
  TMemoryRestore r;
  r.PutVolumes(volumes);
  r.Fs.Put("disk\\setup.001", volumes[0]);
  std::vector<uint16_t> asked;
  auto ask = r.Zip.OnNeedVolume;
  r.Zip.OnNeedVolume = [&](uint16_t v, std::string& name, bool& cont) {
    asked.push_back(v);
    ask(v, name, cont);
  };
  std::vector<int32_t> restored;
  r.Zip.OnFileRestored = [&](int32_t id, std::string&, TStream&, int32_t) { restored.push_back(id); };
  EXPECT_TRUE(r.Zip.RestoreFromFile("disk\\setup.001", "dest\\"));
  ExpectRestored(r, members);
  EXPECT_EQ(r.Zip.RestoredCount, 3);
  EXPECT_EQ(asked.size(), volumes.size() - 1);
  EXPECT_EQ(asked.front(), 2);
  EXPECT_GT(restored.size(), 3u);  // the spanning member is reported after each of its parts
  EXPECT_EQ(r.Fs.VolumesOpened, int(volumes.size()));
  EXPECT_EQ(r.Fs.VolumesClosed, int(volumes.size()));
  EXPECT_EQ(r.Fs.OutputsOpen, 0);
}

TEST(ArchiveVolumes, CallersStreamIsLeftOpenAndOnlyOpenedVolumesAreClosed) {
  std::vector<TArchiveMember> members{{4, Stamp, MixedBytes(400000, 21)}};
  std::vector<std::string> volumes = WriteArchiveVolumes("", members, MinVolumeSize);
  ASSERT_GE(volumes.size(), 3u);
  TMemoryRestore r;
  r.PutVolumes(volumes);
  TMemoryStream first(volumes[0]);
  EXPECT_TRUE(r.Zip.RestoreFromStream(first, "dest\\"));
  ExpectRestored(r, members);
  EXPECT_EQ(r.Fs.VolumesOpened, int(volumes.size()) - 1);
  EXPECT_EQ(r.Fs.VolumesClosed, r.Fs.VolumesOpened);
  first.Seek(0);  // still the caller's, still usable
  EXPECT_EQ(ReadU32(first), 11u);
}

TEST(ArchiveVolumes, SmallestVolumesHoldEveryShapeOfMemberWithinTheirSize) {
  std::vector<TArchiveMember> members;
  for (int i = 0; i < 60; ++i) {
    size_t size = (i % 5 == 0) ? 0 : (i % 5 == 1) ? 4 : size_t(i) * 7919 % 150000;
    members.push_back({i, Stamp + uint32_t(i), i % 2 ? RandomBytes(size, uint32_t(i)) : MixedBytes(size, uint32_t(i))});
  }
  std::vector<std::string> volumes = WriteArchiveVolumes("volume test", members, MinVolumeSize);
  for (auto& v : volumes) EXPECT_LE(v.size(), MinVolumeSize);
  TMemoryRestore r;
  r.PutVolumes(volumes);
  EXPECT_TRUE(r.Restore(volumes[0]));
  ExpectRestored(r, members);
  EXPECT_EQ(r.Zip.RestoredCount, 60);
  EXPECT_THROW(WriteArchiveVolumes("", members, MinVolumeSize - 1), std::invalid_argument);
}

TEST(ArchiveVolumes, ChunkEndingAtTheVolumeEdgeLeavesRoomForWhatFollows) {
  // Stored chunks of random bytes: the second member's only chunk ends where the one-stream
  // archive's end record begins. A volume of that offset plus the room kept after a chunk
  // (end marker, next member header, switch record) is filled to its last byte.
  std::vector<TArchiveMember> members{{0, Stamp, RandomBytes(65536, 31)}, {1, Stamp, RandomBytes(8100, 32)}};
  const uint64_t chunkEnd = WriteArchive("", members).size() - 8;
  const uint64_t edge = chunkEnd + 4 + 12 + 12;
  ASSERT_GE(edge, MinVolumeSize);
  for (bool more : {false, true}) {
    std::vector<TArchiveMember> all = members;
    if (more) all.push_back({2, Stamp, RandomBytes(5000, 33)});
    for (uint64_t volumeSize = edge - 2; volumeSize <= edge + 2; ++volumeSize) {
      std::vector<std::string> volumes = WriteArchiveVolumes("", all, volumeSize);
      for (auto& v : volumes) EXPECT_LE(v.size(), volumeSize) << volumeSize;
      if (more && volumeSize == edge) {
        EXPECT_EQ(volumes[0].size(), edge);  // the edge was met exactly
      }
      TMemoryRestore r;
      r.PutVolumes(volumes);
      EXPECT_TRUE(r.Restore(volumes[0])) << volumeSize;
      ExpectRestored(r, all);
    }
  }
}
