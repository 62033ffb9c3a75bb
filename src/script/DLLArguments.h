// The texts of a library call turned into what the call needs: the argument list of
// CallLibrary's argument text, and whether a library name carries a folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vnt {

enum class TDLLArgumentKind : uint8_t {
  Text = 1,    // a quoted text; the function gets the address of a NUL-terminated copy
  Number = 3,  // an unquoted token; the function gets the 32-bit number itself
};

struct TDLLArgument {
  TDLLArgumentKind Kind = TDLLArgumentKind::Number;
  std::string Text;    // Text arguments
  int32_t Number = 0;  // Number arguments
  bool operator==(const TDLLArgument&) const = default;
};

// Why an argument text was refused. Such a text is a script mistake whose meaning cannot be
// known, so the call is not made at all rather than made with guessed arguments.
enum class TDLLArgumentError {
  None,
  UnterminatedQuote,  // an opening double quote without its closing one
  TextBeforeQuote,    // something other than blanks between the last comma and a quote
  TextAfterQuote,     // something other than blanks between a closing quote and the next comma
};

struct TDLLArgumentList {
  std::vector<TDLLArgument> Items;  // empty when Error is set
  TDLLArgumentError Error = TDLLArgumentError::None;
};

// Splits an argument text at its commas, outside double quotes. A quoted text (there is no
// escape for a quote inside; two quotes in a row are the empty text) is a Text argument. An
// unquoted token is trimmed of blanks and control characters; an empty one adds nothing,
// anything else is a Number argument read with the scripts' integer conversion (digits and
// minus signs kept, 0 when nothing usable is left: "1 2" is 12, "abc" is 0).
TDLLArgumentList ParseDLLArguments(const std::string& text);

// A library name without any folder part ("user32.dll", "helper"): no backslash, slash or
// drive colon. Such names are looked up in the system folder only.
bool IsBareLibraryName(const std::string& name);

}  // namespace vnt
