// The version resource (VS_VERSIONINFO) of a built setup, and reading one back: the numbers
// Windows compares and the texts Explorer shows on the file's details.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vnt {

struct TVersionInfo {
  uint32_t VersionHigh = 0, VersionLow = 0;  // file and product version: major << 16 | minor, build << 16 | revision
  uint16_t Language = 0x0409;
  // UTF-8; a text left empty is left out.
  std::string ProductName, CompanyName, Description, FileVersion, ProductVersion, Copyright, OriginalFileName;
};

// VS_VERSIONINFO with the fixed numbers, one string table in UTF-16 for the language and its
// translation entry.
std::string VersionResourceData(const TVersionInfo& info);

struct TVersionStrings {
  uint32_t FileHigh = 0, FileLow = 0, ProductHigh = 0, ProductLow = 0;
  std::string Table;  // the string table's key, "040904B0"
  std::vector<std::pair<std::string, std::string>> Values;  // UTF-8 names and texts, in order
  std::vector<uint32_t> Translations;  // language | code page << 16
};

// The numbers and the first string table of a version resource; none when it is damaged.
std::optional<TVersionStrings> ReadVersionResource(const std::string& data);

std::u16string Utf8ToUtf16(const std::string& text);  // a byte that is not UTF-8 becomes U+FFFD
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace vnt
