#include <gtest/gtest.h>

#include "../fuzz/ArchiveTestKit.h"
#include "archive/ArchiveWriter.h"

using namespace vnt;
using namespace vnt::test;

namespace {

using TProgressLog = std::vector<std::pair<int32_t, int32_t>>;

std::string Archive(const std::vector<TArchiveMember>& members) { return WriteArchive("", members); }

}  // namespace

TEST(ArchiveReader, CancelStopsAfterTheChunkInProgressAndKeepsTheDatedPartialFile) {
  std::string big = MixedBytes(1 << 20, 3);
  std::string archive = Archive({{0, 77, big}, {1, 78, "after"}});
  for (bool byEvent : {false, true}) {
    TMemoryRestore r;
    int chunks = 0, restoredEvents = 0, finals = 0;
    r.Zip.OnProgress = [&](int32_t id, int32_t, bool& cont) {
      if (id == -2) ++finals;
      if (id == 0 && ++chunks == 3) byEvent ? void(cont = false) : r.Zip.Cancel();
    };
    r.Zip.OnFileRestored = [&](int32_t, std::string&, TStream&, int32_t) { ++restoredEvents; };
    EXPECT_FALSE(r.Restore(archive));
    EXPECT_EQ(r.Zip.ErrorCode, 0u);
    EXPECT_FALSE(r.Zip.Active);
    const TMemoryFile& f = *r.Fs.Files.at(MemberPath(0));
    EXPECT_TRUE(f.Data == big.substr(0, 3 * 65536));
    EXPECT_EQ(f.DosDateTime, 77u);
    EXPECT_FALSE(f.Open);
    EXPECT_EQ(restoredEvents, 1);
    EXPECT_EQ(r.Zip.RestoredCount, 1);
    EXPECT_FALSE(r.Fs.FileExists(MemberPath(1)));
    EXPECT_EQ(finals, 1);
  }
}

TEST(ArchiveReader, CorruptChunkSetsErrorTwoAndKeepsWhatCameBefore) {
  std::string first = MixedBytes(65536, 1), second = MixedBytes(65536, 2);
  std::string bad = TRawArchive::Zlib(second);
  bad[bad.size() - 2] ^= 0x55;
  std::string archive = TRawArchive()
                            .Header(3 * 65536, 2)
                            .Member(0, 99)
                            .Packed(first)
                            .I32(int32_t(bad.size()))
                            .Bytes(bad)
                            .Packed(MixedBytes(65536, 3))
                            .EndMember()
                            .Member(1)
                            .Stored("next")
                            .EndMember()
                            .End()
                            .Take();
  TMemoryRestore r;
  std::vector<int32_t> errors;
  int restoredEvents = 0;
  r.Zip.OnError = [&](int32_t code) { errors.push_back(code); };
  r.Zip.OnFileRestored = [&](int32_t, std::string&, TStream&, int32_t) { ++restoredEvents; };
  EXPECT_FALSE(r.Restore(archive));
  EXPECT_EQ(r.Zip.ErrorCode, 2u);
  EXPECT_FALSE(r.Zip.Active);
  EXPECT_EQ(errors, std::vector<int32_t>{2});
  const TMemoryFile& f = *r.Fs.Files.at(MemberPath(0));
  EXPECT_TRUE(f.Data == first);
  EXPECT_EQ(f.DosDateTime, 99u);
  EXPECT_EQ(restoredEvents, 1);
  EXPECT_FALSE(r.Fs.FileExists(MemberPath(1)));
}

