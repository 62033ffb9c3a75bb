#include <gtest/gtest.h>

#include "script/DLLArguments.h"

using namespace vnt;

namespace {

TDLLArgument Text(const std::string& t) { return {TDLLArgumentKind::Text, t, 0}; }
TDLLArgument Number(int32_t n) { return {TDLLArgumentKind::Number, "", n}; }

std::vector<TDLLArgument> Parsed(const std::string& text) {
  TDLLArgumentList list = ParseDLLArguments(text);
  EXPECT_EQ(list.Error, TDLLArgumentError::None) << text;
  return list.Items;
}

TDLLArgumentError Refusal(const std::string& text) {
  TDLLArgumentList list = ParseDLLArguments(text);
  EXPECT_TRUE(list.Items.empty()) << text;
  return list.Error;
}

}  // namespace

TEST(DLLArguments, TextsAndNumbersInOrder) {
  EXPECT_EQ(Parsed("\"abc\",12,-3"), (std::vector{Text("abc"), Number(12), Number(-3)}));
  EXPECT_EQ(Parsed("1, \"two\", 3, \"four\""), (std::vector{Number(1), Text("two"), Number(3), Text("four")}));
  // Inside quotes a comma, blanks and a percent sign are just text.
  EXPECT_EQ(Parsed("\" a, b \""), (std::vector{Text(" a, b ")}));
  EXPECT_EQ(Parsed("\"\",5"), (std::vector{Text(""), Number(5)}));
  EXPECT_EQ(Parsed("\"\""), (std::vector{Text("")}));
  // Two quoted texts back to back, with or without blanks around the comma.
  EXPECT_EQ(Parsed("\"a\" , \"b\""), (std::vector{Text("a"), Text("b")}));
}

TEST(DLLArguments, NumbersUseTheScriptsIntegerConversion) {
  EXPECT_EQ(Parsed("1 2"), (std::vector{Number(12)}));
  EXPECT_EQ(Parsed("abc"), (std::vector{Number(0)}));
  EXPECT_EQ(Parsed("12a3, 1-2"), (std::vector{Number(123), Number(0)}));
  EXPECT_EQ(Parsed("-2147483648, 2147483647, 2147483648"),
            (std::vector{Number(INT32_MIN), Number(INT32_MAX), Number(0)}));
  // Blanks and control characters around a token are trimmed.
  EXPECT_EQ(Parsed("\t 7 \r\n"), (std::vector{Number(7)}));
}

TEST(DLLArguments, EmptyTokensAddNothing) {
  EXPECT_TRUE(Parsed("").empty());
  EXPECT_TRUE(Parsed("   ").empty());
  EXPECT_TRUE(Parsed(",,").empty());
  EXPECT_EQ(Parsed("1,,2,"), (std::vector{Number(1), Number(2)}));
  // A comma directly after a quoted text ends nothing more.
  EXPECT_EQ(Parsed("\"x\",\"y\","), (std::vector{Text("x"), Text("y")}));
}

TEST(DLLArguments, MalformedTextsAreRefused) {
  EXPECT_EQ(Refusal("\"open"), TDLLArgumentError::UnterminatedQuote);
  EXPECT_EQ(Refusal("1, \"a\", \"b"), TDLLArgumentError::UnterminatedQuote);
  EXPECT_EQ(Refusal("\""), TDLLArgumentError::UnterminatedQuote);
  // A missing comma would silently drop or invent an argument.
  EXPECT_EQ(Refusal("5 \"x\""), TDLLArgumentError::TextBeforeQuote);
  EXPECT_EQ(Refusal("\"x\" 5"), TDLLArgumentError::TextAfterQuote);
  EXPECT_EQ(Refusal("\"x\"y,1"), TDLLArgumentError::TextAfterQuote);
  // There is no escaped quote: doubled quotes inside a text are refused, not split up.
  EXPECT_EQ(Refusal("\"say \"\"hi\"\"\""), TDLLArgumentError::TextAfterQuote);
  EXPECT_EQ(Refusal("\"a\"\"b\""), TDLLArgumentError::TextAfterQuote);
}

TEST(DLLArguments, BareLibraryNames) {
  EXPECT_TRUE(IsBareLibraryName("user32.dll"));
  EXPECT_TRUE(IsBareLibraryName("helper"));
  EXPECT_FALSE(IsBareLibraryName("C:\\setup\\helper.dll"));
  EXPECT_FALSE(IsBareLibraryName(".\\helper.dll"));
  EXPECT_FALSE(IsBareLibraryName("sub/helper.dll"));
  EXPECT_FALSE(IsBareLibraryName("C:helper.dll"));
  EXPECT_FALSE(IsBareLibraryName("\\\\server\\share\\helper.dll"));
}
