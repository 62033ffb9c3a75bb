// The one desktop text file that the script's file commands work on (`ScriptFile`). It stays
// open across statements and scripts until a close command or the end of the program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vnt {

class TScriptFile {
public:
  TScriptFile() = default;
  ~TScriptFile() { Close(); }
  TScriptFile(const TScriptFile&) = delete;
  TScriptFile& operator=(const TScriptFile&) = delete;

  // Opens the file for reading and writing, creating it empty when missing; the position is
  // at the start. False when it cannot be opened (then no file is open).
  bool Open(const std::string& path);
  bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }
  void Close();

  // The first four bytes read as a little-endian integer from the current position; none
  // when fewer could be read (the position moves past what was read).
  std::optional<int32_t> ReadSignature();
  // Appends at the end of the file; failures are not reported.
  void Append(const std::string& bytes);
  bool AtEnd() const;
  // Up to count bytes from the current position (a negative count reads nothing).
  std::string Read(int32_t count);
  // The next line by the script's line rule; only called before the end.
  std::string ReadLine();

private:
  uint64_t Position() const;
  uint64_t Size() const;
  void SeekTo(uint64_t position);
  // What ReadFile gave for up to count bytes.
  std::string ReadRaw(uint32_t count);

  HANDLE Handle = INVALID_HANDLE_VALUE;
};

}  // namespace vnt
