#include "vntbuild/assemble/WriteFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "vntbuild/assemble/FileFacts.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vnt {

namespace {

// Enough to gather the archive's small records; chunks and copied blocks pass it by.
constexpr size_t BufferSize = size_t(1) << 16;

#ifdef _WIN32
int CreateNew(const std::string& path) { return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE); }
long WriteSome(int fd, const char* bytes, size_t count) { return _write(fd, bytes, unsigned(std::min<size_t>(count, 1u << 30))); }
bool SeekTo(int fd, uint64_t position) { return _lseeki64(fd, int64_t(position), SEEK_SET) >= 0; }
int SyncFile(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
#else
int CreateNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
long WriteSome(int fd, const char* bytes, size_t count) { return long(::write(fd, bytes, std::min<size_t>(count, 1u << 30))); }
bool SeekTo(int fd, uint64_t position) { return ::lseek(fd, off_t(position), SEEK_SET) >= 0; }
int SyncFile(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
#endif

bool WriteAll(int fd, const char* bytes, size_t count) {
  for (size_t at = 0; at < count;) {
    long n = WriteSome(fd, bytes + at, count - at);
    if (n <= 0) return false;
    at += size_t(n);
  }
  return true;
}

}  // namespace

std::string RandomSuffix() {
  static std::random_device random;
  char text[20];
  std::snprintf(text, sizeof text, "%08x%08x", unsigned(random()), unsigned(random()));
  return text;
}

TWriteFile::TWriteFile(const std::string& place) : Target(place) {
  for (int attempt = 0; Fd < 0 && attempt < 100; ++attempt) {
    Name = place + ".vnt" + RandomSuffix();
    Fd = CreateNew(Name);
    if (Fd < 0 && errno != EEXIST) break;
  }
  if (Fd < 0) throw EWriteError("cannot write " + place + ": " + std::strerror(errno));
}

TWriteFile::~TWriteFile() {
  if (Fd >= 0) CloseFile(Fd);
  if (Kept) return;
  std::error_code ignored;
  std::filesystem::remove(Name, ignored);
}

void TWriteFile::Write(const void* bytes, size_t count) {
  if (Fd < 0) throw EPackageError("file already closed");
  const char* from = static_cast<const char*>(bytes);
  if (Buffer.size() + count > BufferSize) Flush();
  if (count >= BufferSize) {
    if (!WriteAll(Fd, from, count)) Fail(errno);
  } else {
    if (Buffer.capacity() < BufferSize) Buffer.reserve(BufferSize);
    Buffer.append(from, count);
  }
  Pos += count;
  End = std::max(End, Pos);
}

void TWriteFile::Seek(uint64_t position) {
  Flush();
  if (!SeekTo(Fd, position)) Fail(errno);
  Pos = position;
}

void TWriteFile::Close(bool sync) {
  if (Fd < 0) return;
  Flush();
  if (sync && SyncFile(Fd) != 0) Fail(errno);
  int fd = Fd;
  Fd = -1;
  if (CloseFile(fd) != 0) Fail(errno);
}

void TWriteFile::Flush() {
  if (Buffer.empty()) return;
  if (!WriteAll(Fd, Buffer.data(), Buffer.size())) Fail(errno);
  Buffer.clear();
}

void TWriteFile::Fail(int error) {
  // A write that failed part-way leaves nothing to use: close now, remove with the object.
  if (Fd >= 0) CloseFile(Fd);
  Fd = -1;
  Buffer.clear();
  throw EWriteError("cannot write " + Target + ": " + std::strerror(error ? error : EIO));
}

}  // namespace vnt
