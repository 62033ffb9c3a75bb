#include <gtest/gtest.h>

#include "package/PackagePrimitives.h"

using namespace vnt;

namespace {
TMemoryStream Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(char(b));
  return TMemoryStream(s);
}
}  // namespace

TEST(Primitives, NumbersAreLittleEndian) {
  TMemoryStream s = Bytes({0x01, 0x02, 0x03, 0x04, 0x05, 0xFE, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(ReadU16(s), 0x0201);
  EXPECT_EQ(ReadByte(s), 0x03);
  EXPECT_EQ(ReadU16(s), 0x0504);
  EXPECT_EQ(ReadI32(s), -2);
  TMemoryStream out;
  WriteI32(out, -2);
  WriteU16(out, 0xBEEF);
  WriteDouble(out, 1.5);
  TMemoryStream back(out.Bytes());
  EXPECT_EQ(ReadI32(back), -2);
  EXPECT_EQ(ReadU16(back), 0xBEEF);
  EXPECT_EQ(ReadDouble(back), 1.5);
}

TEST(Primitives, VersionLimitForms) {
  TMemoryStream s = Bytes({0xCE, 0x07, 0x01, 0x04});
  TVersionLimit v = ReadVersionLimit(s, false);
  EXPECT_EQ(v.Version >> 24, 4u);
  EXPECT_EQ((v.Version >> 16) & 0xFF, 1u);
  EXPECT_EQ(v.Version & 0xFFFF, 1998u);
  EXPECT_EQ(v.ServicePack, 0);
  // The long form with a zero service pack is the short form.
  TMemoryStream longForm = Bytes({0xCE, 0x07, 0x01, 0x04, 0x00, 0x00});
  EXPECT_EQ(ReadVersionLimit(longForm, true), v);
  TMemoryStream sp = Bytes({0xCE, 0x07, 0x01, 0x04, 0x00, 0x02});
  EXPECT_EQ(ReadVersionLimit(sp, true).ServicePack, 0x0200);
}

TEST(Primitives, FontRecordLayout) {
  TMemoryStream out;
  WriteFontRecord(out, {"Tahoma", 8, 8, 0, 1});
  EXPECT_EQ(out.Bytes(), std::string("Tahoma\0\x08\0\0\0\x08\0\0\0\0\x01", 17));
  TMemoryStream in(out.Bytes());
  EXPECT_EQ(ReadFontRecord(in), (TFontRecord{"Tahoma", 8, 8, 0, 1}));
}

TEST(Primitives, PackageStrings) {
  TMemoryStream out;
  WritePackageString(out, "");
  WritePackageString(out, "abc");
  EXPECT_EQ(out.Bytes(), std::string("\0abc\0", 5));
  TMemoryStream in(out.Bytes());
  EXPECT_EQ(ReadPackageString(in), "");
  EXPECT_EQ(ReadPackageString(in), "abc");
  // Bytes above 127 are taken as they are.
  TMemoryStream high(std::string("\xe4\xf6\xfc\0", 4));
  EXPECT_EQ(ReadPackageString(high), "\xe4\xf6\xfc");
}

TEST(Primitives, StringWithoutTerminatorIsDamage) {
  TMemoryStream s(std::string("no end"));
  EXPECT_THROW(ReadPackageString(s), EPackageError);
}

TEST(Primitives, ShortReadsAreDamage) {
  TMemoryStream s = Bytes({1, 2, 3});
  EXPECT_THROW(ReadI32(s), EPackageError);
  TMemoryStream d = Bytes({1, 2, 3, 4, 5, 6, 7});
  EXPECT_THROW(ReadDouble(d), EPackageError);
}

TEST(Primitives, FixedFieldsKeepTheirFirstThousandBytes) {
  std::string longName(1200, 'x');
  EXPECT_EQ(FixedField(longName).size(), 1000u);
  EXPECT_EQ(FixedField(std::string("ab\0cd", 5)), "ab");
  TMemoryStream out;
  WriteFontRecord(out, {longName, 1, 2, 3, 4});
  TMemoryStream in(out.Bytes());
  EXPECT_EQ(ReadFontRecord(in).Name, std::string(1000, 'x'));
  // The stored name itself is also cut, so the rest of the record stays in place.
  EXPECT_EQ(out.Bytes().size(), 1001u + 10u);
}

TEST(Primitives, CountsLargerThanTheirDataAreRefused) {
  TMemoryStream s;
  WriteU32(s, 0xFFFFFFFF);
  s.Write("abcdef", 6);
  s.Seek(0);
  EXPECT_THROW(ReadCount(s, 1), EPackageError);
  TMemoryStream ok;
  WriteU32(ok, 3);
  ok.Write("abc", 3);
  ok.Seek(0);
  EXPECT_EQ(ReadCount(ok, 1), 3u);
  ok.Seek(0);
  EXPECT_THROW(ReadCount(ok, 2), EPackageError);
}

TEST(Primitives, ReservedFieldWidthSwitch) {
  TMemoryStream wide, narrow;
  WriteReserved16(wide, 0x0102, TFieldWidth::Wide);
  WriteReserved16(narrow, 0x01, TFieldWidth::Narrow);
  EXPECT_EQ(wide.Bytes(), std::string("\x02\x01", 2));
  EXPECT_EQ(narrow.Bytes(), std::string("\x01", 1));
  TMemoryStream w(wide.Bytes()), n(narrow.Bytes());
  EXPECT_EQ(ReadReserved16(w, TFieldWidth::Wide), 0x0102);
  EXPECT_EQ(ReadReserved16(n, TFieldWidth::Narrow), 1);
}

TEST(Primitives, ZeroByteInsideATextDoesNotShiftLaterFields) {
  TMemoryStream out;
  WritePackageString(out, std::string("ab\0cd", 5));
  WriteU16(out, 7);
  TMemoryStream in(out.Bytes());
  EXPECT_EQ(ReadPackageString(in), "ab");
  EXPECT_EQ(ReadU16(in), 7);
}
