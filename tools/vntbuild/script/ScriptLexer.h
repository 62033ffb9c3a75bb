// Tokens of one line of script source, and the quoted form of texts that goes with them.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vnt {

enum class TTokenKind { Word, Directive, Number, Text, Comma };

struct TToken {
  TTokenKind Kind;
  std::string Text;  // a word, a directive without its "@", digits, or an unescaped text
};

// A mistake on one line; the compiler adds the file name and the line number.
class ELineError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Splits one source line (without its line end) into tokens; "#" and "//" outside texts start
// a comment. Raises ELineError for unterminated texts, bad escapes and stray characters.
std::vector<TToken> TokenizeLine(const std::string& line);

// The text in double quotes with the escapes TokenizeLine reads back to the same bytes.
std::string QuoteScriptText(const std::string& text);

}  // namespace vnt
