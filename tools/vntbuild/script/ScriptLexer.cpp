#include "vntbuild/script/ScriptLexer.h"

#include <cctype>

namespace vnt {

namespace {

bool IsWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Printable(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 0x21 && b < 0x7F) return std::string("'") + c + "'";
  static const char digits[] = "0123456789ABCDEF";
  return std::string("byte 0x") + digits[b >> 4] + digits[b & 15];
}

// Reads the escape after a backslash at line[pos]; pos ends after it.
char ReadEscape(const std::string& line, size_t& pos) {
  if (pos >= line.size()) throw ELineError("text not closed with '\"' before the end of the line");
  char c = line[pos++];
  switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'x': {
      int hi = pos < line.size() ? HexValue(line[pos]) : -1;
      int lo = pos + 1 < line.size() ? HexValue(line[pos + 1]) : -1;
      if (hi < 0 || lo < 0) throw ELineError("\\x in a text needs two hexadecimal digits");
      pos += 2;
      if (hi == 0 && lo == 0) throw ELineError("a text cannot hold a zero byte (\\x00): the setup ends texts there");
      return char(hi * 16 + lo);
    }
    default:
      throw ELineError("unknown escape \\" + std::string(1, c) + " in a text; write \\\\ for a backslash");
  }
}

// Reads a text whose opening quote is at line[pos]; pos ends after the closing quote.
std::string ReadText(const std::string& line, size_t& pos) {
  std::string text;
  ++pos;
  while (true) {
    if (pos >= line.size()) throw ELineError("text not closed with '\"' before the end of the line");
    char c = line[pos++];
    if (c == '"') return text;
    if (c == '\\') {
      text += ReadEscape(line, pos);
    } else if (c == '\0') {
      throw ELineError("a text cannot hold a zero byte: the setup ends texts there");
    } else {
      text += c;
    }
  }
}

std::string ReadWhile(const std::string& line, size_t& pos, bool (*accept)(char)) {
  size_t start = pos;
  while (pos < line.size() && accept(line[pos])) ++pos;
  return line.substr(start, pos - start);
}

}  // namespace

std::vector<TToken> TokenizeLine(const std::string& line) {
  std::vector<TToken> tokens;
  size_t pos = 0;
  while (pos < line.size()) {
    char c = line[pos];
    if (c == ' ' || c == '\t') {
      ++pos;
    } else if (c == '#' || (c == '/' && pos + 1 < line.size() && line[pos + 1] == '/')) {
      break;
    } else if (c == '"') {
      tokens.push_back({TTokenKind::Text, ReadText(line, pos)});
    } else if (c == ',') {
      tokens.push_back({TTokenKind::Comma, ","});
      ++pos;
    } else if (c == '@') {
      ++pos;
      std::string word = ReadWhile(line, pos, IsWordChar);
      if (word.empty()) throw ELineError("expected a directive name after '@'");
      tokens.push_back({TTokenKind::Directive, word});
    } else if (IsDigit(c)) {
      tokens.push_back({TTokenKind::Number, ReadWhile(line, pos, IsDigit)});
    } else if (IsWordStart(c)) {
      tokens.push_back({TTokenKind::Word, ReadWhile(line, pos, IsWordChar)});
    } else {
      throw ELineError("unexpected " + Printable(c));
    }
  }
  return tokens;
}

std::string QuoteScriptText(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        // Bytes from 0x80 up stay as they are: texts are in the system's 8-bit code page.
        if (b < 0x20 || b == 0x7F) {
          out += "\\x";
          out += digits[b >> 4];
          out += digits[b & 15];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace vnt
