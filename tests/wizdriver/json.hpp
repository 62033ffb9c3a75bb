// One JSON object per output line. Strings come in as ANSI (the process code page) and go out as
// pure ASCII JSON: anything outside printable ASCII is written as \uXXXX of its Unicode value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace wzd {

std::string json_string(std::string_view ansi);
std::string json_string_array(const std::vector<std::string>& ansi_items);
std::string json_int_array(const std::vector<long long>& values);

// Writes one line to stdout and flushes it.
void print_line(const std::string& line);

class JsonLine {
 public:
  JsonLine& str(std::string_view key, std::string_view ansi_value);
  JsonLine& num(std::string_view key, long long value);
  JsonLine& boolean(std::string_view key, bool value);
  JsonLine& raw(std::string_view key, std::string_view encoded_value);
  std::string text() const { return "{" + body_ + "}"; }
  void print() const;  // to stdout, newline, flushed so scripts see it at once

 private:
  std::string body_;
};

}  // namespace wzd
