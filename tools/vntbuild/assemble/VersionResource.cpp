#include "vntbuild/assemble/VersionResource.h"

#include <algorithm>
#include <cstdio>

#include "vntbuild/assemble/PeLayout.h"

namespace vnt {

namespace {

constexpr uint32_t FixedSignature = 0xFEEF04BDu, FixedStructVersion = 0x00010000u;
constexpr uint32_t FileFlagsMask = 0x3F, WindowsNt32 = 0x00040004u, Application = 1;
constexpr uint16_t UnicodeCodePage = 1200;
constexpr uint16_t Binary = 0, Text = 1;

void Pad4(std::string& s) { s.resize((s.size() + 3) & ~size_t(3), '\0'); }

void PutText(std::string& s, const std::u16string& text) {
  for (char16_t c : text) s += char(c & 0xFF), s += char(c >> 8);
  s += std::string(2, '\0');
}

// One node of the tree: length, value length, type, key, value, children, each on 32 bits.
struct TBlock {
  std::u16string Key;
  uint16_t Type = Text;
  std::string Value;
  uint16_t ValueLength = 0;  // bytes for binary values, UTF-16 units for texts
  std::vector<TBlock> Children;

  TBlock(std::u16string key, uint16_t type, std::string value = "", uint16_t valueLength = 0)
      : Key(std::move(key)), Type(type), Value(std::move(value)), ValueLength(valueLength) {}

  std::string Bytes() const {
    std::string out(6, '\0');
    PutText(out, Key);
    Pad4(out);
    out += Value;
    for (const auto& child : Children) {
      Pad4(out);
      out += child.Bytes();
    }
    PutU16(out, 0, uint16_t(out.size()));
    PutU16(out, 2, ValueLength);
    PutU16(out, 4, Type);
    return out;
  }
};

TBlock StringValue(const char16_t* name, const std::string& utf8) {
  TBlock b(name, Text);
  std::u16string text = Utf8ToUtf16(utf8);
  PutText(b.Value, text);
  b.ValueLength = uint16_t(text.size() + 1);
  return b;
}

std::string FixedInfo(const TVersionInfo& info) {
  const uint32_t fields[13] = {FixedSignature, FixedStructVersion, info.VersionHigh, info.VersionLow,
                               info.VersionHigh, info.VersionLow, FileFlagsMask, 0, WindowsNt32, Application, 0, 0, 0};
  std::string out(sizeof fields, '\0');
  for (size_t i = 0; i < 13; ++i) PutU32(out, i * 4, fields[i]);
  return out;
}

// Bounds-checked reading of the tree.
struct TBlockView {
  size_t Start = 0, End = 0, ValueAt = 0, ChildrenAt = 0;
  uint16_t ValueLength = 0, Type = 0;
  std::u16string Key;
};

std::optional<TBlockView> ViewAt(const std::string& d, size_t at, size_t limit) {
  if (at + 6 > limit) return std::nullopt;
  TBlockView v;
  v.Start = at;
  uint16_t length = GetU16(d, at);
  if (length < 6 || at + length > limit) return std::nullopt;
  v.End = at + length;
  v.ValueLength = GetU16(d, at + 2);
  v.Type = GetU16(d, at + 4);
  size_t i = at + 6;
  for (;; i += 2) {
    if (i + 2 > v.End) return std::nullopt;
    char16_t c = char16_t(GetU16(d, i));
    if (c == 0) break;
    v.Key += c;
  }
  v.ValueAt = (i + 2 + 3) & ~size_t(3);
  size_t valueBytes = v.Type == Text ? size_t(v.ValueLength) * 2 : v.ValueLength;
  v.ChildrenAt = std::min(v.End, (v.ValueAt + valueBytes + 3) & ~size_t(3));
  return v;
}

std::vector<TBlockView> Children(const std::string& d, const TBlockView& parent) {
  std::vector<TBlockView> out;
  for (size_t at = parent.ChildrenAt; at + 6 <= parent.End;) {
    auto child = ViewAt(d, at, parent.End);
    if (!child) break;
    out.push_back(*child);
    at = (child->End + 3) & ~size_t(3);
  }
  return out;
}

std::u16string TextAt(const std::string& d, const TBlockView& v) {
  std::u16string text;
  for (size_t i = v.ValueAt; i + 2 <= v.End; i += 2) {
    char16_t c = char16_t(GetU16(d, i));
    if (c == 0) break;
    text += c;
  }
  return text;
}

void ReadStrings(const std::string& d, const TBlockView& fileInfo, TVersionStrings& out) {
  auto tables = Children(d, fileInfo);
  if (tables.empty() || !out.Table.empty()) return;
  out.Table = Utf16ToUtf8(tables.front().Key);
  for (const auto& s : Children(d, tables.front())) out.Values.push_back({Utf16ToUtf8(s.Key), Utf16ToUtf8(TextAt(d, s))});
}

void ReadTranslations(const std::string& d, const TBlockView& varInfo, TVersionStrings& out) {
  for (const auto& var : Children(d, varInfo))
    if (var.Key == u"Translation")
      for (size_t i = var.ValueAt; i + 4 <= var.End && i + 4 <= var.ValueAt + var.ValueLength; i += 4)
        out.Translations.push_back(GetU32(d, i));
}

void PutUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6)), out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12)), out += char(0x80 | ((c >> 6) & 0x3F)), out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18)), out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F)), out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string VersionResourceData(const TVersionInfo& info) {
  char table[9];
  std::snprintf(table, sizeof table, "%04X%04X", unsigned(info.Language), unsigned(UnicodeCodePage));
  TBlock strings(Utf8ToUtf16(table), Text);
  const std::pair<const char16_t*, const std::string*> values[] = {
      {u"CompanyName", &info.CompanyName},         {u"FileDescription", &info.Description},
      {u"FileVersion", &info.FileVersion},         {u"LegalCopyright", &info.Copyright},
      {u"OriginalFilename", &info.OriginalFileName}, {u"ProductName", &info.ProductName},
      {u"ProductVersion", &info.ProductVersion}};
  for (const auto& [name, text] : values)
    if (!text->empty()) strings.Children.push_back(StringValue(name, *text));
  TBlock translation(u"Translation", Binary, std::string(4, '\0'), 4);
  PutU16(translation.Value, 0, info.Language);
  PutU16(translation.Value, 2, UnicodeCodePage);
  TBlock root(u"VS_VERSION_INFO", Binary, FixedInfo(info), 52);
  root.Children.push_back(TBlock(u"StringFileInfo", Text));
  root.Children.back().Children.push_back(strings);
  root.Children.push_back(TBlock(u"VarFileInfo", Text));
  root.Children.back().Children.push_back(translation);
  return root.Bytes();
}

