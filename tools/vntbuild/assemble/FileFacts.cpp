#include "vntbuild/assemble/FileFacts.h"

#include <chrono>
#include <cstring>
#include <ctime>

#include "vntbuild/assemble/InputFiles.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return tm;
}

}  // namespace

TSourceFile ReadSourceFile(const std::string& path) {
  std::string data = ReadInputFile(path, MaxCarriedFileSize);
  return TSourceFile{std::move(data), SourceDateOf(path)};
}

uint32_t SourceDateOf(const std::string& path) {
  std::error_code ec;
  fs::file_time_type time = fs::last_write_time(path, ec);
  if (ec) throw EBuildError("cannot read " + path + ": " + ec.message());
  return DosDateTimeOf(time);
}

uint32_t DosDateTimeOf(fs::file_time_type time) {
  auto sys = std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(time));
  std::tm t = LocalTime(std::chrono::system_clock::to_time_t(sys));
  if (t.tm_year < 80) return (0u << 9 | 1u << 5 | 1u) << 16;  // 1 January 1980, 00:00
  if (t.tm_year > 207) return uint32_t(127u << 9 | 12u << 5 | 31u) << 16 | (23u << 11 | 59u << 5 | 29u);
  uint32_t date = uint32_t((t.tm_year - 80) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
  uint32_t clock = uint32_t(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
  return date << 16 | clock;
}

fs::file_time_type FileTimeOfDos(uint32_t dosDateTime) {
  uint32_t date = dosDateTime >> 16, clock = dosDateTime & 0xFFFF;
  std::tm t{};
  t.tm_year = int(date >> 9) + 80;
  t.tm_mon = int((date >> 5) & 15) - 1;
  t.tm_mday = int(date & 31);
  t.tm_hour = int(clock >> 11);
  t.tm_min = int((clock >> 5) & 63);
  t.tm_sec = int(clock & 31) * 2;
  t.tm_isdst = -1;
  auto sys = std::chrono::system_clock::from_time_t(std::mktime(&t));
  return std::chrono::time_point_cast<fs::file_time_type::duration>(std::chrono::file_clock::from_sys(sys));
}

}  // namespace vnt
