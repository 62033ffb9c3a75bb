#include "vntbuild/assemble/StdFileStream.h"

#include <sstream>
#include <stdexcept>

namespace vnt {

std::unique_ptr<TStdFileStream> TStdFileStream::OpenRead(const std::string& path) {
  auto s = std::make_unique<TStdFileStream>();
  s->In.open(path, std::ios::binary);
  if (!s->In) return nullptr;
  s->In.seekg(0, std::ios::end);
  s->FileSize = uint64_t(s->In.tellg());
  return s;
}

size_t TStdFileStream::Read(void* buffer, size_t count) {
  if (Pos >= FileSize) return 0;
  In.clear();
  In.seekg(std::streamoff(Pos));
  In.read(static_cast<char*>(buffer), std::streamsize(count));
  size_t n = size_t(In.gcount());
  Pos += n;
  return n;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace vnt
