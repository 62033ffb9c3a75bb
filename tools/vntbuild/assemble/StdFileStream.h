// A portable file stream for the builder, which runs on Linux and on Windows.
#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

class TStdFileStream : public TStream {
public:
  static std::unique_ptr<TStdFileStream> OpenRead(const std::string& path);

  size_t Read(void* buffer, size_t count) override;
  void Write(const void*, size_t) override { throw EPackageError("file opened for reading"); }
  void Seek(uint64_t position) override { Pos = position; }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return FileSize; }

private:
  std::ifstream In;
  uint64_t FileSize = 0;
  uint64_t Pos = 0;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace vnt
