#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "FakeBuiltins.h"
#include "script/ListCommands.h"
#include "script/ScriptInterpretor.h"
#include "script/ValueCommands.h"

using namespace vnt;
using namespace vnt::test;

namespace {

ScriptStatement Cmd(uint8_t op, std::vector<std::string> fields) {
  ScriptStatement s;
  s.Opcode = op;
  for (size_t k = 0; k < fields.size() && k < s.F.size(); ++k) s.F[k] = fields[k];
  return s;
}

struct ValueCmd : ::testing::Test {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables V{Desc, Builtins};
  TScriptContext Ctx{V};
  TScriptInterpreter I{Ctx};
  TValueCommands Values{42};
  std::vector<int32_t> Slept;

  ValueCmd() {
    Values.Register(Ctx);
    RegisterListCommands(Ctx);
    Values.Sleep = [this](int32_t ms) { Slept.push_back(ms); };
  }
  // Runs one statement and answers the variable's stored value.
  std::string Do(uint8_t op, std::vector<std::string> fields, const std::string& var = "%R%") {
    EXPECT_TRUE(I.RunScript({Cmd(op, std::move(fields))}));
    return V.Stored(var);
  }
  std::string Calc(const std::string& a, const std::string& op, const std::string& b) {
    return Do(OpCalculate, {"%R%", a, op, b});
  }
};

}  // namespace

TEST_F(ValueCmd, AssignVariableExpandsAndStripsOneBackslashOnFlag) {
  V.SetVariable("%DIR%", "C:\\App\\");
  EXPECT_EQ(Do(OpAssignVariable, {"%R%", "%DIR%Data\\", ""}), "C:\\App\\Data\\");
  EXPECT_EQ(Do(OpAssignVariable, {"%R%", "%DIR%Data\\\\", "1"}), "C:\\App\\Data\\");
  EXPECT_EQ(Do(OpAssignVariable, {"%R%", "%DIR%", "01"}), "C:\\App\\");  // the flag is exactly "1"
  EXPECT_EQ(Do(OpAssignVariable, {"%R%", "", "1"}), "");
}

TEST_F(ValueCmd, CalculateBasicOperations) {
  EXPECT_EQ(Calc("7", "ADDITION", "5"), "12");
  EXPECT_EQ(Calc("7", "subtraction", "10"), "-3");
  EXPECT_EQ(Calc("-7", "Multiplication", "6"), "-42");
  EXPECT_EQ(Calc("-7", "DIVISION", "2"), "-3");  // toward zero
  EXPECT_EQ(Calc("7", "DIVISION", "-2"), "-3");
  EXPECT_EQ(Calc("-7", "REMAINDER", "2"), "-1");  // the sign of a
  EXPECT_EQ(Calc("7", "REMAINDER", "-2"), "1");
  EXPECT_EQ(Calc("7", "POWER", "2"), "7");        // unknown keyword: a unchanged
  EXPECT_EQ(Calc("12a3", "ADDITION", "x"), "123");  // as integer: digits kept, nothing left is 0
  V.SetVariable("%A%", "20");
  EXPECT_EQ(Calc("%A%", "ADDITION", "%A%"), "40");
}

TEST_F(ValueCmd, CalculateByZeroAndAtThe32BitEdges) {
  EXPECT_EQ(Calc("9", "DIVISION", "0"), "0");
  EXPECT_EQ(Calc("9", "REMAINDER", "0"), "9");
  EXPECT_EQ(Calc("-9", "REMAINDER", "abc"), "-9");
  EXPECT_EQ(Calc("2147483647", "ADDITION", "1"), "-2147483648");
  EXPECT_EQ(Calc("-2147483648", "SUBTRACTION", "1"), "2147483647");
  EXPECT_EQ(Calc("65536", "MULTIPLICATION", "65536"), "0");
  EXPECT_EQ(Calc("-2147483648", "DIVISION", "-1"), "-2147483648");  // wraps
  EXPECT_EQ(Calc("-2147483648", "REMAINDER", "-1"), "0");
  EXPECT_EQ(Calc("2147483648", "ADDITION", "0"), "0");  // outside 32 bits: as integer gives 0
  EXPECT_EQ(CalculateValue(INT_MIN, "division", 1), INT_MIN);
  EXPECT_EQ(CalculateValue(INT_MIN, "REMAINDER", INT_MIN), 0);
}

