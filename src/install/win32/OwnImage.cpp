#include "install/win32/OwnImage.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "package/PeResource.h"
#include "platform/win32/FileStream.h"

namespace vnt {

namespace {

// Room for the headers and section table of any program the linker makes.
constexpr size_t HeaderBytes = 4096;
constexpr size_t BlockBytes = 1 << 16;

std::string ReadAt(TStream& in, uint64_t at, size_t count) {
  std::string bytes(count, '\0');
  in.Seek(at);
  if (in.Read(bytes.data(), count) != count) throw std::runtime_error("the setup program cannot be read back");
  return bytes;
}

}  // namespace

void WriteOwnImage(TStream& output) {
  std::unique_ptr<TFileStream> in = TFileStream::OpenRead(ProgramPath());
  if (!in) throw std::runtime_error("the setup program cannot be read back");
  std::string head = ReadAt(*in, 0, size_t(std::min<uint64_t>(HeaderBytes, in->Size())));
  std::optional<uint64_t> end = PeImageEnd(head);
  if (!end || *end > in->Size() || *end < head.size() || !ClearSigningFields(head))
    throw std::runtime_error("the setup program cannot be read back");
  output.Write(head.data(), head.size());
  for (uint64_t at = head.size(); at < *end; at += BlockBytes) {
    std::string block = ReadAt(*in, at, size_t(std::min<uint64_t>(BlockBytes, *end - at)));
    output.Write(block.data(), block.size());
  }
}

}  // namespace vnt
