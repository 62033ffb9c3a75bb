#include "script/win32/ScriptFile.h"

#include <algorithm>

#include "script/DesktopRules.h"

namespace vnt {

namespace {

// Lines are read in blocks; what the line did not take is given back by a seek.
constexpr uint32_t LineBlock = 512;
// A single read never asks for more than this, so a huge count cannot exhaust memory at once.
constexpr uint32_t ReadBlock = 1 << 20;

}  // namespace

bool TScriptFile::Open(const std::string& path) {
  Close();
  Handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return IsOpen();
}

void TScriptFile::Close() {
  if (IsOpen()) CloseHandle(Handle);
  Handle = INVALID_HANDLE_VALUE;
}

uint64_t TScriptFile::Position() const {
  LONG high = 0;
  SetLastError(NO_ERROR);
  DWORD low = SetFilePointer(Handle, 0, &high, FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return 0;
  return (uint64_t(uint32_t(high)) << 32) | low;
}

uint64_t TScriptFile::Size() const {
  DWORD high = 0;
  SetLastError(NO_ERROR);
  DWORD low = GetFileSize(Handle, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
  return (uint64_t(high) << 32) | low;
}

void TScriptFile::SeekTo(uint64_t position) {
  LONG high = LONG(position >> 32);
  SetFilePointer(Handle, LONG(uint32_t(position)), &high, FILE_BEGIN);
}

std::string TScriptFile::ReadRaw(uint32_t count) {
  std::string bytes(count, '\0');
  DWORD got = 0;
  if (!ReadFile(Handle, bytes.data(), count, &got, nullptr)) got = 0;
  bytes.resize(got);
  return bytes;
}

std::optional<int32_t> TScriptFile::ReadSignature() {
  std::string bytes = ReadRaw(4);
  if (bytes.size() < 4) return std::nullopt;
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | uint8_t(bytes[i]);
  return int32_t(value);
}

void TScriptFile::Append(const std::string& bytes) {
  LONG high = 0;
  SetFilePointer(Handle, 0, &high, FILE_END);
  DWORD written = 0;
  if (!bytes.empty()) WriteFile(Handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

bool TScriptFile::AtEnd() const { return Position() >= Size(); }

std::string TScriptFile::Read(int32_t count) {
  uint64_t wanted = BytesToRead(count, Position(), Size());
  std::string text;
  while (wanted > 0) {
    std::string block = ReadRaw(uint32_t(std::min<uint64_t>(wanted, ReadBlock)));
    if (block.empty()) break;
    wanted -= block.size();
    text += block;
  }
  return text;
}

std::string TScriptFile::ReadLine() {
  const uint64_t start = Position();
  TScriptLine line = ReadScriptLineFromBlocks([this] { return ReadRaw(LineBlock); });
  SeekTo(start + line.Consumed);
  return line.Text;
}

}  // namespace vnt
