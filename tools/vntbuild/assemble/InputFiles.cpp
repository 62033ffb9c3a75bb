#include "vntbuild/assemble/InputFiles.h"

#include <algorithm>
#include <fstream>

#include "vntbuild/assemble/FileFacts.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

std::string KindOf(fs::file_type type) {
  switch (type) {
    case fs::file_type::directory: return "a folder";
    case fs::file_type::fifo: return "a FIFO (named pipe)";
    case fs::file_type::character:
    case fs::file_type::block: return "a device";
    case fs::file_type::socket: return "a socket";
    default: return "a special file";
  }
}

std::string Bytes(uint64_t n) { return std::to_string(n) + " bytes"; }

}  // namespace

std::string InputProblem(const fs::path& path, uint64_t limit) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (ec == std::errc::too_many_symbolic_link_levels) return "symbolic links loop: " + path.string();
  if (status.type() == fs::file_type::not_found) {
    bool link = fs::is_symlink(fs::symlink_status(path, ec));
    return (link ? "symbolic link to nothing: " : "file not found: ") + path.string();
  }
  if (ec) return "cannot read " + path.string() + ": " + ec.message();
  if (status.type() != fs::file_type::regular) return KindOf(status.type()) + ", not a file: " + path.string();
  uintmax_t size = fs::file_size(path, ec);
  if (ec) return "cannot read " + path.string() + ": " + ec.message();
  if (size > limit) return "larger than " + Bytes(limit) + ", the most it may hold: " + path.string();
  return "";
}

std::string ReadInputFile(const fs::path& path, uint64_t limit) {
  if (std::string problem = InputProblem(path, limit); !problem.empty()) throw EBuildError(problem);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EBuildError("cannot read " + path.string());
  // Read in pieces up to the limit, in case the file grows while it is read.
  std::string bytes;
  std::error_code ec;
  bytes.reserve(size_t(fs::file_size(path, ec)));
  std::string piece(size_t(1) << 16, '\0');
  while (in.read(piece.data(), std::streamsize(piece.size())) || in.gcount() > 0) {
    bytes.append(piece.data(), size_t(in.gcount()));
    if (bytes.size() > limit) throw EBuildError("larger than " + Bytes(limit) + ", the most it may hold: " + path.string());
  }
  if (in.bad()) throw EBuildError("cannot read " + path.string());
  return bytes;
}

TInputStream::TInputStream(const fs::path& path, uint64_t limit) : Name(path.string()) {
  if (std::string problem = InputProblem(path, limit); !problem.empty()) throw EBuildError(problem);
  In.open(path, std::ios::binary);
  std::error_code ec;
  FileSize = fs::file_size(path, ec);
  if (!In || ec) throw EBuildError("cannot read " + Name);
}

size_t TInputStream::Read(void* buffer, size_t count) {
  if (Pos >= FileSize) {
    // The end as it was taken: a file that goes on has grown since.
    if (Pos == FileSize && InAt == FileSize && In.peek() != std::ifstream::traits_type::eof()) Changed();
    In.clear();
    return 0;
  }
  size_t wanted = size_t(std::min<uint64_t>(count, FileSize - Pos));
  if (InAt != Pos) {
    In.clear();
    In.seekg(std::streamoff(Pos));
  }
  In.read(static_cast<char*>(buffer), std::streamsize(wanted));
  size_t got = size_t(In.gcount());
  if (got < wanted) {
    if (In.bad()) throw EBuildError("cannot read " + Name);
    Changed();
  }
  Pos = InAt = Pos + got;
  return got;
}

void TInputStream::Changed() const {
  throw EBuildError("changed while it was read (it was " + Bytes(FileSize) + "): " + Name);
}

}  // namespace vnt
