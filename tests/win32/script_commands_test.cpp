// The script's text file and the registry commands against real files and Wine's registry.
// Every test works in a folder and a registry key of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "Win32Fixtures.h"

#include <atomic>
#include <fstream>
#include <sstream>

#include "DesktopFixture.h"
#include "platform/win32/SystemServices.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::string DwordBytes(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// The key comes first: the commands are made to look under it.
struct TKeyFirst {
  TTestKey Key;
};

struct DesktopCommandsTest : ::testing::Test, TKeyFirst, TDesktopFixture {
  DesktopCommandsTest() : TDesktopFixture({HKEY_CURRENT_USER, Key.Sub("Uninstall")}) {}
  using TDesktopFixture::Run;  // not the test base's own
  void SetUp() override { Vars.SetVariable("%ErrorCode%", "0"); }
  // FileOpen's answer.
  std::string Open(const std::string& path, const std::string& signature) {
    return Answer(OpFileOpen, path, signature);
  }
  std::string Read(const std::string& count) { return Answer(OpFileRead, count); }
  std::string ReadLine() { return Answer(OpFileReadLine, ""); }
};

using ScriptFileCommands = DesktopCommandsTest;
using RegistryCommands = DesktopCommandsTest;

}  // namespace

TEST_F(ScriptFileCommands, OpenCreatesAMissingFileAndChecksSignatures) {
  std::string path = Dir / "new.dat";
  EXPECT_EQ(Open(path, "0"), "OK");
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(Read("5"), "EOF");
  Run(OpFileClose);

  // An empty file holds no signature: neither a number nor the empty text matches.
  EXPECT_EQ(Open(path, "1234"), "MAGICERROR");
  Run(OpFileClose);
  EXPECT_EQ(Open(path, ""), "MAGICERROR");
  Run(OpFileClose);

  WriteBytes(path, DwordBytes(1234) + "rest");
  EXPECT_EQ(Open(path, "1234"), "OK");
  EXPECT_EQ(Read("10"), "rest");  // the signature has been read
  Run(OpFileClose);
  EXPECT_EQ(Open(path, "%Sig%"), "MAGICERROR");  // expanded: %Sig% is not set, so not 1234
  Run(OpFileClose);
  Vars.SetVariable("%Sig%", "1234");
  EXPECT_EQ(Open(path, "%Sig%"), "OK");
  Run(OpFileClose);
  EXPECT_EQ(Open(path, "0"), "OK");
  EXPECT_EQ(Read("4"), DwordBytes(1234));  // no check: the position stays at the start
  Run(OpFileClose);

  WriteBytes(path, DwordBytes(0) + "x");
  EXPECT_EQ(Open(path, ""), "OK");  // the empty signature is checked and counts as 0
  Run(OpFileClose);
  WriteBytes(path, "ab");
  EXPECT_EQ(Open(path, "25185"), "MAGICERROR");  // "ab" read short would be 25185
  Run(OpFileClose);
}

TEST_F(ScriptFileCommands, MagicErrorLeavesTheFileOpenForTheScript) {
  std::string path = Dir / "fresh.dat";
  ASSERT_EQ(Open(path, "7"), "MAGICERROR");
  Run(OpFileWrite, {"header"});  // a script may now write what it expects
  Run(OpFileClose);
  EXPECT_EQ(ReadBytes(path), "header");
  EXPECT_EQ(Var("%ErrorCode%"), "0");
}

TEST_F(ScriptFileCommands, OneFileAtATimeAndErrors) {
  std::string first = Dir / "first.txt", second = Dir / "second.txt";
  WriteBytes(first, "one");
  ASSERT_EQ(Open(first, "0"), "OK");
  EXPECT_EQ(Open(second, "0"), "OK");  // the open file stays; the new name is ignored
  EXPECT_FALSE(Exists(second));
  EXPECT_EQ(Read("3"), "one");
  Run(OpFileClose);

  EXPECT_EQ(Open(Dir / "missing folder\\x.txt", "0"), "ERROR");
  EXPECT_EQ(Open("", "0"), "ERROR");
  Run(OpFileWrite, {"x"});
  EXPECT_EQ(Var("%ErrorCode%"), "1");  // no file is open after a failed open
}

TEST_F(ScriptFileCommands, ReadLineKeepsWhatFollowsALoneCarriageReturn) {
  std::string path = Dir / "lines.txt";
  WriteBytes(path, "a\r\nb\rx");
  ASSERT_EQ(Open(path, "0"), "OK");
  EXPECT_EQ(ReadLine(), "a");
  EXPECT_EQ(ReadLine(), "b");
  EXPECT_EQ(Read("1"), "x");
  EXPECT_EQ(ReadLine(), "EOF");
  Run(OpFileClose);

  WriteBytes(path, "one\ntwo\r\n\r\nlast");
  ASSERT_EQ(Open(path, "0"), "OK");
  EXPECT_EQ(ReadLine(), "one\ntwo");  // a line feed alone does not end a line
  EXPECT_EQ(ReadLine(), "");
  EXPECT_EQ(ReadLine(), "last");
  EXPECT_EQ(ReadLine(), "EOF");
  Run(OpFileClose);

  // A line longer than the blocks the file is read in.
  std::string longLine(2000, 'q');
  WriteBytes(path, longLine + "\rz");
  ASSERT_EQ(Open(path, "0"), "OK");
  EXPECT_EQ(ReadLine(), longLine);
  EXPECT_EQ(ReadLine(), "z");
  Run(OpFileClose);
}

