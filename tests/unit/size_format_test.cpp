#include <gtest/gtest.h>

#include <limits>

#include "package/SizeFormat.h"

using namespace vnt;

TEST(SizeFormat, BytesBelowOneKilobyteStayBytes) {
  EXPECT_EQ(FormatSize(0, SizeInBytes, '.'), "0 bytes");
  EXPECT_EQ(FormatSize(512, SizeInBytes, '.'), "512 bytes");
  EXPECT_EQ(FormatSize(1023, SizeInBytes, '.'), "1023 bytes");
}

TEST(SizeFormat, ScalesByStepsOf1024) {
  EXPECT_EQ(FormatSize(1024, SizeInBytes, '.'), "1 KB");
  EXPECT_EQ(FormatSize(1536, SizeInBytes, '.'), "1.5 KB");
  EXPECT_EQ(FormatSize(2621440, SizeInBytes, '.'), "2.5 MB");
  EXPECT_EQ(FormatSize(1500, SizeInKB, '.'), "1.5 MB");  // 1.46484375
  EXPECT_EQ(FormatSize(1023, SizeInKB, '.'), "1023 KB");
  EXPECT_EQ(FormatSize(1024.0 * 1024 * 1024, SizeInBytes, '.'), "1 GB");
  EXPECT_EQ(FormatSize(5, 7, '.'), "5 KB");  // any unit other than 0 means kilobytes
}

TEST(SizeFormat, GigabytesAreTheLargestUnit) {
  EXPECT_EQ(FormatSize(1073741824.0, SizeInKB, '.'), "1024 GB");
  EXPECT_EQ(FormatSize(1024.0 * 1073741824.0, SizeInKB, '.'), "1048576 GB");
  // Amounts beyond the general format's digits are still written as whole digits.
  EXPECT_EQ(FormatSize(1e18, SizeInKB, '.'), "953674316406.3 GB");  // ...406.25
  EXPECT_EQ(FormatSize(1e24, SizeInKB, '.'), "953674316406249984 GB");
}

TEST(SizeFormat, OneDecimalRoundedHalfUpBySecondDigit) {
  EXPECT_EQ(FormatSize(1.25 * 1024, SizeInBytes, '.'), "1.3 KB");
  EXPECT_EQ(FormatSize(1.24 * 1024, SizeInKB, '.'), "1.2 MB");
  EXPECT_EQ(FormatSize(1.05, SizeInBytes, '.'), "1.1 bytes");
  // Two or more decimals always leave exactly one, even a zero.
  EXPECT_EQ(FormatSize(1.04999, SizeInBytes, '.'), "1.0 bytes");
  EXPECT_EQ(FormatSize(2.5, SizeInBytes, '.'), "2.5 bytes");
}

TEST(SizeFormat, NineCarriesIntoTheWholeNumber) {
  EXPECT_EQ(FormatSize(1.96, SizeInBytes, '.'), "2.0 bytes");
  EXPECT_EQ(FormatSize(1.96 * 1024, SizeInKB, '.'), "2.0 MB");
  EXPECT_EQ(FormatSize(9.95, SizeInBytes, '.'), "10.0 bytes");
  EXPECT_EQ(FormatSize(999.97, SizeInBytes, '.'), "1000.0 bytes");
  EXPECT_EQ(FormatSize(1023.99 * 1024, SizeInBytes, '.'), "1024.0 KB");
  EXPECT_EQ(FormatSize(1.94, SizeInBytes, '.'), "1.9 bytes");
}

TEST(SizeFormat, UsesTheGivenSeparator) {
  EXPECT_EQ(FormatSize(1536, SizeInBytes, ','), "1,5 KB");
  EXPECT_EQ(FormatSize(1024, SizeInBytes, ','), "1 KB");
  EXPECT_EQ(FormatSize(1.96, SizeInBytes, ','), "2,0 bytes");
}

TEST(SizeFormat, OddAmountsGiveATextAndNoCrash) {
  EXPECT_EQ(FormatSize(-1.96, SizeInBytes, '.'), "-2.0 bytes");
  EXPECT_EQ(FormatSize(-5000, SizeInBytes, '.'), "-5000 bytes");
  EXPECT_FALSE(FormatSize(std::numeric_limits<double>::quiet_NaN(), SizeInBytes, '.').empty());
  EXPECT_EQ(FormatSize(std::numeric_limits<double>::infinity(), SizeInKB, '.'), "inf GB");
}