TEST(ArchiveReader, ProgressReportsEveryChunkAndEndsWithIdMinusTwo) {
  std::string data = MixedBytes(100000, 5);  // 65,536 + 34,464
  std::string archive = Archive({{6, 0, data}});
  TMemoryRestore r;
  TProgressLog log;
  int idles = 0;
  r.Zip.OnIdle = [&] { ++idles; };
  r.Zip.IdleInterval = std::chrono::milliseconds(0);
  r.Zip.OnProgress = [&](int32_t id, int32_t value, bool&) { log.emplace_back(id, value); };
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_EQ(log, (TProgressLog{{6, 66}, {6, 100}, {6, 100}, {-2, 100}}));
  EXPECT_EQ(idles, 3);  // after each size read, the end marker included
  idles = 0;
  r.Zip.IdleInterval = std::chrono::hours(1);
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_EQ(idles, 0);  // pumped on a clock, not per chunk: the last pump was just now

  // The same archive as a share of a common scale: weight 200 * 0.25 = 50, from 10, at most 55.
  log.clear();
  r.Zip.ProgressBase = 10;
  r.Zip.ProgressMax = 55;
  r.Zip.ProgressRange = 200;
  r.Zip.ProgressScale = 0.25;
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_EQ(log, (TProgressLog{{6, 43}, {6, 55}, {6, 55}, {-2, 55}}));
}

TEST(ArchiveReader, SkippedMembersCountAFullChunkEachAndAreNeverInflated) {
  std::string broken = TRawArchive::Zlib(MixedBytes(1000, 1));
  broken[3] ^= 0x7F;
  std::string archive = TRawArchive()
                            .Header(65537 + 3, 2)
                            .Member(0)
                            .I32(int32_t(broken.size()))
                            .Bytes(broken)
                            .Stored("x")
                            .EndMember()
                            .Member(1)
                            .Stored("abc")
                            .EndMember()
                            .End()
                            .Take();
  TMemoryRestore r;
  auto name = r.Zip.OnRestoreFile;
  r.Zip.OnRestoreFile = [&](int32_t id, std::string& n, int32_t& tag, uint32_t dt, bool& restore) {
    name(id, n, tag, dt, restore);
    restore = id != 0;
  };
  std::vector<int64_t> done;
  r.Zip.OnProgress = [&](int32_t id, int32_t, bool&) {
    if (id == 0) done.push_back(r.Zip.BytesDone);
  };
  bool errorRaised = false;
  r.Zip.OnError = [&](int32_t) { errorRaised = true; };
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_EQ(done, (std::vector<int64_t>{65536, 131072, 131072}));
  EXPECT_EQ(r.Zip.BytesDone, 131072 + 3);
  EXPECT_FALSE(errorRaised);
  EXPECT_FALSE(r.Fs.FileExists(MemberPath(0)));
  EXPECT_EQ(r.Fs.Contents(MemberPath(1)), "abc");
  EXPECT_EQ(r.Zip.RestoredCount, 1);
}

TEST(ArchiveReader, ReadOnlyTargetIsReplacedLockedTargetIsReportedAndSkipped) {
  std::string archive = Archive({{0, 1, "new zero"}, {1, 2, "new one"}, {2, 3, "new two"}});
  TMemoryRestore r;
  r.Fs.Put(MemberPath(0), "old").ReadOnly = true;
  r.Fs.Put(MemberPath(1), "held").Locked = true;
  std::vector<std::pair<int32_t, std::string>> refused;
  r.Zip.OnCannotReplace = [&](int32_t id, std::string& name) { refused.emplace_back(id, name); };
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_EQ(r.Fs.Contents(MemberPath(0)), "new zero");
  EXPECT_EQ(r.Fs.Contents(MemberPath(1)), "held");
  EXPECT_EQ(r.Fs.Contents(MemberPath(2)), "new two");
  EXPECT_EQ(refused, (std::vector<std::pair<int32_t, std::string>>{{1, MemberPath(1)}}));
  EXPECT_EQ(r.Zip.RestoredCount, 2);
  EXPECT_EQ(r.Zip.ErrorCode, 0u);
}

