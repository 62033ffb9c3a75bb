// The commands that work on values only and need no system: AssignVariable,
// Calculate, RandomNumber, DecToHex, HexToDec, PadNumber and Pause.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "script/ScriptContext.h"

namespace vnt {

// Owns the random generator of RandomNumber: the program creates one at start (the generator
// is seeded then, from the clock) and keeps it as long as any context it registered on may
// run a script.
class TValueCommands {
public:
  TValueCommands();                          // seeded from the clock
  explicit TValueCommands(uint32_t seed);    // a fixed seed, for tests
  // The registered commands refer to this object: it stays where it was made.
  TValueCommands(const TValueCommands&) = delete;
  TValueCommands& operator=(const TValueCommands&) = delete;

  // Sets the commands 56, 35, 42, 106, 107, 112 and 110 on the context. They refer to this
  // object (the generator, the sleep function).
  void Register(TScriptContext& context);

  // r with 0 <= r < range; 0 when range <= 0.
  int32_t Random(int32_t range);

  // How Pause waits; a seam for tests. Gets a value >= 0.
  std::function<void(int32_t milliseconds)> Sleep;

private:
  std::mt19937 Generator;
};

// Calculate's arithmetic on 32-bit signed numbers; results wrap around at 32 bits. The keyword
// is compared ignoring case: ADDITION, SUBTRACTION, MULTIPLICATION, DIVISION (truncated toward
// zero; 0 when b is 0), REMAINDER (sign of a; a when b is 0); any other keyword answers a.
// -2147483648 DIVISION -1 wraps to -2147483648; -2147483648 REMAINDER -1 is 0.
int32_t CalculateValue(int32_t a, const std::string& keyword, int32_t b);

// A strict decimal number: an optional sign and at least one digit, nothing else, in the
// range -2147483648 .. 4294967295 (a 32-bit value read as signed or unsigned). None otherwise.
std::optional<uint32_t> ReadStrictDecimal(const std::string& text);
// A strict hexadecimal number: at least one of 0-9, a-f, A-F, nothing else (no sign, prefix or
// blank), with a value that fits 32 bits. None otherwise.
std::optional<uint32_t> ReadStrictHex(const std::string& text);

// DecToHex and HexToDec on texts: an unreadable text counts as 0. Hexadecimal is upper case
// without leading zeros; numbers are 32-bit patterns, so -1 gives FFFFFFFF and FFFFFFFF gives -1.
std::string DecimalToHex(const std::string& text);
std::string HexToDecimal(const std::string& text);

// The value with "0" added on the left up to `width` characters (at most PadNumberMaxWidth).
constexpr int32_t PadNumberMaxWidth = 65536;
std::string PadNumberText(const std::string& value, int32_t width);

}  // namespace vnt
