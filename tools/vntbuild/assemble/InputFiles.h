// The author's files as the builder reads them: regular files only (never a folder, a FIFO
// or a device, which could be read without end), each within the size its use can hold.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

// Project, message and script files: texts, far below anything a setup can carry.
constexpr uint64_t MaxTextFileSize = uint64_t(16) << 20;
// Files the setup carries and the stub: the package's sizes and positions are 32-bit.
constexpr uint64_t MaxCarriedFileSize = UINT32_MAX;

// Why path cannot be read as an input, naming it ("file not found: ...", "a FIFO, not a
// file: ..."); "" when it is a regular file of at most limit bytes. Links are followed.
std::string InputProblem(const std::filesystem::path& path, uint64_t limit);

// The whole file; EBuildError with the problem when it is none to read, or grows beyond
// limit while it is read.
std::string ReadInputFile(const std::filesystem::path& path, uint64_t limit);

// An input file read piece by piece, so that none is held whole: its size is taken as it
// opens, and reads fill the buffer up to that size. EBuildError naming the file when it is
// none to read, cannot be read, or turns out shorter or longer than it was (it changed while
// it was read).
class TInputStream : public TStream {
public:
  TInputStream(const std::filesystem::path& path, uint64_t limit);

  size_t Read(void* buffer, size_t count) override;
  void Write(const void*, size_t) override { throw EPackageError("file opened for reading"); }
  void Seek(uint64_t position) override { Pos = position; }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return FileSize; }

private:
  [[noreturn]] void Changed() const;

  std::ifstream In;
  std::string Name;
  uint64_t FileSize = 0, Pos = 0;
  uint64_t InAt = 0;  // where the file stream stands, so that reading on needs no seek
};

}  // namespace vnt