// A file in use is written beside itself, also across a volume switch, and the original stays
// until the restart; without the means to arrange that it is reported as before.
TEST(ArchiveReader, LockedTargetIsReplacedAtRestartWhenAllowed) {
  std::string first = TRawArchive().Header(6, 1).Member(0, 5).Stored("abc").Switch(2).Take();
  TMemoryRestore r;
  r.Fs.Put("disk\\setup.002", TRawArchive().Bytes("vNTZ").Stored("def").EndMember().End().Take());
  r.Fs.Put(MemberPath(0), "held").Locked = true;
  r.Fs.CanReplaceAtRestart = true;
  r.Zip.ReplaceAtRestart = true;
  std::vector<std::string> later, refused, restored;
  r.Zip.OnReplacedAtRestart = [&](int32_t, const std::string& name) { later.push_back(name); };
  r.Zip.OnCannotReplace = [&](int32_t, std::string& name) { refused.push_back(name); };
  r.Zip.OnFileRestored = [&](int32_t, std::string& name, TStream&, int32_t) { restored.push_back(name); };
  EXPECT_TRUE(r.Restore(first));
  EXPECT_EQ(r.Fs.Contents(MemberPath(0)), "held");
  EXPECT_EQ(r.Fs.Contents(MemberPath(0) + ".new"), "abcdef");
  EXPECT_EQ(r.Fs.Files.at(MemberPath(0) + ".new")->DosDateTime, 5u);
  EXPECT_EQ(r.Fs.Replacements.at(MemberPath(0)), MemberPath(0) + ".new");
  EXPECT_EQ(later, std::vector<std::string>{MemberPath(0)});
  EXPECT_EQ(restored, (std::vector<std::string>{MemberPath(0), MemberPath(0)}));
  EXPECT_TRUE(refused.empty());

  TMemoryRestore unable;
  unable.Fs.Put(MemberPath(0), "held").Locked = true;
  unable.Zip.ReplaceAtRestart = true;
  unable.Zip.OnCannotReplace = [&](int32_t, std::string& name) { refused.push_back(name); };
  EXPECT_TRUE(unable.Restore(Archive({{0, 1, "x"}})));
  EXPECT_EQ(refused, std::vector<std::string>{MemberPath(0)});
  EXPECT_FALSE(unable.Fs.FileExists(MemberPath(0) + ".new"));
}

TEST(ArchiveReader, FolderThatCannotBeMadeSkipsTheMemberSilently) {
  std::string archive = Archive({{0, 1, "a"}, {1, 2, "b"}});
  TMemoryRestore r;
  r.Zip.OnRestoreFile = [](int32_t id, std::string& name, int32_t&, uint32_t, bool&) {
    name = (id == 0 ? "Z:\\nowhere\\" : "C:\\ok\\") + std::to_string(id);
  };
  r.Fs.ForbiddenFolders.insert("Z:\\nowhere");
  EXPECT_TRUE(r.Restore(archive));
  EXPECT_FALSE(r.Fs.FileExists("Z:\\nowhere\\0"));
  EXPECT_EQ(r.Fs.Contents("C:\\ok\\1"), "b");
  EXPECT_TRUE(r.Fs.Folders.count("C:\\ok"));
}

TEST(ArchiveReader, OutputThatCannotBeCreatedOrWrittenEndsTheRunWithErrorOne) {
  std::string archive = Archive({{0, 1, MixedBytes(200000, 1)}, {1, 2, "b"}});
  for (bool failCreate : {true, false}) {
    TMemoryRestore r;
    if (failCreate) r.Fs.Uncreatable.insert(MemberPath(0));
    else r.Fs.WriteLimit = 70000;
    int restoredEvents = 0;
    r.Zip.OnFileRestored = [&](int32_t, std::string&, TStream&, int32_t) { ++restoredEvents; };
    EXPECT_FALSE(r.Restore(archive));
    EXPECT_EQ(r.Zip.ErrorCode, 1u);
    EXPECT_FALSE(r.Zip.Active);
    EXPECT_EQ(restoredEvents, 0);
    EXPECT_EQ(r.Zip.RestoredCount, 0);
    EXPECT_EQ(r.Fs.OutputsOpen, 0);
    EXPECT_FALSE(r.Fs.FileExists(MemberPath(1)));
  }
}

