#include "vntbuild/assemble/FileFacts.h"

#include <chrono>
#include <cstring>
#include <ctime>

#include "package/PeResource.h"
#include "vntbuild/assemble/InputFiles.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

constexpr uint16_t VersionResourceType = 16;
constexpr uint16_t VersionResourceName = 1;
constexpr uint32_t FixedInfoSignature = 0xFEEF04BDu;

std::tm LocalTime(std::time_t t) {
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return tm;
}

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

}  // namespace

TSourceFile ReadSourceFile(const std::string& path) {
  std::string data = ReadInputFile(path, MaxCarriedFileSize);
  std::error_code ec;
  fs::file_time_type time = fs::last_write_time(path, ec);
  if (ec) throw EBuildError("cannot read " + path + ": " + ec.message());
  return TSourceFile{std::move(data), DosDateTimeOf(time)};
}

std::optional<TFileVersion> FileVersionOf(const std::string& image) {
  auto res = FindPeResource(image, VersionResourceType, VersionResourceName);
  if (!res) return std::nullopt;
  // VS_VERSIONINFO: three 16-bit fields, the key "VS_VERSION_INFO" in UTF-16 with its zero,
  // padding to 32 bits, then the fixed file information. Search for its signature on 32-bit
  // steps in case a writer padded differently.
  const size_t end = res->FileOffset + res->Size;
  for (size_t at = res->FileOffset + 4; at + 16 <= end; at += 4) {
    if (U32At(image, at) != FixedInfoSignature) continue;
    return TFileVersion{U32At(image, at + 8), U32At(image, at + 12)};
  }
  return std::nullopt;
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
