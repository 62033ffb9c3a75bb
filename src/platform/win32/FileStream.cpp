#include "platform/win32/FileStream.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "package/SetupFuncs.h"

namespace vnt {

namespace {
// A jump starts with a small block: the description is read in short jumps. Reading straight
// on doubles the block up to the largest, as an archive is read from start to end.
constexpr size_t FirstBlockSize = 64 * 1024;
constexpr size_t LargestBlockSize = 1024 * 1024;
}

std::unique_ptr<TFileStream> TFileStream::OpenRead(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size)) {
    CloseHandle(h);
    return nullptr;
  }
  return std::unique_ptr<TFileStream>(new TFileStream(h, uint64_t(size.QuadPart)));
}

TFileStream::~TFileStream() { CloseHandle(Handle); }

bool TFileStream::Fill() {
  bool straightOn = !Buffer.empty() && Pos == BufferStart + Buffer.size();
  BlockSize = straightOn ? std::min(BlockSize * 2, LargestBlockSize) : FirstBlockSize;
  Buffer.resize(BlockSize);
  LARGE_INTEGER to;
  to.QuadPart = LONGLONG(Pos);
  DWORD got = 0;
  // The system's file position is where the last read ended: no need to move it there.
  if ((Pos != FilePointer && !SetFilePointerEx(Handle, to, nullptr, FILE_BEGIN)) ||
      !ReadFile(Handle, Buffer.data(), DWORD(BlockSize), &got, nullptr)) {
    Buffer.clear();
    FilePointer = UINT64_MAX;
    return false;
  }
  Buffer.resize(got);
  BufferStart = Pos;
  FilePointer = Pos + got;
  return got > 0;
}

size_t TFileStream::Read(void* buffer, size_t count) {
  char* out = static_cast<char*>(buffer);
  size_t done = 0;
  while (done < count) {
    if (Pos < BufferStart || Pos >= BufferStart + Buffer.size()) {
      if (Pos >= FileSize || !Fill()) break;
    }
    size_t at = size_t(Pos - BufferStart);
    size_t n = std::min(count - done, Buffer.size() - at);
    std::memcpy(out + done, Buffer.data() + at, n);
    done += n;
    Pos += n;
  }
  return done;
}

uint32_t PackageEndResourceValue() {
  HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(PackageEndResourceName),
                            MAKEINTRESOURCEA(PackageEndResourceType));
  if (!res || SizeofResource(nullptr, res) < 4) return 0;
  HGLOBAL data = LoadResource(nullptr, res);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return 0;
  uint32_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::unique_ptr<TFileStream> file = TFileStream::OpenRead(path);
  if (!file) return std::nullopt;
  std::string bytes(size_t(file->Size()), '\0');
  if (file->Read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
  return bytes;
}

}  // namespace vnt
