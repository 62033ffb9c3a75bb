// The setup log's form: time-stamped lines, and the file name a log gets when none is given.
#pragma once

#include <cstdint>
#include <string>

namespace vnt {

struct TLogTime {
  uint16_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Milliseconds = 0;
};

// One entry as it stands in the file: "2026-12-08 11:02:03.045  text", CR LF after each line.
// Further lines of a text are indented under the first, so that every line of the file
// starts with a time or with blanks.
std::string LogEntryText(const TLogTime& time, const std::string& text);

// "<product> <program> Log 2026-12-08 11.02.03.txt" (program: "Setup", "Uninstall");
// characters that a file name cannot hold become "_"; without a product, "<program> Log ...".
std::string DefaultLogFileName(const std::string& product, const std::string& program, const TLogTime& time);

}  // namespace vnt
