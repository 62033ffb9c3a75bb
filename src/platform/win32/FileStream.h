// A read-only, buffered stream over a file opened with other writers excluded: the program's
// own file, read as the Setup Package for the whole run.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "package/PackageStream.h"

namespace vnt {

class TFileStream : public TStream {
public:
  // Empty when the file cannot be opened.
  static std::unique_ptr<TFileStream> OpenRead(const std::string& path);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  size_t Read(void* buffer, size_t count) override;
  void Write(const void*, size_t) override { throw EPackageError("file opened for reading"); }
  void Seek(uint64_t position) override { Pos = position; }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return FileSize; }

private:
  TFileStream(void* handle, uint64_t size) : Handle(handle), FileSize(size) {}
  bool Fill();

  void* Handle;
  uint64_t FileSize;
  uint64_t Pos = 0;
  std::vector<char> Buffer;
  uint64_t BufferStart = 0;  // file position of Buffer[0]
  size_t BlockSize = 0;      // bytes the last fill asked for
  uint64_t FilePointer = 0;  // the system's position in the file
};

// The package-end value of the running program's resource; 0 when there is none.
uint32_t PackageEndResourceValue();
// Full path of the running program.
std::string ProgramPath();

// The whole file; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace vnt
