#include <gtest/gtest.h>

#include "package/PackagePrimitives.h"
#include "package/ScriptCodec.h"
#include "script/ScriptContext.h"

using namespace vnt;

namespace {

std::string Stored(const TScript& script) {
  TMemoryStream s;
  WriteScript(s, script);
  return s.Bytes();
}

ScriptStatement Statement(uint8_t op, std::array<std::string, 5> f, std::string condition = "") {
  ScriptStatement st;
  st.Opcode = op;
  st.F = std::move(f);
  st.Condition = std::move(condition);
  return st;
}

}  // namespace

TEST(ScriptCodec, FieldsPresentPerOpcode) {
  EXPECT_EQ(StoredFieldCount(OpFileClose), 0);
  EXPECT_EQ(StoredFieldCount(OpFileDelete), 1);
  EXPECT_EQ(StoredFieldCount(OpFileCopy), 2);
  EXPECT_EQ(StoredFieldCount(OpFileOpen), 3);
  EXPECT_EQ(StoredFieldCount(OpFor), 4);
  EXPECT_EQ(StoredFieldCount(OpRegRead), 5);
  EXPECT_EQ(StoredFieldCount(120), 0);
  EXPECT_EQ(StoredFieldCount(127), 0);
  EXPECT_EQ(StoredFieldCount(0x80 | OpFileCopy), 2);  // the low 7 bits choose the row
}

TEST(ScriptCodec, NamesBothWays) {
  EXPECT_EQ(OpcodeName(OpForEachSelected), "ForEachSelected");
  EXPECT_EQ(OpcodeByName("regwrite"), OpRegWrite);
  EXPECT_EQ(OpcodeName(3), "");
  EXPECT_FALSE(OpcodeByName("NoSuchCommand"));
  for (int op = 0; op < 128; ++op) {
    std::string name = OpcodeName(uint8_t(op));
    if (!name.empty()) EXPECT_EQ(OpcodeByName(name), op) << name;
  }
}

TEST(ScriptCodec, StoredBytesAreScrambledWithTheKey) {
  std::string bytes = Stored({Statement(OpFileDelete, {"ab", "not stored"}, "")});
  // count 1, opcode 27, length 2, "ab" ^ "kw", empty condition
  std::string want("\x01\0\0\0\x1b\0\0\0\x02\0\0\0", 12);
  want += char('a' ^ 'k');
  want += char('b' ^ 'w');
  want += std::string(4, '\0');
  EXPECT_EQ(bytes, want);
  EXPECT_EQ(ScrambleScriptText(ScrambleScriptText("kwo-ribbon and more")), "kwo-ribbon and more");

  // Past the tenth byte the key starts again: 'j'^'n', 'k'^'k' (a zero byte), 'l'^'w', 'm'^'o',
  // and at byte 20 'u'^'k', 'v'^'w'.
  const std::string text = "abcdefghijklmnopqrstuvwxy";
  std::string longer = Stored({Statement(OpFileDelete, {text})});
  ASSERT_EQ(longer.size(), 12 + text.size() + 4);
  EXPECT_EQ(longer.substr(12 + 9, 4), std::string("\x04\x00\x1b\x02", 4));
  EXPECT_EQ(longer.substr(12 + 20, 2), "\x1e\x01");
  TMemoryStream in(longer);
  EXPECT_EQ(ReadScript(in)[0].F[0], text);
}

TEST(ScriptCodec, RoundTripKeepsOnlyStoredFields) {
  TScript script = {Statement(OpRegRead, {"%V%", "HKEY_LOCAL_MACHINE", "Software\\X", "Name", "default"}, "1 = 1|"),
                    Statement(OpFileClose, {"dropped"}, ""), Statement(OpIf, {"b1"}, "%A% = 2|")};
  TMemoryStream s(Stored(script));
  TScript back = ReadScript(s);
  script[1].F[0].clear();  // FileClose carries no fields
  EXPECT_EQ(back, script);
  EXPECT_EQ(s.Position(), s.Size());
}

TEST(ScriptCodec, LongFieldsKeepTheirFirstThousandCharacters) {
  TScript script = {Statement(OpFileWrite, {std::string(1500, 'x')}, std::string(1200, 'c'))};
  TMemoryStream s(Stored(script));
  TScript back = ReadScript(s);
  EXPECT_EQ(back[0].F[0].size(), 1000u);
  EXPECT_EQ(back[0].Condition.size(), 1000u);
}

TEST(ScriptCodec, DamagedListsAreRefused) {
  std::string good = Stored({Statement(OpMessageBox, {"caption", "text", "INFORMATION"}, "x|")});
  for (size_t cut = 0; cut < good.size(); ++cut) {
    TMemoryStream s(good.substr(0, cut));
    EXPECT_THROW(ReadScript(s), EPackageError) << cut;
  }
  TMemoryStream huge;
  WriteI32(huge, 0x7FFFFFFF);
  huge.Seek(0);
  EXPECT_THROW(ReadScript(huge), EPackageError);
  // Counts whose size in bytes wraps 32 bits, followed by one real statement's 8 bytes.
  for (uint32_t count : {0x40000001u, 0x20000001u}) {
    TMemoryStream wrapped;
    WriteU32(wrapped, count);
    WriteI32(wrapped, OpFileClose);
    WriteI32(wrapped, 0);
    wrapped.Seek(0);
    EXPECT_THROW(ReadScript(wrapped), EPackageError) << count;
  }
  TMemoryStream negative;
  WriteI32(negative, 1);
  WriteI32(negative, OpFileDelete);
  WriteI32(negative, -5);
  negative.Write("abcdefgh", 8);
  negative.Seek(0);
  EXPECT_THROW(ReadScript(negative), EPackageError);
}

TEST(ScriptContext, IntegerConversion) {
  EXPECT_EQ(TScriptContext::AsInteger("12a3"), 123);
  EXPECT_EQ(TScriptContext::AsInteger("1-2"), 0);
  EXPECT_EQ(TScriptContext::AsInteger("-45"), -45);
  EXPECT_EQ(TScriptContext::AsInteger(""), 0);
  EXPECT_EQ(TScriptContext::AsInteger("abc"), 0);
  EXPECT_EQ(TScriptContext::AsInteger("2147483647"), 2147483647);
  EXPECT_EQ(TScriptContext::AsInteger("2147483648"), 0);  // does not fit: unusable
  EXPECT_EQ(TScriptContext::AsInteger("-"), 0);
}