TEST_F(ValueCmd, RandomNumberStaysInItsRange) {
  std::set<std::string> seen;
  for (int k = 0; k < 200; ++k) seen.insert(Do(OpRandomNumber, {"%R%", "10", "3"}));
  EXPECT_EQ(seen, (std::set<std::string>{"10", "11", "12"}));
  EXPECT_EQ(Do(OpRandomNumber, {"%R%", "10", "0"}), "10");  // range <= 0 answers the base
  EXPECT_EQ(Do(OpRandomNumber, {"%R%", "-4", "-5"}), "-4");
  EXPECT_EQ(Do(OpRandomNumber, {"%R%", "5", "1"}), "5");
  for (int k = 0; k < 50; ++k) {
    int v = std::stoi(Do(OpRandomNumber, {"%R%", "0", "2147483647"}));
    EXPECT_GE(v, 0);
  }
}

TEST(RandomGenerator, SeedDecidesTheSequence) {
  TValueCommands a(7), b(7);
  std::vector<int32_t> x, y;
  for (int k = 0; k < 20; ++k) x.push_back(a.Random(1000)), y.push_back(b.Random(1000));
  EXPECT_EQ(x, y);
  TValueCommands clock;  // seeded from the clock; just answers in range
  for (int k = 0; k < 20; ++k) {
    int32_t r = clock.Random(5);
    EXPECT_GE(r, 0);
    EXPECT_LT(r, 5);
  }
  EXPECT_EQ(clock.Random(0), 0);
  EXPECT_EQ(clock.Random(INT_MIN), 0);
}

TEST_F(ValueCmd, DecToHex) {
  auto hex = [&](const std::string& value) {
    V.SetVariable("%R%", value);
    return Do(OpDecToHex, {"%R%"});
  };
  EXPECT_EQ(hex("255"), "FF");
  EXPECT_EQ(hex("0"), "0");
  EXPECT_EQ(hex("000"), "0");
  EXPECT_EQ(hex("4096"), "1000");
  EXPECT_EQ(hex("+10"), "A");
  EXPECT_EQ(hex("-1"), "FFFFFFFF");
  EXPECT_EQ(hex("-2147483648"), "80000000");
  EXPECT_EQ(hex("4294967295"), "FFFFFFFF");
  // Unreadable texts count as 0.
  for (const char* bad : {"", "abc", "12a", " 12", "12 ", "-", "1.5", "4294967296", "-2147483649", "0x10"})
    EXPECT_EQ(hex(bad), "0") << bad;
}

TEST_F(ValueCmd, HexToDec) {
  auto dec = [&](const std::string& value) {
    V.SetVariable("%R%", value);
    return Do(OpHexToDec, {"%R%"});
  };
  EXPECT_EQ(dec("FF"), "255");
  EXPECT_EQ(dec("ff"), "255");
  EXPECT_EQ(dec("0"), "0");
  EXPECT_EQ(dec("00000000000A"), "10");  // leading zeros do not count against 32 bits
  EXPECT_EQ(dec("7FFFFFFF"), "2147483647");
  EXPECT_EQ(dec("FFFFFFFF"), "-1");  // 32-bit numbers: the reverse of DecToHex
  for (const char* bad : {"", "xyz", "0x10", "$FF", "-1", " A", "G", "100000000"})
    EXPECT_EQ(dec(bad), "0") << bad;
}

TEST_F(ValueCmd, PadNumber) {
  auto pad = [&](const std::string& value, const std::string& width) {
    V.SetVariable("%R%", value);
    return Do(OpPadNumber, {"%R%", width});
  };
  EXPECT_EQ(pad("7", "3"), "007");
  EXPECT_EQ(pad("12345", "3"), "12345");
  EXPECT_EQ(pad("", "2"), "00");
  EXPECT_EQ(pad("-5", "4"), "00-5");  // text padding, not arithmetic
  EXPECT_EQ(pad("7", "0"), "7");
  EXPECT_EQ(pad("7", "-3"), "7");
  EXPECT_EQ(pad("7", "x"), "7");
  V.SetVariable("%W%", "5");
  EXPECT_EQ(pad("42", "%W%"), "00042");
  EXPECT_EQ(PadNumberText("1", INT_MAX).size(), size_t(PadNumberMaxWidth));  // bounded
}