TEST(ArchiveReader, HandlersSeeDestDirTagAndOutputAndTheObjectCanRunAgain) {
  std::string archive = Archive({{4, 123, "payload"}});
  TMemoryFileSystem fs;
  TSetupVNTZip zip(fs);
  std::string offered;
  zip.OnRestoreFile = [&](int32_t id, std::string& name, int32_t& tag, uint32_t dt, bool&) {
    offered = name;
    EXPECT_EQ(id, 4);
    EXPECT_EQ(dt, 123u);
    EXPECT_TRUE(zip.IsBusy());
    name = "dir\\file.txt";
    tag = 55;
  };
  zip.OnFileRestored = [&](int32_t id, std::string& name, TStream& out, int32_t tag) {
    EXPECT_EQ(id, 4);
    EXPECT_EQ(name, "dir\\file.txt");
    EXPECT_EQ(tag, 55);
    EXPECT_EQ(out.Size(), 7u);
    TMemoryStream other(archive);
    EXPECT_THROW(zip.RestoreFromStream(other, "x"), std::logic_error);  // no re-entry
  };
  for (int run = 0; run < 2; ++run) {
    TMemoryStream s(archive);
    EXPECT_TRUE(zip.RestoreFromStream(s, "%InstallDir%\\"));
    EXPECT_EQ(offered, "%InstallDir%\\");
    EXPECT_EQ(zip.RestoredCount, 1);
    EXPECT_FALSE(zip.IsBusy());
    EXPECT_EQ(fs.Contents("dir\\file.txt"), "payload");
  }
}

TEST(ArchiveReader, VolumeNumberKeepsItsLastThreeDigits) {
  for (uint32_t volume : {7u, 1234u}) {
    std::string first = TRawArchive().Header(6, 1).Member(0, 5).Stored("abc").Switch(volume).Take();
    TMemoryRestore r;
    std::string next = TRawArchive().Bytes("vNTZ").Stored("def").EndMember().End().Take();
    r.Fs.Put(volume == 7 ? "disk\\setup.007" : "disk\\setup.234", next);
    std::vector<uint16_t> asked;
    auto ask = r.Zip.OnNeedVolume;
    r.Zip.OnNeedVolume = [&](uint16_t v, std::string& name, bool& cont) {
      asked.push_back(v);
      ask(v, name, cont);
    };
    EXPECT_TRUE(r.Restore(first)) << volume;
    EXPECT_EQ(asked, std::vector<uint16_t>{uint16_t(volume)});
    EXPECT_EQ(r.Fs.Contents(MemberPath(0)), "abcdef");
    EXPECT_EQ(r.Fs.Files.at(MemberPath(0))->DosDateTime, 5u);
  }
}

TEST(ArchiveReader, NeedVolumeAsksAgainUntilTheFileExistsOrContinueIsCleared) {
  std::string first = TRawArchive().Header(6, 1).Member(0).Stored("abc").Switch(2).Take();
  TMemoryRestore r;
  r.Fs.Put("B:\\setup.002", TRawArchive().Bytes("vNTZ").Stored("def").EndMember().End().Take());
  std::vector<std::string> offered;
  r.Zip.OnNeedVolume = [&](uint16_t, std::string& name, bool&) {
    offered.push_back(name);
    name = offered.size() < 3 ? "A:\\setup.exe" : "B:\\setup.exe";
  };
  EXPECT_TRUE(r.Restore(first));
  EXPECT_EQ(offered, (std::vector<std::string>{"", "A:\\setup.002", "A:\\setup.002"}));
  EXPECT_EQ(r.Fs.Contents(MemberPath(0)), "abcdef");

  TMemoryRestore gaveUp;
  gaveUp.Zip.OnNeedVolume = [](uint16_t, std::string&, bool& cont) { cont = false; };
  EXPECT_FALSE(gaveUp.Restore(first));
  EXPECT_EQ(gaveUp.Zip.ErrorCode, 0u);
  EXPECT_EQ(gaveUp.Fs.Contents(MemberPath(0)), "abc");
  EXPECT_EQ(gaveUp.Fs.OutputsOpen, 0);
}

