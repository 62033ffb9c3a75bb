#include <gtest/gtest.h>

#include "FakeBuiltins.h"
#include "package/Conditions.h"

using namespace vnt;
using namespace vnt::test;

namespace {

struct Cond : ::testing::Test {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables V{Desc, Builtins};
  bool Eval(const std::string& c) { return EvaluateCondition(c, V); }
};

}  // namespace

TEST_F(Cond, ClausesEndedByBars) {
  V.SetVariable("%A%", "5");
  EXPECT_TRUE(Eval(""));
  EXPECT_TRUE(Eval("%A% = 5|"));
  EXPECT_FALSE(Eval("%A% = 6|"));
  EXPECT_TRUE(Eval("%A% = 6"));  // an unterminated clause is ignored
  EXPECT_TRUE(Eval("%A% = 5|%A% != 6|"));
  EXPECT_FALSE(Eval("%A% = 5|%A% = 6|"));
  EXPECT_TRUE(Eval("no operator here|"));
  EXPECT_TRUE(Eval("||"));
}

TEST_F(Cond, OperatorPositionsAndMissingSpaces) {
  V.SetVariable("%A%", "5");
  // Without spaces the left operand loses its last character and the right its first.
  EXPECT_FALSE(Eval("%A%=5|"));
  EXPECT_FALSE(Eval("%A%=|"));  // "%A" against the empty text
  EXPECT_TRUE(Eval("%A% >= 5|%A% <= 5|%A% > 4|%A% < 6|"));
  EXPECT_FALSE(Eval("%A% > 5|"));
  EXPECT_TRUE(Eval("= |"));  // empty against empty
}

TEST_F(Cond, NumbersVersionsAndText) {
  EXPECT_TRUE(CompareOperands("10", "9", ">", V));
  EXPECT_TRUE(CompareOperands("1.10", "1.9", ">", V));
  EXPECT_TRUE(CompareOperands("1.2", "1.2.0", "=", V));  // a missing part pads to 0
  EXPECT_TRUE(CompareOperands("abc", "abd", "<", V));
  EXPECT_FALSE(CompareOperands("ABC", "abc", "=", V));
  EXPECT_TRUE(CompareOperands("", "0", "=", V));  // the empty text counts as a number
  EXPECT_TRUE(CompareOperands("10", "9a", "<", V));  // not both numbers: plain bytes
  EXPECT_FALSE(CompareOperands("1", "1", "~", V));
}

TEST(Padding, NumbersAndVersions) {
  std::string a = "1.2", b = "1.10";
  PadOperands(a, b);
  EXPECT_EQ(a, "1.02");
  EXPECT_EQ(b, "1.10");
  a = "7", b = "123";
  PadOperands(a, b);
  EXPECT_EQ(a, "007");
  a = "2.0.1", b = "10";
  PadOperands(a, b);
  EXPECT_EQ(a, "02.0.1");
  EXPECT_EQ(b, "10.0.0");
}

TEST_F(Cond, NumberBesideTextIsNotPadded) {
  for (auto [left, right] : {std::pair{"7", "abc"}, {"1.2", "1.x"}, {"", "a"}, {"12", "9 "}}) {
    std::string a = left, b = right;
    PadOperands(a, b);
    EXPECT_EQ(a, left);
    EXPECT_EQ(b, right);
  }
  // Unpadded, "9" sorts after "10a" byte by byte.
  EXPECT_TRUE(CompareOperands("9", "10a", ">", V));
}

TEST_F(Cond, ComputedBuiltinsCompareByValue) {
  EXPECT_TRUE(Eval("%IsNT% = 1|"));
  EXPECT_TRUE(Eval("%OSVersion% >= 5.0|"));
  EXPECT_FALSE(Eval("%OSVersion% >= 6.0|"));
}

TEST_F(Cond, ComponentTest) {
  EXPECT_TRUE(Eval("%SETUPCOMPONENTS% = Anything|"));  // nothing to choose: always true
  Desc.Components = {{{"Help", "", ""}, 0, 0, 0}, {{"Program", "", ""}, 0, 0, 0}};
  V.SelectedComponents = "Program";
  V.SetVariable("%Which%", "help");
  EXPECT_TRUE(Eval("%SetupComponents% = program|"));
  EXPECT_FALSE(Eval("%SETUPCOMPONENTS% = Help|"));
  EXPECT_TRUE(Eval("%SETUPCOMPONENTS% != Help|"));
  EXPECT_TRUE(Eval("Program = %SETUPCOMPONENTS%|"));
  EXPECT_FALSE(Eval("%SETUPCOMPONENTS% = %Which%|"));
  EXPECT_FALSE(Eval("%SETUPCOMPONENTS% > Program|"));
  EXPECT_TRUE(Eval("%SETUPCOMPONENTS% = %setupcomponents%|"));
  EXPECT_FALSE(Eval("%SETUPCOMPONENTS% != %SETUPCOMPONENTS%|"));
}