TEST_F(ValueCmd, PauseWaitsTheExpandedMillisecondsNeverNegative) {
  V.SetVariable("%MS%", "25");
  I.RunScript({Cmd(OpPause, {"%MS%"}), Cmd(OpPause, {"-40"}), Cmd(OpPause, {"abc"})});
  EXPECT_EQ(Slept, (std::vector<int32_t>{25, 0, 0}));
}

TEST(PauseCommand, RealSleepWaitsAtLeastTheTime) {
  TSetupDescription desc;
  TFakeBuiltins builtins;
  TSetupVariables v{desc, builtins};
  TScriptContext ctx{v};
  TValueCommands values;
  values.Register(ctx);
  TScriptInterpreter interp{ctx};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(interp.RunScript({Cmd(OpPause, {"20"}), Cmd(OpPause, {"-1000000"})}));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
}

// List commands.

TEST(ListText, ConversionKeepsEmptyItems) {
  EXPECT_EQ(SplitListText("a, , c"), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(SplitListText(""), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitListText("a,b"), (std::vector<std::string>{"a,b"}));  // only ", " separates
  EXPECT_EQ(SplitListText("a|b, c"), (std::vector<std::string>{"a", "b", "c"}));  // the internal separator
  EXPECT_EQ(SplitListText("a, "), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(JoinListText({"a", "", "c"}), "a, , c");
  EXPECT_EQ(JoinListText({}), "");
}

TEST_F(ValueCmd, ListAdd) {
  auto add = [&](const std::string& list, const std::string& item) {
    V.SetVariable("%L%", list);
    return Do(OpListAdd, {"%L%", item}, "%L%");
  };
  EXPECT_EQ(add("a, b", "b"), "a, b");
  EXPECT_EQ(add("a, b", "B"), "a, b");  // case-insensitive
  EXPECT_EQ(add("", "c"), "c");
  EXPECT_EQ(add("a, b", "c"), "a, b, c");
  EXPECT_EQ(add("a, , b", "c"), "a, , b, c");  // empty items kept
  EXPECT_EQ(add("a, b", ""), "a, b");  // an empty item is not added
  EXPECT_EQ(add("", ""), "");
  EXPECT_EQ(add("a|b", "c"), "a, b, c");
  V.SetVariable("%X%", "x1");
  EXPECT_EQ(add("a", "%X%"), "a, x1");
}

TEST_F(ValueCmd, ListRemove) {
  auto remove = [&](const std::string& list, const std::string& item) {
    V.SetVariable("%L%", list);
    return Do(OpListRemove, {"%L%", item}, "%L%");
  };
  EXPECT_EQ(remove("a, b, A, c", "a"), "b, c");
  EXPECT_EQ(remove("a, , b, ", "x"), "a, b");  // empty items dropped
  EXPECT_EQ(remove("a, b", ""), "a, b");
  EXPECT_EQ(remove("a", "A"), "");
  EXPECT_EQ(remove("", "a"), "");
}

TEST_F(ValueCmd, ListContains) {
  auto has = [&](const std::string& list, const std::string& item) {
    return Do(OpListContains, {"%R%", list, item});
  };
  EXPECT_EQ(has("a, b, c", "B"), "1");
  EXPECT_EQ(has("a, b, c", "d"), "0");
  EXPECT_EQ(has("a, , c", ""), "0");  // an empty item is never found
  EXPECT_EQ(has("", ""), "0");
  EXPECT_EQ(has("ab, c", "a"), "0");
  V.SetVariable("%LIST%", "x, y");
  EXPECT_EQ(has("%LIST%", "y"), "1");
}

TEST_F(ValueCmd, ListItemAndListCount) {
  auto item = [&](const std::string& list, const std::string& pos) { return Do(OpListItem, {"%R%", list, pos}); };
  auto count = [&](const std::string& list) { return Do(OpListCount, {"%R%", list}); };
  EXPECT_EQ(item("a, , c", "1"), "a");
  EXPECT_EQ(item("a, , c", "2"), "");  // an empty item
  EXPECT_EQ(item("a, , c", "3"), "c");
  EXPECT_EQ(item("a, , c", "4"), "");
  EXPECT_EQ(item("a, , c", "0"), "");
  EXPECT_EQ(item("a, , c", "-1"), "");
  EXPECT_EQ(item("a, , c", "2147483647"), "");
  EXPECT_EQ(item("", "1"), "");
  EXPECT_EQ(count("a, , c"), "2");
  EXPECT_EQ(count(""), "0");
  EXPECT_EQ(count(", , "), "0");
  EXPECT_EQ(count("one"), "1");
}
