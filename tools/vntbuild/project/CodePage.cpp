#include "vntbuild/project/CodePage.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace vnt {

namespace {

// Unicode of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr std::array<uint16_t, 32> High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t Unicode(unsigned char b) { return b >= 0x80 && b < 0xA0 ? High[b - 0x80] : b; }

std::optional<unsigned char> Byte(uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return (unsigned char)code;
  for (size_t i = 0; i < High.size(); ++i)
    if (High[i] == code) return (unsigned char)(0x80 + i);
  return std::nullopt;
}

void PutUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The next code point of a UTF-8 text; none when the bytes there are not UTF-8.
std::optional<uint32_t> NextCode(const std::string& s, size_t& i) {
  unsigned char b = s[i];
  int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + extra >= s.size() + (extra ? 0 : 1)) return std::nullopt;
  uint32_t c = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char t = s[i + k];
    if ((t & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (t & 0x3F);
  }
  i += extra + 1;
  return c;
}

}  // namespace

std::string CodePageToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) PutUtf8(out, Unicode(b));
  return out;
}

std::optional<std::string> Utf8ToCodePage(const std::string& utf8, std::string& what) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    auto code = NextCode(utf8, i);
    if (!code) {
      what = "the text is not valid UTF-8";
      return std::nullopt;
    }
    auto byte = Byte(*code);
    if (!byte) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", unsigned(*code));
      what = std::string("the character ") + name + " has no place in code page 1252";
      return std::nullopt;
    }
    out += char(*byte);
  }
  return out;
}

}  // namespace vnt
