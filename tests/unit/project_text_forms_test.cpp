#include <gtest/gtest.h>

#include "vntbuild/project/CodePage.h"
#include "vntbuild/project/ProjectDefaults.h"

using namespace vnt;

TEST(ProjectTextForms, EveryCodePageByteSurvivesUtf8) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  std::string utf8 = CodePageToUtf8(all), what;
  EXPECT_EQ(CodePageToUtf8("\x80\xe9"), "\xe2\x82\xac\xc3\xa9");  // euro sign, e acute
  EXPECT_EQ(Utf8ToCodePage(utf8, what), all);
  EXPECT_FALSE(Utf8ToCodePage("\xe4\xb8\xad", what));  // a CJK character
  EXPECT_EQ(what, "the character U+4E2D has no place in code page 1252");
  EXPECT_FALSE(Utf8ToCodePage("ab\xc3", what));  // cut in the middle of a character
}

TEST(ProjectTextForms, VersionsAndDates) {
  EXPECT_EQ(ParseVersionLimit("5.1.2600 SP2"), (TVersionLimit{0x05010A28, 0x0200}));
  EXPECT_EQ(ParseVersionLimit("6"), (TVersionLimit{0x06000000, 0}));
  EXPECT_EQ(FormatVersionLimit({0x05010A28, 0x0201}), "5.1.2600 SP2.1");
  for (const char* bad : {"", "5.256", "5.1.70000", "5.1 XP", "5.1 SP", "5..1", "1.2.3.4"})
    EXPECT_FALSE(ParseVersionLimit(bad)) << bad;
  EXPECT_EQ(ParseFileVersion("3.7"), std::make_pair((3u << 16) | 7, 0u));
  EXPECT_FALSE(ParseFileVersion("1.2.3.65536"));
  EXPECT_EQ(FormatFileVersion(0xFFFFFFFF, 2), "65535.65535.0.2");

  auto date = ParseDosDateTime("2026-12-07T09:30:01");  // MS-DOS times count two seconds
  ASSERT_TRUE(date);
  EXPECT_EQ(FormatDosDateTime(*date), "2026-12-07T09:30:00");
  for (const char* bad : {"2026-13-01T00:00:00", "1979-12-31T23:59:58", "2026-12-07 09:30:00", "2026-12-07T09:30"})
    EXPECT_FALSE(ParseDosDateTime(bad)) << bad;
  EXPECT_FALSE(FormatDosDateTime(0));  // month 0: the dump writes the number instead
}

TEST(ProjectTextForms, DerivedFoldersLeaveSystemFoldersAlone) {
  EXPECT_EQ(DeriveFolders({"%InstallDir%\\Help\\Deep", "%INSTALLDIR%\\help\\", "%SysDir%\\", "%WinDir%\\Fonts\\",
                           "C:\\Tools\\", "", "\\\\server\\share\\"},
                          "%InstallDir%\\"),
            (std::vector<std::string>{"%InstallDir%\\", "%InstallDir%\\Help\\", "%InstallDir%\\Help\\Deep\\",
                                      "%WinDir%\\Fonts\\", "C:\\Tools\\", "\\\\server\\share\\"}));
  // The install folder is listed only when a file goes there or below.
  EXPECT_TRUE(DeriveFolders({"%DesktopDir%\\"}, "%InstallDir%\\").empty());
}
