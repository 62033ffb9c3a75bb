#include "vntbuild/assemble/OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "vntbuild/assemble/FileFacts.h"

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vnt {

namespace fs = std::filesystem;

namespace {

std::string RandomSuffix() {
  static std::random_device random;
  char text[20];
  std::snprintf(text, sizeof text, "%08x%08x", unsigned(random()), unsigned(random()));
  return text;
}

#ifdef _WIN32
int CreateNew(const std::string& path) { return _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE); }
long WriteSome(int fd, const char* bytes, size_t count) { return _write(fd, bytes, unsigned(std::min<size_t>(count, 1u << 30))); }
int Flush(int fd) { return _commit(fd); }
int CloseFile(int fd) { return _close(fd); }
bool MakeFolder(const std::string& path) { return _mkdir(path.c_str()) == 0; }
#else
int CreateNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
long WriteSome(int fd, const char* bytes, size_t count) { return long(::write(fd, bytes, std::min<size_t>(count, 1u << 30))); }
int Flush(int fd) { return ::fsync(fd); }
int CloseFile(int fd) { return ::close(fd); }
bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0; }
#endif

// All of bytes, flushed to the disk, so that a full disk shows here and not after the rename.
bool WriteAll(int fd, const std::string& bytes) {
  for (size_t at = 0; at < bytes.size();) {
    long n = WriteSome(fd, bytes.data() + at, bytes.size() - at);
    if (n <= 0) return false;
    at += size_t(n);
  }
  return Flush(fd) == 0;
}

}  // namespace

TOutputFiles::~TOutputFiles() {
  for (const auto& [temporary, place] : Pending) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
  }
}

std::string TOutputFiles::Write(const std::string& path, const std::string& bytes) {
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temporary = path + ".vnt" + RandomSuffix();
    fd = CreateNew(temporary);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw EWriteError("cannot write " + path + ": " + std::strerror(errno));
  bool written = WriteAll(fd, bytes);
  int error = errno;
  if (CloseFile(fd) != 0 && written) written = false, error = errno;
  if (!written) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw EWriteError("cannot write " + path + ": " + std::strerror(error));
  }
  Pending.emplace_back(temporary, path);
  return temporary;
}

void TOutputFiles::Place() {
  while (!Pending.empty()) {
    const auto& [temporary, place] = Pending.front();
    std::error_code ec;
    fs::rename(temporary, place, ec);
    if (ec) throw EWriteError("cannot put " + place + " in place: " + ec.message());
    Pending.erase(Pending.begin());
  }
}

TPrivateFolder::TPrivateFolder(const std::string& prefix) {
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / (prefix + RandomSuffix());
    if (MakeFolder(candidate.string())) {
      Folder = candidate;
      return;
    }
    if (errno != EEXIST) break;
  }
  throw EWriteError("cannot make a folder in " + base.string() + ": " + std::strerror(errno));
}

TPrivateFolder::~TPrivateFolder() {
  std::error_code ignored;
  fs::remove_all(Folder, ignored);
}

}  // namespace vnt
