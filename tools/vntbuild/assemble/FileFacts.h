// What the package records of a file on the author's disk: its bytes, size, MS-DOS date and
// time, and the version of its version resource; and the reverse, a file dated from a record.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

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

struct TFileVersion {
  uint32_t High = 0, Low = 0;  // major << 16 | minor, build << 16 | private part
};

struct TSourceFile {
  std::string Data;
  uint32_t DosDateTime = 0;
};

// Reads the whole file with its modification time; a missing or unreadable file, anything but
// a regular file, or one that the format's 32-bit sizes cannot hold raises EBuildError naming it.
TSourceFile ReadSourceFile(const std::string& path);

// The fixed file version of a 32-bit program image's version resource; none for other files.
std::optional<TFileVersion> FileVersionOf(const std::string& image);

// Local time in MS-DOS packed form (date high, time low, two-second steps); times outside
// 1980 to 2107 are clamped to the nearest one the form holds.
uint32_t DosDateTimeOf(std::filesystem::file_time_type time);
std::filesystem::file_time_type FileTimeOfDos(uint32_t dosDateTime);

}  // namespace vnt
