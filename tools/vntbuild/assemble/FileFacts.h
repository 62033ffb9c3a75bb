// What the package records of a file on the author's disk: its bytes, size, MS-DOS date and
// time, and the version of its version resource; and the reverse, a file dated from a record.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "vntbuild/assemble/FileVersion.h"

namespace vnt {

// A build or extract that cannot go on; what() names the file or value at fault.
class EBuildError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// An output that cannot be written or put in place (a full disk, a folder not there, no
// right to write, a file in the way): the project itself is fine.
class EWriteError : public EBuildError {
public:
  using EBuildError::EBuildError;
};

struct TSourceFile {
  std::string Data;
  uint32_t DosDateTime = 0;
};

// Reads the whole file with its modification time; a missing or unreadable file, anything but
// a regular file, or one that the format's 32-bit sizes cannot hold raises EBuildError naming it.
TSourceFile ReadSourceFile(const std::string& path);
// The file's modification time in MS-DOS form; EBuildError naming the file when it has none.
uint32_t SourceDateOf(const std::string& path);

// Local time in MS-DOS packed form (date high, time low, two-second steps); times outside
// 1980 to 2107 are clamped to the nearest one the form holds.
uint32_t DosDateTimeOf(std::filesystem::file_time_type time);
std::filesystem::file_time_type FileTimeOfDos(uint32_t dosDateTime);

}  // namespace vnt
