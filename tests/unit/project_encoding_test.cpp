// Texts of project and script files are UTF-8 and reach the setup in the code page that
// applies; what a code page cannot hold, and bytes that are not UTF-8, are refused where
// they stand.
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "package/PackageWriter.h"
#include "vntbuild/project/CodePage.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/project/ProjectWriter.h"

using namespace vnt;
using namespace vnt::test;

namespace {

const std::string Bom = "\xEF\xBB\xBF";

std::string ErrorOf(const TTestFolder& dir, const std::string& body) {
  dir.Write("app.exe", "MZ");
  std::string path = dir.Write("p.json", body).string();
  try {
    ReadProject(path);
    return "";
  } catch (const EProjectError& e) {
    std::string message = e.what();
    std::string root = dir.Path("").string();
    for (size_t at; (at = message.find(root)) != std::string::npos;) message.replace(at, root.size(), "DIR/");
    return message;
  }
}

}  // namespace

// The language switch of a script compares with the language's name: both must be the same
// code page bytes, whichever file they come from.
TEST(ProjectEncoding, UtfEightTextsReachTheSetupInTheirCodePage) {
  TTestFolder dir;
  dir.Write("app.exe", "MZ");
  dir.Write("start.vns", Bom + "If \"%Language% = Français|\"\r\n  MessageBox \"D\\xE9j\\xE0 là\"\nEndIf\n");
  std::string path = dir.Write("p.json", Bom + R"({
    "product": {"name": "Café", "company": "B"},
    "languages": [
      {"name": "Français", "id": 1036, "messages": {"1": "Annuler €"}},
      {"name": "Russian", "id": 1049, "codePage": 1251, "messages": {"1": "Отмена"}, "wizard": {"Next": "Далее >"}}
    ],
    "files": [{"source": "app.exe"}],
    "scripts": {"start": {"file": "start.vns"}, "close": "MessageBox \"Adiós\""}
  })").string();
  TProject p = ReadProject(path);
  const TSetupDescription& d = p.Content.Description;
  EXPECT_EQ(d.Properties.SoftwareName, "Caf\xE9");
  EXPECT_EQ(d.Languages[0].Name, "Fran\xE7" "ais");
  EXPECT_EQ(d.Languages[0].Messages.Texts[1], "Annuler \x80");
  EXPECT_EQ(d.Languages[1].Messages.Texts[1], "\xCE\xF2\xEC\xE5\xED\xE0");
  EXPECT_EQ(p.WizardTranslations.at("Russian").at("Next"), "\xC4\xE0\xEB\xE5\xE5 >");
  const TScript& start = d.Scripts[0];
  ASSERT_EQ(start.size(), 3u);
  EXPECT_EQ(start[0].Condition, "%Language% = Fran\xE7" "ais|");
  EXPECT_EQ(start[1].F[0], "D\xE9j\xE0 l\xE0");  // escapes and characters give the same bytes
  EXPECT_EQ(d.Scripts[3][0].F[0], "Adi\xF3s");
  std::string package = BuildPackage(p.Content, 4096);
  EXPECT_NE(package.find("Fran\xE7" "ais"), std::string::npos);
  EXPECT_EQ(package.find("Fran\xC3\xA7" "ais"), std::string::npos);

  // A dump writes its script files in UTF-8 again, and a language's messages in the code page
  // Windows has for its id.
  TProjectText dump = WriteProject(d, p.Content.Options, true);
  ASSERT_FALSE(dump.ScriptFiles.empty());
  EXPECT_NE(dump.ScriptFiles[0].Text.find("Fran\xC3\xA7" "ais"), std::string::npos) << dump.ScriptFiles[0].Text;
  EXPECT_NE(dump.Json.find(R"("codePage": 1251)"), std::string::npos) << dump.Json;
  EXPECT_NE(dump.Json.find("Отмена"), std::string::npos) << dump.Json;
  EXPECT_NE(dump.Json.find("Annuler €"), std::string::npos) << dump.Json;
}

TEST(ProjectEncoding, WhatACodePageCannotHoldIsRefusedWhereItStands) {
  TTestFolder dir;
  dir.Write("s.vns", "MessageBox \"a\"\nMessageBox \"Ω\"\nMessageBox \"caf\xE9\"\nMessageBox \"\xC0\xAF\"\n");
  const std::string head = R"({"product": {"name": "A", "company": "B"}, "files": [{"source": "app.exe"}])";
  struct TCase {
    std::string More, Message;
  } cases[] = {
      {R"(, "registry": [{"root": "HKCU", "key": "Ω"}])",
       "DIR/p.json: /registry/0/key: the character U+03A9 has no place in code page 1252"},
      {R"(, "codePage": 1253, "registry": [{"root": "HKCU", "key": "Ω"}])", ""},
      {R"(, "codePage": 932)", "DIR/p.json: /codePage: expected one of the code pages 1250 (Central European), "
                               "1251 (Cyrillic), 1252 (Western European), 1253 (Greek), 1254 (Turkish), "
                               "1255 (Hebrew), 1256 (Arabic), 1257 (Baltic), 1258 (Vietnamese)"},
      // A language's own texts follow its code page, its name the setup's.
      {R"(, "languages": [{"name": "Ελληνικά", "codePage": 1253}])",
       "DIR/p.json: /languages/0/name: the character U+0395 has no place in code page 1252"},
      {R"(, "languages": [{"name": "Greek", "codePage": 1253, "messages": {"2": "€ Ж"}}])",
       "DIR/p.json: /languages/0/messages/2: the character U+0416 has no place in code page 1253"},
      {R"(, "scripts": {"start": ["MessageBox \"a\"", "MessageBox \"Ω\""]})",
       "DIR/p.json: /scripts/start/1: the character U+03A9 has no place in code page 1252"},
      // Every line of a script file that cannot be taken, in one message.
      {R"(, "scripts": {"start": {"file": "s.vns"}})",
       "DIR/s.vns:2: the character U+03A9 has no place in code page 1252\n"
       "DIR/s.vns:3: the byte 0xE9 at column 16 is not valid UTF-8\n"
       "DIR/s.vns:4: the byte 0xC0 at column 13 is not valid UTF-8"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(dir, head + c.More + "}"), c.Message) << c.More;
  // Bytes that are not UTF-8 in the project file itself: the JSON reader names line and column.
  std::string message = ErrorOf(dir, "{\"product\": {\"name\": \"caf\xE9\", \"company\": \"B\"}}");
  EXPECT_EQ(message.rfind("DIR/p.json:1:", 0), 0u) << message;
}

TEST(ProjectEncoding, EveryByteOfEveryCodePageGoesThereAndBack) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  for (int cp = 1250; cp <= 1258; ++cp) {
    ASSERT_TRUE(IsKnownCodePage(cp));
    std::string what;
    auto back = Utf8ToCodePage(CodePageToUtf8(all, cp), what, cp);
    ASSERT_TRUE(back) << cp << ": " << what;
    EXPECT_EQ(*back, all) << cp;
  }
  EXPECT_FALSE(IsKnownCodePage(437));
  EXPECT_EQ(CodePageToUtf8("\x8A", 1250), "Š");
  EXPECT_EQ(CodePageToUtf8("\xC0", 1251), "А");
  EXPECT_EQ(CodePageToUtf8("\x80", 1252), "€");
  // Overlong forms and surrogates would let one character pass for another.
  std::string what;
  for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3"})
    EXPECT_FALSE(Utf8ToCodePage(bad, what)) << bad;
}
