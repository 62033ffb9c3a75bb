#include "vntbuild/project/CodePage.h"

#include <array>
#include <cstdio>
#include <utility>

#include "vntbuild/project/CodePageTables.h"

namespace vnt {

namespace {

const TCodePageTable* Table(int codePage) {
  for (const auto& t : CodePageTables())
    if (t.Number == codePage) return &t;
  return nullptr;
}

uint32_t Unicode(const TCodePageTable& t, unsigned char b) {
  if (b < 0x80) return b;
  if (uint16_t code = t.High[b - 0x80]) return code;
  return b < 0xA0 ? b : 0xF700 + b;
}

std::optional<unsigned char> Byte(const TCodePageTable& t, uint32_t code) {
  if (code < 0x80) return (unsigned char)code;
  for (unsigned b = 0x80; b <= 0xFF; ++b)
    if (Unicode(t, (unsigned char)b) == code) return (unsigned char)b;
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

// The next code point of a UTF-8 text; none when the bytes there are not UTF-8 (overlong
// forms and surrogates included, which would let one character pass as another).
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
  static const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
  if (c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  i += extra + 1;
  return c;
}

std::string Hex(const char* format, unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

bool IsKnownCodePage(int codePage) { return Table(codePage) != nullptr; }

std::string KnownCodePages() {
  std::string list;
  for (const auto& t : CodePageTables())
    list += (list.empty() ? "" : ", ") + std::to_string(t.Number) + " (" + t.Name + ")";
  return list;
}

std::string CodePageToUtf8(const std::string& bytes, int codePage) {
  const TCodePageTable& t = *Table(IsKnownCodePage(codePage) ? codePage : DefaultCodePage);
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) PutUtf8(out, Unicode(t, b));
  return out;
}

std::optional<std::string> Utf8ToCodePage(const std::string& utf8, std::string& what, int codePage) {
  const TCodePageTable& t = *Table(IsKnownCodePage(codePage) ? codePage : DefaultCodePage);
  std::string out;
  out.reserve(utf8.size());
  size_t column = 1;
  for (size_t i = 0; i < utf8.size(); ++column) {
    size_t at = i;
    auto code = NextCode(utf8, i);
    if (!code) {
      what = "the byte " + Hex("0x%02X", (unsigned char)utf8[at]) + " at column " + std::to_string(column) +
             " is not valid UTF-8";
      return std::nullopt;
    }
    auto byte = Byte(t, *code);
    if (!byte) {
      what = "the character " + Hex("U+%04X", *code) + " has no place in code page " + std::to_string(t.Number);
      return std::nullopt;
    }
    out += char(*byte);
  }
  return out;
}

int CodePageOfLanguage(uint32_t languageId) {
  const uint32_t primary = languageId & 0x3FF, sub = (languageId >> 10) & 0x3F;
  if (primary == 0x1A) return sub == 3 || sub >= 7 ? 1251 : 1250;  // Serbian and Bosnian in Cyrillic
  static const std::pair<int, std::array<uint8_t, 8>> byCodePage[] = {
      {1250, {0x05, 0x0E, 0x15, 0x18, 0x1B, 0x1C, 0x24}},  // Czech, Hungarian, Polish, Romanian, Slovak, ...
      {1251, {0x02, 0x19, 0x22, 0x23, 0x2F, 0x3F, 0x40, 0x44}},  // Bulgarian, Russian, Ukrainian, ...
      {1253, {0x08}},
      {1254, {0x1F}},
      {1255, {0x0D}},
      {1256, {0x01, 0x20, 0x29}},  // Arabic, Urdu, Farsi
      {1257, {0x25, 0x26, 0x27}},  // Estonian, Latvian, Lithuanian
      {1258, {0x2A}},
  };
  for (const auto& [codePage, languages] : byCodePage)
    for (uint8_t language : languages)
      if (language != 0 && language == primary) return codePage;
  return DefaultCodePage;
}

std::string WithoutByteOrderMark(const std::string& text) {
  return text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
}

}  // namespace vnt