TEST_F(ScriptFileCommands, ReadCounts) {
  std::string path = Dir / "data.bin";
  WriteBytes(path, "0123456789");
  ASSERT_EQ(Open(path, "0"), "OK");
  Vars.SetVariable("%R%", "before");
  EXPECT_EQ(Read("0"), "");  // before the end: the empty text, not EOF
  EXPECT_EQ(Read("-4"), "");
  EXPECT_EQ(Read("3"), "012");
  EXPECT_EQ(Read("x2y"), "34");  // the count is read as an integer
  EXPECT_EQ(Read("2147483647"), "56789");
  EXPECT_EQ(Read("0"), "EOF");
  EXPECT_EQ(Read("5"), "EOF");
  Run(OpFileClose);
}

TEST_F(ScriptFileCommands, WritesGoToTheEnd) {
  std::string path = Dir / "log.txt";
  WriteBytes(path, "abc");
  Vars.SetVariable("%Name%", "Ann");
  ASSERT_EQ(Open(path, "0"), "OK");
  EXPECT_EQ(Read("1"), "a");
  Run(OpFileWrite, {"X"});
  Run(OpFileWriteLine, {"Hi %Name%"});
  Run(OpFileWriteLine, {""});
  Run(OpFileClose);
  EXPECT_EQ(ReadBytes(path), "abcXHi Ann\r\n\r\n");
  EXPECT_EQ(Var("%ErrorCode%"), "0");
}

TEST_F(ScriptFileCommands, CommandsWithoutAnOpenFileOnlySetTheErrorCode) {
  Vars.SetVariable("%R%", "kept");
  for (uint8_t op : {OpFileWrite, OpFileWriteLine, OpFileRead, OpFileReadLine}) {
    Vars.SetVariable("%ErrorCode%", "0");
    Run(op, {"%R%", "4"});
    EXPECT_EQ(Var("%ErrorCode%"), "1") << OpcodeName(op);
    EXPECT_EQ(Var("%R%"), "kept") << OpcodeName(op);
  }
  Vars.SetVariable("%ErrorCode%", "0");
  Run(OpFileClose);
  EXPECT_EQ(Var("%ErrorCode%"), "0");
}

TEST_F(ScriptFileCommands, TheFileStaysOpenUntilTheCommandsObjectEnds) {
  std::string path = Dir / "held.txt";
  {
    TDesktopCommands other(Ctx);
    other.Install();
    ASSERT_EQ(Open(path, "0"), "OK");
    EXPECT_FALSE(DeleteFileA(path.c_str()));  // held open
  }
  EXPECT_TRUE(DeleteFileA(path.c_str()));
  Desktop.Install();  // the context's commands referred to the object just ended
}

TEST_F(RegistryCommands, ReadsTextsAndNumbersElseTheDefault) {
  Key.SetText("R", "Text", "hello");
  Key.SetText("R", "Expand", "%SystemRoot%\\x", REG_EXPAND_SZ);
  Key.SetNumber("R", "Count", 42);
  Key.SetNumber("R", "Big", 0xFFFFFFFF);
  Key.Set("R", "Bin", REG_BINARY, "\1\2", 2);
  Vars.SetVariable("%Def%", "fallback");
  auto read = [&](const std::string& key, const std::string& name) {
    Run(OpRegRead, {"%R%", "HKEY_CURRENT_USER", key, name, "%Def%"});
    return Var("%R%");
  };
  std::string key = "\\" + Key.Sub("R") + "\\";  // one backslash each side is dropped
  EXPECT_EQ(read(key, "Text"), "hello");
  EXPECT_EQ(read(key, "Count"), "42");
  EXPECT_EQ(read(key, "Big"), "4294967295");
  EXPECT_EQ(read(key, "Bin"), "fallback");
  EXPECT_EQ(read(key, "Missing"), "fallback");
  EXPECT_EQ(read(Key.Sub("Nowhere"), "Text"), "fallback");
  EXPECT_FALSE(Key.KeyExists("Nowhere"));  // reading never creates
  // Stored unexpanded; the variable setting then expands what it is given.
  EXPECT_EQ(read(key, "Expand"), "%SystemRoot%\\x");
}

