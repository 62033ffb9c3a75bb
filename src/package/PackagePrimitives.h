// The value forms of the Setup Package: little-endian numbers, zero-terminated package
// strings, font records, version limits and counted lists.
#pragma once

#include <cstdint>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

// Texts that live in fixed 1000-character fields keep their first 1000 bytes.
constexpr size_t FixedFieldLength = 1000;
std::string FixedField(const std::string& text);

struct TFontRecord {
  std::string Name;  // fixed 1000-character field
  int32_t Size = 0;  // points
  int32_t Color = 0;
  uint8_t Style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  uint8_t Charset = 0;
  bool operator==(const TFontRecord&) const = default;
};

struct TVersionLimit {
  uint32_t Version = 0;      // major << 24 | minor << 16 | low 16 bits of the build
  uint16_t ServicePack = 0;  // major * 256 + minor; 0 in the short form
  bool operator==(const TVersionLimit&) const = default;
};

uint8_t ReadByte(TStream& s);
uint16_t ReadU16(TStream& s);
int32_t ReadI32(TStream& s);
uint32_t ReadU32(TStream& s);
double ReadDouble(TStream& s);
std::string ReadPackageString(TStream& s);
TFontRecord ReadFontRecord(TStream& s);
TVersionLimit ReadVersionLimit(TStream& s, bool withServicePack);
// A list count; refuses counts the rest of the data cannot hold at minItemBytes per item.
uint32_t ReadCount(TStream& s, uint32_t minItemBytes);

void WriteByte(TStream& s, uint8_t v);
void WriteU16(TStream& s, uint16_t v);
void WriteI32(TStream& s, int32_t v);
void WriteU32(TStream& s, uint32_t v);
void WriteDouble(TStream& s, double v);
void WritePackageString(TStream& s, const std::string& text);
void WriteFontRecord(TStream& s, const TFontRecord& font);
void WriteVersionLimit(TStream& s, const TVersionLimit& limit, bool withServicePack);

// The reserved 16-bit fields: 2 bytes in the package, 1 byte in older uninstall data.
enum class TFieldWidth { Wide, Narrow };
uint16_t ReadReserved16(TStream& s, TFieldWidth width);
void WriteReserved16(TStream& s, uint16_t v, TFieldWidth width);

}  // namespace vnt
