#include "json.hpp"

#include <windows.h>

#include <cstdio>

namespace wzd {
namespace {

std::wstring to_wide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  if (n <= 0) {  // conversion refused: fall back to reading the bytes as Latin-1
    for (unsigned char c : ansi) wide.push_back(c);
  }
  return wide;
}

void append_unit(std::string& out, wchar_t c) {
  switch (c) {
    case L'"': out += "\\\""; return;
    case L'\\': out += "\\\\"; return;
    case L'\b': out += "\\b"; return;
    case L'\f': out += "\\f"; return;
    case L'\n': out += "\\n"; return;
    case L'\r': out += "\\r"; return;
    case L'\t': out += "\\t"; return;
    default: break;
  }
  if (c >= 0x20 && c < 0x7F) {
    out.push_back(static_cast<char>(c));
    return;
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c) & 0xFFFFu);
  out += buf;
}

}  // namespace

std::string json_string(std::string_view ansi) {
  std::string out = "\"";
  for (wchar_t c : to_wide(ansi)) append_unit(out, c);  // UTF-16 units, so surrogates come out paired
  out += '"';
  return out;
}

std::string json_string_array(const std::vector<std::string>& ansi_items) {
  std::string out = "[";
  for (size_t i = 0; i < ansi_items.size(); ++i) out += (i ? "," : "") + json_string(ansi_items[i]);
  return out + "]";
}

std::string json_int_array(const std::vector<long long>& values) {
  std::string out = "[";
  for (size_t i = 0; i < values.size(); ++i) out += (i ? "," : "") + std::to_string(values[i]);
  return out + "]";
}

JsonLine& JsonLine::raw(std::string_view key, std::string_view encoded_value) {
  if (!body_.empty()) body_ += ',';
  body_ += json_string(key);
  body_ += ':';
  body_ += encoded_value;
  return *this;
}

JsonLine& JsonLine::str(std::string_view key, std::string_view ansi_value) {
  return raw(key, json_string(ansi_value));
}

JsonLine& JsonLine::num(std::string_view key, long long value) { return raw(key, std::to_string(value)); }

JsonLine& JsonLine::boolean(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }

void print_line(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void JsonLine::print() const { print_line(text()); }

}  // namespace wzd
