#include <gtest/gtest.h>

#include "TestPackages.h"
#include "package/PackageWriter.h"
#include "package/SetupSections.h"
#include "package/SetupStrings.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSetupLanguage Lang(const std::string& name, bool isDefault) {
  TSetupLanguage l;
  l.Name = name;
  l.Default = isDefault;
  for (int i = 0; i < MessageCount; ++i) l.Messages.Texts[i] = name + ":" + std::to_string(i);
  return l;
}

TSetupDescription Load(std::vector<TSetupLanguage> langs, std::string& language) {
  TPackageContent c;
  c.Description.Languages = std::move(langs);
  TPackage pkg = OpenBytes(AppendPackage(FakeImage(), c));
  TSetupDescription d;
  ReadMessages(pkg, d, language);
  return d;
}

}  // namespace

TEST(Messages, DefaultEnglishTable) {
  const TSetupMessages& m = DefaultMessages();
  EXPECT_EQ(m[0], "OK");
  EXPECT_EQ(m[13], "Drive <drive> have not space to install %SoftwareName%. Setup cannot continue and will now exit.");
  EXPECT_EQ(m[27], "The file <file> already exists. Do you want to replace this file with a older version?");
  EXPECT_EQ(m[53], "Vantry is starting %SoftwareName% Setup, please wait...");
  EXPECT_EQ(m[61], "Connecting to Windows CE device...");
  EXPECT_EQ(m[68], "Destination File");
  EXPECT_NE(m[8].find("ActiveSync"), std::string::npos);
  EXPECT_NE(m[64].find("HotSync"), std::string::npos);
  for (const auto& text : m) EXPECT_FALSE(text.empty());
}

TEST(Messages, CurrentTableFollowsLanguageIgnoringCase) {
  std::string language;
  TSetupDescription d = Load({Lang("English", true), Lang("Deutsch", false)}, language);
  EXPECT_EQ(language, "English");
  EXPECT_EQ(d.DefaultLanguageName, "English");
  EXPECT_EQ(GetMessage(d, 1, "deutsch"), "Deutsch:1");
  EXPECT_EQ(GetMessage(d, 1, "DEUTSCH"), "Deutsch:1");
  EXPECT_EQ(GetMessage(d, 1, "Klingon"), "English:1");
  EXPECT_EQ(GetMessage(d, 1, ""), "English:1");
  EXPECT_EQ(GetMessage(d, 69, "English"), "");
  EXPECT_EQ(GetMessage(d, -1, "English"), "");
}

TEST(Messages, WithoutDefaultTheFirstLanguageServes) {
  std::string language;
  TSetupDescription d = Load({Lang("Deutsch", false), Lang("English", false)}, language);
  EXPECT_EQ(language, "");
  EXPECT_EQ(d.DefaultLanguageName, "");
  EXPECT_EQ(GetMessage(d, 0, language), "Deutsch:0");
  EXPECT_EQ(d.DeviceConnectionMessage, "Deutsch:61");
}

TEST(Messages, LastDefaultLanguageWins) {
  std::string language;
  TSetupDescription d = Load({Lang("English", true), Lang("Deutsch", true)}, language);
  EXPECT_EQ(language, "Deutsch");
  EXPECT_EQ(d.DefaultLanguageName, "Deutsch");
  // An unknown name falls back to the first default language, not the last.
  EXPECT_EQ(GetMessage(d, 0, "none"), "English:0");
}

TEST(Messages, DeviceConnectionMessageKeepsTheStartLanguage) {
  std::string language;
  TSetupDescription d = Load({Lang("English", false), Lang("Deutsch", true)}, language);
  EXPECT_EQ(d.DeviceConnectionMessage, "Deutsch:61");
  language = "English";
  EXPECT_EQ(GetMessage(d, MsgDeviceConnecting, language), "English:61");
  EXPECT_EQ(d.DeviceConnectionMessage, "Deutsch:61");
}

TEST(Messages, LanguageIdGoesIntoItsTable) {
  std::string language;
  TSetupLanguage l = Lang("English", true);
  l.LanguageId = 0x409;
  TSetupDescription d = Load({l}, language);
  EXPECT_EQ(d.Languages[0].Messages.LanguageId, 0x409);
}
