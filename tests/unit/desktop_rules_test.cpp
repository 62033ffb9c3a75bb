// The decisions behind the desktop script commands that need no system.
#include <gtest/gtest.h>

#include "script/DesktopRules.h"
#include "script/ScriptContext.h"

using namespace vnt;

namespace {

// A byte source over a text that counts how far it was read.
struct TBytes {
  std::string Data;
  size_t At = 0;
  TNextByte Source() {
    return [this]() -> std::optional<char> {
      if (At >= Data.size()) return std::nullopt;
      return Data[At++];
    };
  }
};

// Reads lines the way the file command does: each read starts where the last one's
// Consumed count ends.
std::vector<std::string> AllLines(const std::string& data) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < data.size()) {
    TBytes bytes{data.substr(start)};
    TScriptLine line = ReadScriptLine(bytes.Source());
    EXPECT_GT(line.Consumed, 0u);
    lines.push_back(line.Text);
    start += line.Consumed;
  }
  return lines;
}

}  // namespace

TEST(DesktopRules, LineEndsAtCarriageReturnWithOneLineFeed) {
  TBytes bytes{"a\r\nb\rx"};
  TScriptLine first = ReadScriptLine(bytes.Source());
  EXPECT_EQ(first.Text, "a");
  EXPECT_EQ(first.Consumed, 3u);
  TBytes rest{bytes.Data.substr(first.Consumed)};
  TScriptLine second = ReadScriptLine(rest.Source());
  EXPECT_EQ(second.Text, "b");
  EXPECT_EQ(second.Consumed, 2u);  // the x was looked at but stays unread
  EXPECT_EQ(AllLines("a\r\nb\rx"), (std::vector<std::string>{"a", "b", "x"}));
}

