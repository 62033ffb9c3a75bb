// Archive throughput: writing, restoring with the reader into a sink, and plain zlib inflate
// of the same chunks, for 200 files of 200 MB in all and for 10,000 small files.
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "../tests/fuzz/ArchiveTestKit.h"
#include "archive/ArchiveWriter.h"
#include "archive/SetupVNTZip.h"
#include "package/PackagePrimitives.h"

using namespace vnt;
using namespace vnt::test;

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point since) { return std::chrono::duration<double>(TClock::now() - since).count(); }

// Outputs that count bytes and keep none: the reader's own cost, without a disk or memory copy.
class TSinkFileSystem : public TArchiveFileSystem {
  class TSink : public TArchiveOutput {
  public:
    explicit TSink(uint64_t& total) : Total(total) {}
    size_t Read(void*, size_t) override { return 0; }
    void Write(const void*, size_t count) override { Total += count, Pos += count; }
    void Seek(uint64_t position) override { Pos = position; }
    uint64_t Position() const override { return Pos; }
    uint64_t Size() const override { return Pos; }
    bool SetDosDateTime(uint32_t) override { return true; }

  private:
    uint64_t& Total;
    uint64_t Pos = 0;
  };

public:
  uint64_t Written = 0;
  bool MakeFolders(const std::string&) override { return true; }
  bool FileExists(const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return true; }
  std::unique_ptr<TArchiveOutput> CreateOutput(const std::string&) override { return std::make_unique<TSink>(Written); }
  std::unique_ptr<TArchiveOutput> AppendOutput(const std::string&) override { return std::make_unique<TSink>(Written); }
  std::unique_ptr<TStream> OpenVolume(const std::string&) override { return nullptr; }
};

// Outputs that are real files in one folder: the reader's cost with the disk's (page cache's).
class TDiskFileSystem : public TArchiveFileSystem {
  class TFile : public TArchiveOutput {
  public:
    explicit TFile(int fd) : Fd(fd) {}
    ~TFile() override { close(Fd); }
    size_t Read(void*, size_t) override { return 0; }
    void Write(const void* buffer, size_t count) override {
      if (write(Fd, buffer, count) != ssize_t(count)) throw EOutputError("disk full");
      Pos += count;
    }
    void Seek(uint64_t position) override { Pos = position; }
    uint64_t Position() const override { return Pos; }
    uint64_t Size() const override { return Pos; }
    bool SetDosDateTime(uint32_t) override { return true; }

  private:
    int Fd;
    uint64_t Pos = 0;
  };

public:
  bool MakeFolders(const std::string&) override { return true; }
  bool FileExists(const std::string&) override { return false; }
  bool RemoveFile(const std::string&) override { return true; }
  std::unique_ptr<TArchiveOutput> CreateOutput(const std::string& path) override {
    int fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    return fd < 0 ? nullptr : std::make_unique<TFile>(fd);
  }
  std::unique_ptr<TArchiveOutput> AppendOutput(const std::string&) override { return nullptr; }
  std::unique_ptr<TStream> OpenVolume(const std::string&) override { return nullptr; }
};

// Inflates every packed chunk of a one-stream archive with zlib alone; stored chunks are copied.
uint64_t PlainInflate(const std::string& archive) {
  const char* p = archive.data();
  auto i32 = [&p] {
    int32_t v;
    std::memcpy(&v, p, 4);
    p += 4;
    return v;
  };
  std::vector<Bytef> out(ChunkSize);
  uint64_t produced = 0;
  p += 4 + i32() - 4 + 8;
  for (int32_t tag = i32(); tag != TagEnd; tag = i32()) {
    if (tag == TagComment) {
      p += i32();
      continue;
    }
    p += 8;  // date and time, magic
    for (int32_t size = i32(); size != ChunkEndMarker; size = i32()) {
      if (size > 0) {
        uLongf n = ChunkSize;
        if (uncompress(out.data(), &n, reinterpret_cast<const Bytef*>(p), uLong(size)) != Z_OK) return 0;
        produced += n;
        p += size;
      } else {
        std::memcpy(out.data(), p, size_t(-size));
        produced += uint64_t(-size);
        p -= size;
      }
    }
  }
  return produced;
}

// Member i holds MixedBytes(sizeOf(i), i): text runs, repeated bytes and noise.
void Measure(const char* title, size_t files, const std::function<size_t(size_t)>& sizeOf) {
  auto member = [&sizeOf](size_t i) { return MixedBytes(sizeOf(i), uint32_t(i)); };
  uint64_t total = 0;
  for (size_t i = 0; i < files; ++i) total += sizeOf(i);
  const double mb = double(total) / 1e6;

  TMemoryStream archive;
  auto start = TClock::now();
  double generating = 0;
  TArchiveWriter writer(archive, uint32_t(total), uint32_t(files));
  writer.AddComment(title);
  for (size_t i = 0; i < files; ++i) {
    auto made = TClock::now();
    std::string data = member(i);
    generating += Seconds(made);
    writer.AddMember(int32_t(i), 0, data);
  }
  writer.Finish();
  double writing = Seconds(start) - generating;

  TSinkFileSystem sink;
  TSetupVNTZip zip(sink);
  zip.OnRestoreFile = [](int32_t, std::string& name, int32_t&, uint32_t, bool&) { name = "sink\\file"; };
  archive.Seek(0);
  start = TClock::now();
  bool ok = zip.RestoreFromStream(archive, "");
  double reading = Seconds(start);

  TDiskFileSystem disk;
  TSetupVNTZip toDisk(disk);
  const std::string folder = "/tmp/vnt_archive_bench";
  std::string made = "mkdir -p " + folder;
  if (std::system(made.c_str()) != 0) return;
  toDisk.OnRestoreFile = [&folder](int32_t id, std::string& name, int32_t&, uint32_t, bool&) {
    name = folder + "/" + std::to_string(id);
  };
  archive.Seek(0);
  start = TClock::now();
  bool onDisk = toDisk.RestoreFromStream(archive, "");
  double restoring = Seconds(start);
  std::string removal = "rm -rf " + folder;
  if (std::system(removal.c_str()) != 0) return;

  start = TClock::now();
  uint64_t inflated = PlainInflate(archive.Bytes());
  double inflating = Seconds(start);

  std::printf("%s: %zu files, %.1f MB, archive %.1f MB (%.0f%%)\n", title, files, mb, archive.Size() / 1e6,
              100.0 * double(archive.Size()) / double(total));
  std::printf("  writer (compress2 level 9): %8.1f MB/s\n", mb / writing);
  std::printf("  reader into sink:           %8.1f MB/s  (%s, %llu bytes)\n", mb / reading, ok ? "ok" : "FAILED",
              (unsigned long long)sink.Written);
  std::printf("  reader into files in /tmp:  %8.1f MB/s  (%s)\n", mb / restoring, onDisk ? "ok" : "FAILED");
  std::printf("  plain zlib inflate:         %8.1f MB/s  (%llu bytes)\n", mb / inflating, (unsigned long long)inflated);
}

}  // namespace

int main() {
  Measure("200 files of 1 MB", 200, [](size_t) { return size_t(1000000); });
  Measure("10,000 small files", 10000, [](size_t i) { return 100 + (i * 7919) % 8000; });
  return 0;
}