TEST_F(RegistryCommands, AnUnknownRootKeywordKeepsThePreviousRoot) {
  Key.SetText("R", "Text", "user");
  auto read = [&](const std::string& root) {
    Run(OpRegRead, {"%R%", root, Key.Sub("R"), "Text", "none"});
    return Var("%R%");
  };
  EXPECT_EQ(read(""), "user");  // starts at HKEY_CURRENT_USER
  EXPECT_EQ(read("HKEY_LOCAL_MACHINE"), "none");
  EXPECT_EQ(read("hkey_current_user"), "none");  // keywords compare exactly
  EXPECT_EQ(read("HKCU"), "none");
  // A write and a delete set the root too, and it stays for the next command.
  Run(OpRegWrite, {"HKEY_CURRENT_USER", Key.Sub("W"), "v", "1"});
  EXPECT_EQ(read("whatever"), "user");
  Run(OpRegDelete, {"HKEY_LOCAL_MACHINE", Key.Sub("Nothing"), "v"});
  EXPECT_EQ(read(""), "none");
}

TEST_F(RegistryCommands, WriteStoresDigitsAsNumbersAndTheRestAsText) {
  Vars.SetVariable("%N%", "0042");
  Run(OpRegWrite, {"HKEY_CURRENT_USER", Key.Sub("New\\Deep") + "\\", "Count", "%N%"});
  EXPECT_EQ(Key.Value("New\\Deep", "Count"), std::make_pair(DWORD(REG_DWORD), DwordBytes(42)));
  Run(OpRegWrite, {"HKEY_CURRENT_USER", Key.Sub("New\\Deep"), "Max", "2147483647"});
  EXPECT_EQ(Key.Value("New\\Deep", "Max"), std::make_pair(DWORD(REG_DWORD), DwordBytes(2147483647)));
  Run(OpRegWrite, {"HKEY_CURRENT_USER", Key.Sub("New\\Deep"), "Name", "Ann 2"});
  EXPECT_EQ(Key.Value("New\\Deep", "Name"), std::make_pair(DWORD(REG_SZ), std::string("Ann 2\0", 6)));
  Run(OpRegWrite, {"HKEY_CURRENT_USER", Key.Sub("New\\Deep"), "Neg", "-5"});
  EXPECT_EQ(Key.Value("New\\Deep", "Neg").first, DWORD(REG_SZ));
  Run(OpRegWrite, {"HKEY_CURRENT_USER", Key.Sub("New\\Deep"), "", "default"});
  EXPECT_EQ(Key.Value("New\\Deep", ""), std::make_pair(DWORD(REG_SZ), std::string("default\0", 8)));
}

TEST_F(RegistryCommands, WriteOfANumberThatDoesNotFitRaisesAndChangesNothing) {
  for (const char* value : {"99999999999", "2147483648", ""}) {
    ScriptStatement s;
    s.Opcode = OpRegWrite;
    s.F = {"HKEY_CURRENT_USER", Key.Sub("Raise"), "Count", value, ""};
    EXPECT_THROW(Ctx.Command(OpRegWrite)(s), EScriptError) << '"' << value << '"';
  }
  EXPECT_FALSE(Key.KeyExists("Raise"));
}

TEST_F(RegistryCommands, DeleteTakesTheValueBeforeTheKey) {
  Key.SetText("D", "", "default");
  Key.SetText("D", "Named", "x");
  Run(OpRegDelete, {"HKEY_CURRENT_USER", Key.Sub("D"), "Named"});
  EXPECT_EQ(Key.Value("D", "Named").first, DWORD(REG_NONE));
  Run(OpRegDelete, {"HKEY_CURRENT_USER", Key.Sub("D"), "Named"});  // missing named value: the key stays
  EXPECT_TRUE(Key.KeyExists("D"));
  Run(OpRegDelete, {"HKEY_CURRENT_USER", Key.Sub("D"), ""});  // the default value goes first
  EXPECT_TRUE(Key.KeyExists("D"));
  EXPECT_EQ(Key.Value("D", "").first, DWORD(REG_NONE));
  Run(OpRegDelete, {"HKEY_CURRENT_USER", "\\" + Key.Sub("D") + "\\", ""});  // then the key itself
  EXPECT_FALSE(Key.KeyExists("D"));

  Run(OpRegDelete, {"HKEY_CURRENT_USER", Key.Sub("Absent"), "v"});
  EXPECT_FALSE(Key.KeyExists("Absent"));  // deleting never creates
  Run(OpRegDelete, {"HKEY_CURRENT_USER", "\\", ""});  // the root itself is never a target
  HKEY software;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
  RegCloseKey(software);
}

TEST_F(RegistryCommands, IsProductInstalledNeedsTheDisplayVersion) {
  Key.SetText("Uninstall\\Acme Tool", "DisplayVersion", "1.0");
  Key.SetText("Uninstall\\Acme Other", "DisplayName", "Other");
  Vars.SetVariable("%Company%", "Acme");
  auto installed = [&](const std::string& software) {
    Run(OpIsProductInstalled, {"%R%", software, "%Company%"});
    return Var("%R%");
  };
  EXPECT_EQ(installed("Tool"), "1");
  EXPECT_EQ(installed("Other"), "0");
  EXPECT_EQ(installed("Missing"), "0");
  EXPECT_EQ(installed(""), "0");
}