TEST(DesktopRules, LineFeedAloneAndOddEndings) {
  EXPECT_EQ(AllLines("a\nb\r\n"), (std::vector<std::string>{"a\nb"}));
  EXPECT_EQ(AllLines("\r\r\n\r"), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(AllLines("x\r\n\ny"), (std::vector<std::string>{"x", "\ny"}));  // only one line feed goes
  EXPECT_EQ(AllLines(std::string("n\0l\r", 4)), (std::vector<std::string>{std::string("n\0l", 3)}));
  TBytes empty{""};
  TScriptLine none = ReadScriptLine(empty.Source());
  EXPECT_EQ(none.Text, "");
  EXPECT_EQ(none.Consumed, 0u);
}

TEST(DesktopRules, LineReadInBlocks) {
  // The carriage return ends one block and its line feed starts the next; the line runs over
  // three blocks; what follows is read but not consumed.
  std::vector<std::string> blocks = {"ab", "c\r", "\nde", "f"};
  size_t next = 0;
  TScriptLine line = ReadScriptLineFromBlocks([&] { return next < blocks.size() ? blocks[next++] : std::string(); });
  EXPECT_EQ(line.Text, "abc");
  EXPECT_EQ(line.Consumed, 5u);
  EXPECT_EQ(next, 3u);
  next = 3;
  line = ReadScriptLineFromBlocks([&] { return next < blocks.size() ? blocks[next++] : std::string(); });
  EXPECT_EQ(line.Text, "f");
  EXPECT_EQ(line.Consumed, 1u);
  line = ReadScriptLineFromBlocks([] { return std::string(); });
  EXPECT_EQ(line.Text, "");
  EXPECT_EQ(line.Consumed, 0u);
}

TEST(DesktopRules, Signature) {
  EXPECT_FALSE(SignatureIsChecked("0"));
  EXPECT_TRUE(SignatureIsChecked(""));
  EXPECT_TRUE(SignatureIsChecked("00"));
  EXPECT_EQ(SignatureAnswer("1234", 1234), "OK");
  EXPECT_EQ(SignatureAnswer("1234", 1235), "MAGICERROR");
  EXPECT_EQ(SignatureAnswer("", 0), "OK");  // empty counts as 0
  EXPECT_EQ(SignatureAnswer("", std::nullopt), "MAGICERROR");
  EXPECT_EQ(SignatureAnswer("-1", -1), "OK");
  EXPECT_EQ(SignatureAnswer("x12y", 12), "OK");
}

TEST(DesktopRules, ReadCountStaysInsideTheFile) {
  EXPECT_EQ(BytesToRead(5, 0, 10), 5u);
  EXPECT_EQ(BytesToRead(5, 8, 10), 2u);
  EXPECT_EQ(BytesToRead(0, 0, 10), 0u);
  EXPECT_EQ(BytesToRead(-3, 0, 10), 0u);
  EXPECT_EQ(BytesToRead(2147483647, 3, 10), 7u);
  EXPECT_EQ(BytesToRead(4, 12, 10), 0u);
}

TEST(DesktopRules, RegistryRootsAndKeyPaths) {
  EXPECT_EQ(RegRootByKeyword("HKEY_CLASSES_ROOT"), RootClasses);
  EXPECT_EQ(RegRootByKeyword("HKEY_CURRENT_USER"), RootCurrentUser);
  EXPECT_EQ(RegRootByKeyword("HKEY_LOCAL_MACHINE"), RootLocalMachine);
  EXPECT_EQ(RegRootByKeyword("hkey_local_machine"), std::nullopt);  // exact comparison
  EXPECT_EQ(RegRootByKeyword("HKLM"), std::nullopt);
  EXPECT_EQ(RegRootByKeyword(""), std::nullopt);

  EXPECT_EQ(NormalRegistryKeyPath("\\Software\\A\\"), "Software\\A");
  EXPECT_EQ(NormalRegistryKeyPath("\\\\Software\\A\\\\"), "\\Software\\A\\");  // one of each only
  EXPECT_EQ(NormalRegistryKeyPath("\\"), "");
  EXPECT_EQ(NormalRegistryKeyPath("Software"), "Software");
}

TEST(DesktopRules, RegWriteNumberTest) {
  EXPECT_TRUE(PassesRegNumberTest("0123"));
  EXPECT_TRUE(PassesRegNumberTest(""));
  EXPECT_FALSE(PassesRegNumberTest("-1"));
  EXPECT_FALSE(PassesRegNumberTest("12 "));
  EXPECT_FALSE(PassesRegNumberTest("1.5"));

  EXPECT_EQ(RegWriteNumber("v", "42"), 42u);
  EXPECT_EQ(RegWriteNumber("v", "0"), 0u);
  EXPECT_EQ(RegWriteNumber("v", "000000000000007"), 7u);
  EXPECT_EQ(RegWriteNumber("v", "2147483647"), 2147483647u);
  EXPECT_THROW(RegWriteNumber("v", "2147483648"), EScriptError);
  EXPECT_THROW(RegWriteNumber("v", "99999999999"), EScriptError);
  try {
    RegWriteNumber("Count", "");
    ADD_FAILURE() << "an empty number must raise";
  } catch (const EScriptError& e) {
    EXPECT_NE(std::string(e.what()).find("\"Count\""), std::string::npos) << e.what();
  }
}

TEST(DesktopRules, FilePathParts) {
  EXPECT_EQ(FileNameOf("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(FileFolderOf("C:\\a\\b.txt"), "C:\\a");
  EXPECT_EQ(FileDriveOf("C:\\a\\b.txt"), "C:");
  EXPECT_EQ(FileExtensionOf("C:\\a\\b.txt"), ".txt");

  EXPECT_EQ(FileFolderOf("C:\\b.txt"), "C:");
  EXPECT_EQ(FileFolderOf("C:b.txt"), "C:");
  EXPECT_EQ(FileFolderOf("b.txt"), "");
  EXPECT_EQ(FileFolderOf("C:\\a\\\\b"), "C:\\a");
  EXPECT_EQ(FileNameOf("C:\\a\\"), "");
  EXPECT_EQ(FileNameOf("d:/x/y.z"), "y.z");
  EXPECT_EQ(FileExtensionOf("C:\\a.d\\b"), "");
  EXPECT_EQ(FileExtensionOf("C:\\a\\b.tar.gz"), ".gz");
  EXPECT_EQ(FileExtensionOf("C:\\a\\b."), ".");
  EXPECT_EQ(FileDriveOf("\\\\server\\share\\dir\\f.txt"), "\\\\server\\share");
  EXPECT_EQ(FileDriveOf("\\\\server"), "\\\\server");
  EXPECT_EQ(FileDriveOf("\\dir\\f.txt"), "");
  EXPECT_EQ(FileDriveOf(""), "");
}

TEST(DesktopRules, Keywords) {
  EXPECT_EQ(FileInfoKindOf("path"), TFileInfoKind::Path);
  EXPECT_EQ(FileInfoKindOf("Version"), TFileInfoKind::Version);
  EXPECT_EQ(FileInfoKindOf("EXISTENCE"), TFileInfoKind::Existence);
  EXPECT_EQ(FileInfoKindOf("SIZES"), TFileInfoKind::Unknown);
  EXPECT_EQ(FileInfoKindOf(""), TFileInfoKind::Unknown);

  EXPECT_EQ(MessageIconOf("QUESTION"), TMessageIcon::Question);
  EXPECT_EQ(MessageIconOf("WARNING"), TMessageIcon::Warning);
  EXPECT_EQ(MessageIconOf("ERROR"), TMessageIcon::Error);
  EXPECT_EQ(MessageIconOf("INFORMATION"), TMessageIcon::Information);
  EXPECT_EQ(MessageIconOf("question"), TMessageIcon::None);  // exact comparison
  EXPECT_EQ(MessageIconOf("INFO"), TMessageIcon::None);

  EXPECT_TRUE(DefaultAnswerIsNo("no"));
  EXPECT_TRUE(DefaultAnswerIsNo("NO"));
  EXPECT_FALSE(DefaultAnswerIsNo("NO "));
  EXPECT_FALSE(DefaultAnswerIsNo(""));
  EXPECT_FALSE(DefaultAnswerIsNo("YES"));
}

TEST(DesktopRules, ComposedPaths) {
  EXPECT_EQ(FindFilePattern("C:\\dir", "*.txt"), "C:\\dir\\*.txt");
  EXPECT_EQ(FindFilePattern("", "x"), "\\x");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\a\\\\"), "C:\\a\\");
  EXPECT_EQ(UninstallEntryKey("Software\\Uninstall", "Acme", "Tool"), "Software\\Uninstall\\Acme Tool");
}
