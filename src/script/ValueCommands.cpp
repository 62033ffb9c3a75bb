#include "script/ValueCommands.h"

#include <chrono>
#include <thread>

#include "package/VarList.h"

namespace vnt {

namespace {

uint32_t ClockSeed() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  return uint32_t(uint64_t(ticks) ^ (uint64_t(ticks) >> 32));
}

bool SameKeyword(const std::string& a, const char* b) { return CompareTextIgnoringCase(a, b) == 0; }

}  // namespace

TValueCommands::TValueCommands() : TValueCommands(ClockSeed()) {}

TValueCommands::TValueCommands(uint32_t seed)
    : Sleep([](int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }),
      Generator(seed) {}

int32_t TValueCommands::Random(int32_t range) {
  if (range <= 0) return 0;
  return std::uniform_int_distribution<int32_t>(0, range - 1)(Generator);
}

void TValueCommands::Register(TScriptContext& c) {
  // 56 AssignVariable: F1 := expand(F2), one trailing backslash removed when F3 is "1".
  c.SetCommand(OpAssignVariable, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], c.Expand(s.F[1]), s.F[2] == "1");
  });
  // 35 Calculate: F1 := expand(F2) <F3> expand(F4).
  c.SetCommand(OpCalculate, [&c](const ScriptStatement& s) {
    const int32_t a = TScriptContext::AsInteger(c.Expand(s.F[1]));
    const int32_t b = TScriptContext::AsInteger(c.Expand(s.F[3]));
    c.Assign(s.F[0], std::to_string(CalculateValue(a, s.F[2], b)));
  });
  // 42 RandomNumber: F1 := base + r, 0 <= r < range; a range <= 0 answers the base.
  c.SetCommand(OpRandomNumber, [&c, this](const ScriptStatement& s) {
    const int32_t base = TScriptContext::AsInteger(c.Expand(s.F[1]));
    const int32_t range = TScriptContext::AsInteger(c.Expand(s.F[2]));
    c.Assign(s.F[0], std::to_string(CalculateValue(base, "ADDITION", Random(range))));
  });
  // 106 DecToHex, 107 HexToDec: on the variable's own value.
  c.SetCommand(OpDecToHex, [&c](const ScriptStatement& s) { c.Assign(s.F[0], DecimalToHex(c.Expand(s.F[0]))); });
  c.SetCommand(OpHexToDec, [&c](const ScriptStatement& s) { c.Assign(s.F[0], HexToDecimal(c.Expand(s.F[0]))); });
  // 112 PadNumber: zeros on the left up to expand(F2) characters.
  c.SetCommand(OpPadNumber, [&c](const ScriptStatement& s) {
    c.Assign(s.F[0], PadNumberText(c.Expand(s.F[0]), TScriptContext::AsInteger(c.Expand(s.F[1]))));
  });
  // 110 Pause: waits without processing window messages; negative waits count as 0.
  c.SetCommand(OpPause, [&c, this](const ScriptStatement& s) {
    const int32_t ms = TScriptContext::AsInteger(c.Expand(s.F[0]));
    if (Sleep) Sleep(ms < 0 ? 0 : ms);
  });
}

int32_t CalculateValue(int32_t a, const std::string& keyword, int32_t b) {
  // Sums, differences and products in unsigned 32 bits: the wrap-around is then defined.
  const uint32_t ua = uint32_t(a), ub = uint32_t(b);
  if (SameKeyword(keyword, "ADDITION")) return int32_t(ua + ub);
  if (SameKeyword(keyword, "SUBTRACTION")) return int32_t(ua - ub);
  if (SameKeyword(keyword, "MULTIPLICATION")) return int32_t(ua * ub);
  if (SameKeyword(keyword, "DIVISION")) {
    if (b == 0) return 0;
    if (b == -1) return int32_t(0u - ua);  // -(-2147483648) wraps to -2147483648
    return a / b;
  }
  if (SameKeyword(keyword, "REMAINDER")) {
    if (b == 0) return a;
    if (b == -1) return 0;  // exact for every a, also -2147483648
    return a % b;
  }
  return a;
}

std::optional<uint32_t> ReadStrictDecimal(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  uint64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + uint64_t(text[i] - '0');
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  if (negative) {
    if (v > 0x80000000ull) return std::nullopt;
    return uint32_t(0u - uint32_t(v));
  }
  return uint32_t(v);
}

std::optional<uint32_t> ReadStrictHex(const std::string& text) {
  if (text.empty()) return std::nullopt;
  uint64_t v = 0;
  for (char ch : text) {
    int d;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
    else return std::nullopt;
    v = v * 16 + uint64_t(d);
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  return uint32_t(v);
}

std::string DecimalToHex(const std::string& text) {
  uint32_t v = ReadStrictDecimal(text).value_or(0);
  if (v == 0) return "0";
  static const char Digits[] = "0123456789ABCDEF";
  std::string out;
  for (; v; v >>= 4) out.insert(out.begin(), Digits[v & 15]);
  return out;
}

std::string HexToDecimal(const std::string& text) {
  return std::to_string(int32_t(ReadStrictHex(text).value_or(0)));
}

std::string PadNumberText(const std::string& value, int32_t width) {
  if (width > PadNumberMaxWidth) width = PadNumberMaxWidth;
  if (width <= 0 || value.size() >= size_t(width)) return value;
  return std::string(size_t(width) - value.size(), '0') + value;
}

}  // namespace vnt