std::optional<TVersionStrings> ReadVersionResource(const std::string& d) {
  auto root = ViewAt(d, 0, d.size());
  if (!root || root->Key != u"VS_VERSION_INFO" || root->ValueLength < 52 || root->ValueAt + 52 > root->End ||
      GetU32(d, root->ValueAt) != FixedSignature)
    return std::nullopt;
  TVersionStrings out;
  out.FileHigh = GetU32(d, root->ValueAt + 8), out.FileLow = GetU32(d, root->ValueAt + 12);
  out.ProductHigh = GetU32(d, root->ValueAt + 16), out.ProductLow = GetU32(d, root->ValueAt + 20);
  for (const auto& child : Children(d, *root)) {
    if (child.Key == u"StringFileInfo") ReadStrings(d, child, out);
    if (child.Key == u"VarFileInfo") ReadTranslations(d, child, out);
  }
  return out;
}

std::u16string Utf8ToUtf16(const std::string& s) {
  std::u16string out;
  for (size_t i = 0; i < s.size();) {
    unsigned char b = s[i];
    int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
    uint32_t c = extra <= 0 ? b : b & (0x3F >> extra);
    bool ok = extra >= 0 && i + extra < s.size() + (extra ? 0 : 1);
    for (int k = 1; ok && k <= extra; ++k) {
      ok = (uint8_t(s[i + k]) & 0xC0) == 0x80;
      c = (c << 6) | (uint8_t(s[i + k]) & 0x3F);
    }
    static const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (!ok || c < least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += size_t(extra) + 1;
    if (c < 0x10000) {
      out += char16_t(c);
    } else {
      out += char16_t(0xD800 + ((c - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;
    PutUtf8(out, c);
  }
  return out;
}

}  // namespace vnt
