#include "package/PackageStream.h"

#include <algorithm>
#include <cstring>

namespace vnt {

void TStream::ReadExact(void* buffer, size_t count) {
  if (Read(buffer, count) != count) throw EPackageError("unexpected end of data");
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
  if (Pos >= Data.size()) return 0;
  size_t n = static_cast<size_t>(std::min<uint64_t>(count, Data.size() - Pos));
  std::memcpy(buffer, Data.data() + Pos, n);
  Pos += n;
  return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
  if (Pos > Data.size()) Data.resize(static_cast<size_t>(Pos));
  size_t at = static_cast<size_t>(Pos);
  if (at + count > Data.size()) Data.resize(at + count);
  std::memcpy(Data.data() + at, buffer, count);
  Pos += count;
}

size_t TStreamWindow::Read(void* buffer, size_t count) {
  uint64_t pos = Inner->Position();
  if (pos >= Limit) return 0;
  size_t n = static_cast<size_t>(std::min<uint64_t>(count, Limit - pos));
  return Inner->Read(buffer, n);
}

}  // namespace vnt