TEST(ArchiveReader, SkippedMemberIsSkippedInTheNextVolumeToo) {
  std::string first = TRawArchive().Header(6, 2).Member(0).Stored("abc").Switch(2).Take();
  TMemoryRestore r;
  r.Fs.Put("disk\\setup.002",
           TRawArchive().Bytes("vNTZ").Stored("def").EndMember().Member(1).Stored("g").EndMember().End().Take());
  r.Zip.OnRestoreFile = [](int32_t id, std::string& name, int32_t&, uint32_t, bool& restore) {
    name = MemberPath(id);
    restore = id == 1;
  };
  EXPECT_TRUE(r.Restore(first));
  EXPECT_FALSE(r.Fs.FileExists(MemberPath(0)));
  EXPECT_EQ(r.Fs.Contents(MemberPath(1)), "g");
  EXPECT_EQ(r.Fs.VolumesClosed, 1);
}

// Staged: each file is written under its staging name and placed when whole, once, also when
// it spans a volume; a file in use takes its place at the next start; a write or a place that
// fails is told with its reason and leaves neither the file nor its staged part; a run that
// ends inside a member leaves nothing of it.
TEST(ArchiveReader, StagedFilesArePlacedWhenWholeAndNothingHalfWrittenStays) {
  std::string first = TRawArchive().Header(6, 2).Member(0, 5).Stored("abc").Switch(2).Take();
  std::string second = TRawArchive().Bytes("vNTZ").Stored("def").EndMember().Member(1, 6).Stored("one").EndMember().End().Take();
  TMemoryRestore r;
  r.Fs.Stage = true;
  r.Fs.Put("disk\\setup.002", second);
  r.Fs.Put(MemberPath(1), "held").Locked = true;
  r.Fs.CanReplaceAtRestart = true;
  r.Zip.ReplaceAtRestart = true;
  std::vector<std::string> complete, later;
  r.Zip.OnFileComplete = [&](int32_t, const std::string& name, int32_t) { complete.push_back(name); };
  r.Zip.OnReplacedAtRestart = [&](int32_t, const std::string& name) { later.push_back(name); };
  EXPECT_TRUE(r.Restore(first));
  EXPECT_EQ(r.Fs.Contents(MemberPath(0)), "abcdef");
  EXPECT_EQ(r.Fs.Files.at(MemberPath(0))->DosDateTime, 5u);
  EXPECT_FALSE(r.Fs.FileExists(MemberPath(0) + ".part"));
  EXPECT_EQ(r.Fs.Contents(MemberPath(1)), "held");
  EXPECT_EQ(r.Fs.Replacements.at(MemberPath(1)), MemberPath(1) + ".part");
  EXPECT_EQ(complete, (std::vector<std::string>{MemberPath(0), MemberPath(1)}));
  EXPECT_EQ(later, std::vector<std::string>{MemberPath(1)});

  std::string archive = Archive({{0, 1, MixedBytes(200000, 1)}, {1, 2, "b"}, {2, 3, "c"}});
  for (int trouble = 0; trouble < 3; ++trouble) {
    TMemoryRestore f;
    f.Fs.Stage = true;
    if (trouble == 0) f.Fs.WriteLimit = 70000;
    if (trouble == 1) f.Fs.Unplaceable.insert(MemberPath(1));
    if (trouble == 2) f.Zip.OnProgress = [&](int32_t id, int32_t, bool& cont) { if (id == 0) cont = false; };
    std::vector<std::string> errors;
    f.Zip.OnWriteError = [&](int32_t, const std::string& name, const std::string& why) {
      errors.push_back(name + ": " + why);
    };
    EXPECT_FALSE(f.Restore(archive)) << trouble;
    EXPECT_EQ(f.Zip.ErrorCode, trouble == 2 ? 0u : 1u) << trouble;
    size_t failing = trouble == 1 ? 1 : 0;
    EXPECT_FALSE(f.Fs.FileExists(MemberPath(failing))) << trouble;
    EXPECT_FALSE(f.Fs.FileExists(MemberPath(failing) + ".part")) << trouble;
    EXPECT_FALSE(f.Fs.FileExists(MemberPath(2))) << trouble;
    EXPECT_EQ(f.Fs.OutputsOpen, 0);
    std::vector<std::string> told[] = {{MemberPath(0) + ": disk full"}, {MemberPath(1) + ": refused"}, {}};
    EXPECT_EQ(errors, told[trouble]);
  }
}

