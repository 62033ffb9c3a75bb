#include "vntbuild/assemble/SetupWriter.h"

#include <fstream>

#include "package/PackagePrimitives.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/SignalHold.h"

namespace vnt {

namespace {

constexpr size_t CopyBlock = size_t(1) << 20;

}  // namespace

void TSetupWriter::Put(std::string_view bytes) {
  Sum.Add(bytes.data(), bytes.size());
  To.Write(bytes.data(), bytes.size());
}

void TSetupWriter::Copy(const std::string& path, uint64_t length) {
  std::ifstream in(path, std::ios::binary);
  std::string block(CopyBlock, '\0');
  uint64_t copied = 0;
  while (in.read(block.data(), std::streamsize(block.size())) || in.gcount() > 0) {
    TSignalHold::ThrowIfRaised();
    Put(std::string_view(block.data(), size_t(in.gcount())));
    copied += uint64_t(in.gcount());
  }
  if (in.bad() || copied != length) throw EBuildError("cannot read back the temporary file " + path);
}

void TSetupWriter::Finish() {
  uint64_t end = To.Position();
  To.Seek(ChecksumAt);
  WriteU32(To, Sum.Value());
  To.Seek(end);
  To.Close(true);
}

}  // namespace vnt
