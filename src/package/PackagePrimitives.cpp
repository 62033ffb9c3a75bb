#include "package/PackagePrimitives.h"

#include <cstring>

namespace vnt {

std::string FixedField(const std::string& text) {
  std::string field = text.substr(0, FixedFieldLength);
  size_t zero = field.find('\0');
  if (zero != std::string::npos) field.resize(zero);
  return field;
}

namespace {

template <typename T>
T ReadLittle(TStream& s) {
  uint8_t b[sizeof(T)];
  s.ReadExact(b, sizeof b);
  uint64_t v = 0;
  for (size_t i = 0; i < sizeof(T); ++i) v |= uint64_t(b[i]) << (8 * i);
  return static_cast<T>(v);
}

template <typename T>
void WriteLittle(TStream& s, T value) {
  uint64_t v = static_cast<uint64_t>(value);
  uint8_t b[sizeof(T)];
  for (size_t i = 0; i < sizeof(T); ++i) b[i] = uint8_t(v >> (8 * i));
  s.Write(b, sizeof b);
}

}  // namespace

uint8_t ReadByte(TStream& s) { return ReadLittle<uint8_t>(s); }
uint16_t ReadU16(TStream& s) { return ReadLittle<uint16_t>(s); }
int32_t ReadI32(TStream& s) { return static_cast<int32_t>(ReadLittle<uint32_t>(s)); }
uint32_t ReadU32(TStream& s) { return ReadLittle<uint32_t>(s); }

double ReadDouble(TStream& s) {
  uint64_t bits = ReadLittle<uint64_t>(s);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

std::string ReadPackageString(TStream& s) {
  std::string text;
  char c;
  for (;;) {
    if (s.Read(&c, 1) != 1) throw EPackageError("text without terminator");
    if (c == '\0') return text;
    text.push_back(c);
  }
}

TFontRecord ReadFontRecord(TStream& s) {
  TFontRecord f;
  f.Name = FixedField(ReadPackageString(s));
  f.Size = ReadI32(s);
  f.Color = ReadI32(s);
  f.Style = ReadByte(s);
  f.Charset = ReadByte(s);
  return f;
}

TVersionLimit ReadVersionLimit(TStream& s, bool withServicePack) {
  TVersionLimit v;
  v.Version = ReadU32(s);
  if (withServicePack) v.ServicePack = ReadU16(s);
  return v;
}

uint32_t ReadCount(TStream& s, uint32_t minItemBytes) {
  uint32_t count = ReadU32(s);
  if (minItemBytes > 0 && uint64_t(count) * minItemBytes > s.Remaining())
    throw EPackageError("list count larger than its data");
  return count;
}

void WriteByte(TStream& s, uint8_t v) { WriteLittle(s, v); }
void WriteU16(TStream& s, uint16_t v) { WriteLittle(s, v); }
void WriteI32(TStream& s, int32_t v) { WriteLittle(s, static_cast<uint32_t>(v)); }
void WriteU32(TStream& s, uint32_t v) { WriteLittle(s, v); }

void WriteDouble(TStream& s, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  WriteLittle(s, bits);
}

void WritePackageString(TStream& s, const std::string& text) {
  // A text cannot hold a zero byte: whatever follows one would become the next field.
  size_t n = text.find('\0');
  if (n == std::string::npos) n = text.size();
  s.Write(text.data(), n);
  WriteByte(s, 0);
}

void WriteFontRecord(TStream& s, const TFontRecord& f) {
  WritePackageString(s, FixedField(f.Name));
  WriteI32(s, f.Size);
  WriteI32(s, f.Color);
  WriteByte(s, f.Style);
  WriteByte(s, f.Charset);
}

void WriteVersionLimit(TStream& s, const TVersionLimit& v, bool withServicePack) {
  WriteU32(s, v.Version);
  if (withServicePack) WriteU16(s, v.ServicePack);
}

uint16_t ReadReserved16(TStream& s, TFieldWidth width) {
  return width == TFieldWidth::Wide ? ReadU16(s) : ReadByte(s);
}

void WriteReserved16(TStream& s, uint16_t v, TFieldWidth width) {
  if (width == TFieldWidth::Wide)
    WriteU16(s, v);
  else
    WriteByte(s, uint8_t(v));
}

}  // namespace vnt