// Members larger than the reader's output block: whole and exact, also across volumes; a
// cancel keeps exactly the chunks read; a later block the disk refuses and data damaged with
// a block half filled both end the run with nothing staged left and every output closed.
TEST(ArchiveReader, MembersOfManyBlocksAreWrittenWholeAndEveryEndIsKept) {
  std::string big = MixedBytes(1300000, 11), noise = RandomBytes(700000, 12);
  std::vector<std::string> volumes =
      WriteArchiveVolumes("", {{0, 7, big}, {1, 8, noise}, {2, 9, "tail"}}, 900000);
  ASSERT_GE(volumes.size(), 2u);
  TMemoryRestore whole;
  whole.Fs.Stage = true;
  whole.PutVolumes(volumes);
  int complete = 0;
  whole.Zip.OnFileComplete = [&](int32_t, const std::string&, int32_t) { ++complete; };
  EXPECT_TRUE(whole.Restore(volumes[0]));
  EXPECT_TRUE(whole.Fs.Contents(MemberPath(0)) == big);
  EXPECT_TRUE(whole.Fs.Contents(MemberPath(1)) == noise);
  EXPECT_EQ(whole.Fs.Contents(MemberPath(2)), "tail");
  EXPECT_EQ(whole.Fs.Files.at(MemberPath(0))->DosDateTime, 7u);
  EXPECT_EQ(complete, 3);
  EXPECT_EQ(whole.Fs.Files.size(), volumes.size() - 1 + 3);

  std::string archive = Archive({{0, 7, big}, {1, 8, "after"}});
  TMemoryRestore cancelled;
  int chunks = 0;
  cancelled.Zip.OnProgress = [&](int32_t id, int32_t, bool&) {
    if (id == 0 && ++chunks == 10) cancelled.Zip.Cancel();
  };
  EXPECT_FALSE(cancelled.Restore(archive));
  EXPECT_EQ(cancelled.Zip.ErrorCode, 0u);
  EXPECT_TRUE(cancelled.Fs.Contents(MemberPath(0)) == big.substr(0, 10 * 65536));
  EXPECT_EQ(cancelled.Fs.Files.at(MemberPath(0))->DosDateTime, 7u);
  EXPECT_FALSE(cancelled.Fs.FileExists(MemberPath(1)));

  TMemoryRestore full;
  full.Fs.Stage = true;
  full.Fs.WriteLimit = 600000;
  std::vector<std::string> errors;
  full.Zip.OnWriteError = [&](int32_t, const std::string& name, const std::string& why) {
    errors.push_back(name + ": " + why);
  };
  EXPECT_FALSE(full.Restore(archive));
  EXPECT_EQ(full.Zip.ErrorCode, 1u);
  EXPECT_EQ(errors, std::vector<std::string>{MemberPath(0) + ": disk full"});
  EXPECT_TRUE(full.Fs.Files.empty());
  EXPECT_EQ(full.Fs.OutputsOpen, 0);

  TRawArchive damaged;
  damaged.Header(1 << 20, 1).Member(0);
  for (int i = 0; i < 12; ++i) damaged.Packed(MixedBytes(65536, uint32_t(i)));
  damaged.I32(int32_t(MaxPackedChunk + 1)).Bytes(std::string(MaxPackedChunk + 1, 'x'));
  TMemoryRestore broken;
  broken.Fs.Stage = true;
  EXPECT_THROW(broken.Restore(damaged.EndMember().End().Take()), EArchiveError);
  EXPECT_EQ(broken.Zip.ErrorCode, 2u);
  EXPECT_TRUE(broken.Fs.Files.empty());
  EXPECT_EQ(broken.Fs.OutputsOpen, 0);
  EXPECT_FALSE(broken.Zip.IsBusy());
}
