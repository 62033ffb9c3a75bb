// The desktop commands on files and folders, shortcuts, windows, programs and message boxes,
// against Wine's file system, shell, window manager and processes. Every test works in a
// folder of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "Win32Fixtures.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "DesktopFixture.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/ShellLink.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

using namespace vnt;
using namespace vnt::test;

namespace {

std::string FirstLine(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::string line;
  std::getline(f, line);
  return line;
}

// The show command as stored in a link file's header (a 32-bit number at offset 60).
int ShowCommandField(const std::string& linkPath) {
  std::ifstream f(linkPath, std::ios::binary);
  char header[64] = {};
  f.read(header, sizeof header);
  return uint8_t(header[60]) | uint8_t(header[61]) << 8 | uint8_t(header[62]) << 16 | uint8_t(header[63]) << 24;
}

bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

struct DesktopSystemTest : ::testing::Test, TDesktopFixture {
  using TDesktopFixture::Run;  // not the test base's own
  std::string Info(const std::string& file, const std::string& keyword) {
    return Answer(OpQueryFileInfo, file, keyword);
  }
  std::string Find(const std::string& pattern, const std::string& folder) {
    return Answer(OpFindFile, pattern, folder);
  }
};

using FileSystemCommands = DesktopSystemTest;
using ShortcutCommands = DesktopSystemTest;
using WindowCommands = DesktopSystemTest;
using ProgramCommands = DesktopSystemTest;
using MessageCommands = DesktopSystemTest;
using DesktopCommandTable = DesktopSystemTest;

}  // namespace

TEST_F(FileSystemCommands, QueryFileInfoParts) {
  EXPECT_EQ(Info("C:\\a\\b.txt", "PATH"), "C:\\a");
  EXPECT_EQ(Info("C:\\a\\b.txt", "extension"), ".txt");  // keywords ignore case
  EXPECT_EQ(Info("C:\\a\\b.txt", "Drive"), "C:");
  EXPECT_EQ(Info("C:\\a\\b.txt", "NAME"), "b.txt");
  EXPECT_EQ(Info("C:\\a\\b.txt", "OWNER"), "");

  std::string file = Dir / "five.txt";
  WriteBytes(file, "12345");
  EXPECT_EQ(Info(file, "SIZE"), "5");
  EXPECT_EQ(Info(file, "EXISTENCE"), "1");
  EXPECT_EQ(Info(file, "VERSION"), "0.0.0.0");  // no version resource
  EXPECT_EQ(Info(Dir / "none.txt", "SIZE"), "0");
  EXPECT_EQ(Info(Dir / "none.txt", "EXISTENCE"), "0");
  EXPECT_EQ(Info(Dir.Path, "EXISTENCE"), "0");  // a folder is not a file
}

TEST_F(FileSystemCommands, QueryFileInfoVersionOfASystemLibrary) {
  std::string kernel = SystemSystemFolder() + "\\kernel32.dll";
  std::optional<VS_FIXEDFILEINFO> fixed = TSystemInfo::GetFileVersion(kernel);
  ASSERT_TRUE(fixed);
  std::string expected = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                         std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                         std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                         std::to_string(LOWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(Info(kernel, "VERSION"), expected);
  EXPECT_NE(expected, "0.0.0.0");
}

TEST_F(FileSystemCommands, FindFileWithWildcards) {
  WriteBytes(Dir / "alpha.txt", "a");
  WriteBytes(Dir / "beta.dat", "b");
  EXPECT_EQ(Find("*.txt", Dir.Path), "1");
  EXPECT_EQ(Find("a?pha.txt", Dir.Path + "\\"), "1");
  EXPECT_EQ(Find("?.txt", Dir.Path), "0");
  EXPECT_EQ(Find("*.log", Dir.Path), "0");
  EXPECT_EQ(Find("beta.dat", Dir.Path), "1");
  EXPECT_EQ(Find("", Dir.Path), "0");

  std::string empty = Dir / "empty";
  ASSERT_TRUE(CreateDirectoryA(empty.c_str(), nullptr));
  EXPECT_EQ(Find("*", empty), "0");  // "." and ".." are not found files
  EXPECT_EQ(Find("empty", Dir.Path), "1");  // folders count
}

TEST_F(FileSystemCommands, DeleteCopyMove) {
  std::string a = Dir / "a.txt", b = Dir / "b.txt", c = Dir / "c.txt";
  WriteBytes(a, "first");
  WriteBytes(b, "second");
  Run(OpFileCopy, {a, b});  // replaces the target
  EXPECT_EQ(FirstLine(b), "first");

  WriteBytes(c, "third");
  Run(OpFileMove, {c, a});  // an existing target makes the move fail
  EXPECT_EQ(FirstLine(a), "first");
  EXPECT_TRUE(Exists(c));
  Run(OpFileMove, {c, Dir / "d.txt"});
  EXPECT_FALSE(Exists(c));
  EXPECT_EQ(FirstLine(Dir / "d.txt"), "third");

  SetFileAttributesA(b.c_str(), FILE_ATTRIBUTE_READONLY);
  Run(OpFileDelete, {b});
  EXPECT_FALSE(Exists(b));
  Run(OpFileDelete, {Dir / "never.txt"});  // silent
  Run(OpFileCopy, {Dir / "never.txt", Dir / "copy.txt"});
  EXPECT_FALSE(Exists(Dir / "copy.txt"));
}

TEST_F(FileSystemCommands, FoldersOneLevelAtATime) {
  std::string one = Dir / "one";
  Run(OpCreateFolder, {one + "\\"});
  EXPECT_TRUE(FolderExists(one));
  Run(OpCreateFolder, {Dir / "x\\y"});  // only the last level is created
  EXPECT_FALSE(FolderExists(Dir / "x"));

  WriteBytes(one + "\\f.txt", "f");
  Run(OpRemoveFolder, {one});  // not empty: stays
  EXPECT_TRUE(FolderExists(one));
  DeleteFileA((one + "\\f.txt").c_str());
  Run(OpRemoveFolder, {one + "\\"});
  EXPECT_FALSE(FolderExists(one));
}

TEST_F(ShortcutCommands, CreateReadBackAndDelete) {
  TComSession com;
  std::string target = Dir / "app.exe";
  WriteBytes(target, "MZ");
  Vars.SetVariable("%Target%", target);
  Run(OpCreateShortcut, {Dir.Path, "My App", "%Target%", "/quiet \"x y\"", Dir / "work"});

  std::string link = Dir / "My App.lnk";
  ASSERT_TRUE(Exists(link));
  TShellLink read;
  ASSERT_TRUE(read);
  ASSERT_TRUE(read.Load(link));
  char text[MAX_PATH * 2] = "";
  ASSERT_TRUE(SUCCEEDED(read.Link()->GetPath(text, sizeof text, nullptr, 0)));
  EXPECT_TRUE(SameText(text, target)) << text;
  ASSERT_TRUE(SUCCEEDED(read.Link()->GetArguments(text, sizeof text)));
  EXPECT_STREQ(text, "/quiet \"x y\"");
  ASSERT_TRUE(SUCCEEDED(read.Link()->GetWorkingDirectory(text, sizeof text)));
  EXPECT_TRUE(SameText(text, Dir / "work")) << text;
  // The link file keeps show command 5; readers take any value but 3 and 7 as "normal".
  EXPECT_EQ(ShowCommandField(link), SW_SHOW);
  int show = 0;
  ASSERT_TRUE(SUCCEEDED(read.Link()->GetShowCmd(&show)));
  EXPECT_EQ(show, SW_SHOWNORMAL);

  // No working folder given: none is stored.
  Run(OpCreateShortcut, {Dir.Path + "\\", "Plain", target, "", ""});
  TShellLink plain;
  ASSERT_TRUE(plain.Load(Dir / "Plain.lnk"));
  text[0] = 'x';
  plain.Link()->GetWorkingDirectory(text, sizeof text);
  EXPECT_STREQ(text, "");

  Run(OpDeleteShortcut, {Dir.Path, "My App"});
  EXPECT_FALSE(Exists(link));
  EXPECT_TRUE(Exists(Dir / "Plain.lnk"));
  Run(OpDeleteShortcut, {Dir.Path + "\\", "Plain"});
  EXPECT_FALSE(Exists(Dir / "Plain.lnk"));
}

TEST_F(ShortcutCommands, WithoutComNothingIsWritten) {
  // COM is not initialised on a fresh thread: the command must fail quietly.
  std::thread worker([&] { Run(OpCreateShortcut, {Dir.Path, "NoCom", Dir / "x.exe", "", ""}); });
  worker.join();
  EXPECT_FALSE(Exists(Dir / "NoCom.lnk"));
}

namespace {

// A hidden top-level window of a class of its own, destroyed at the end.
struct TTestWindow {
  std::string ClassName = UniqueName("VntTestWnd");
  std::string Title = "Vantry test window " + ClassName;
  HWND Handle = nullptr;
  TTestWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ClassName.c_str();
    RegisterClassA(&wc);
    Handle = CreateWindowA(ClassName.c_str(), Title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, wc.hInstance, nullptr);
  }
  ~TTestWindow() {
    DestroyWindow(Handle);
    UnregisterClassA(ClassName.c_str(), GetModuleHandleA(nullptr));
  }
};

// Takes the next message of one kind for the window (or the thread) off the queue.
bool TakeMessage(HWND window, UINT message) {
  MSG msg;
  return PeekMessageA(&msg, window, message, message, PM_REMOVE) != FALSE;
}

}  // namespace

TEST_F(WindowCommands, WindowExistsByClassAndTitle) {
  TTestWindow w;
  ASSERT_TRUE(w.Handle);
  auto exists = [&](const std::string& cls, const std::string& title) {
    Run(OpWindowExists, {"%R%", cls, title});
    return Var("%R%");
  };
  EXPECT_EQ(exists(w.ClassName, ""), "1");
  EXPECT_EQ(exists(w.ClassName, w.Title), "1");
  EXPECT_EQ(exists(w.ClassName, "another title"), "0");
  EXPECT_EQ(exists(w.ClassName + "X", ""), "0");
  EXPECT_EQ(exists("", w.Title), "0");
  EXPECT_EQ(exists("", ""), "0");  // never "any window"
}

TEST_F(WindowCommands, CloseWindowPostsCloseOrQuit) {
  TTestWindow w;
  ASSERT_TRUE(w.Handle);
  Run(OpCloseWindow, {w.ClassName, w.Title, ""});
  EXPECT_TRUE(TakeMessage(w.Handle, WM_CLOSE));
  EXPECT_FALSE(TakeMessage(nullptr, WM_QUIT));

  Run(OpCloseWindow, {w.ClassName, "", "1"});
  EXPECT_TRUE(TakeMessage(nullptr, WM_QUIT));
  EXPECT_FALSE(TakeMessage(w.Handle, WM_CLOSE));

  Run(OpCloseWindow, {w.ClassName, "", " 1"});  // only exactly "1" asks to quit
  EXPECT_TRUE(TakeMessage(w.Handle, WM_CLOSE));
  Run(OpCloseWindow, {w.ClassName, "wrong title", "1"});
  Run(OpCloseWindow, {"", "", "0"});
  EXPECT_FALSE(TakeMessage(nullptr, WM_CLOSE));
  EXPECT_FALSE(TakeMessage(nullptr, WM_QUIT));
}

namespace {

// cwdprobe.exe copied into a test folder (with a blank in its name).
std::string CopyProbe(const TTempFolder& dir) {
  std::string built = FolderOfFile(ProgramPath()) + "\\cwdprobe.exe", exe = dir / "cwdprobe.exe";
  CopyFileA(built.c_str(), exe.c_str(), FALSE);
  return exe;
}

bool AwaitFile(const std::string& path) {
  for (int i = 0; i < 3000; ++i) {
    if (Exists(path)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

TEST_F(ProgramCommands, ExecuteProgramWaitsAndRunsInTheProgramsFolder) {
  std::string exe = CopyProbe(Dir);
  ASSERT_TRUE(Exists(exe));
  std::string out = Dir / "out.txt";
  Run(OpExecuteProgram, {exe, "\"" + out + "\"", "1"});
  ASSERT_TRUE(Exists(out));  // the wait covered the whole run
  EXPECT_TRUE(SameText(FirstLine(out), Dir.Path)) << FirstLine(out);
}

TEST_F(ProgramCommands, ExecuteProgramWaitsOnlyForExactlyOne) {
  std::string exe = CopyProbe(Dir);
  for (const char* flag : {"", "0", "yes"}) {
    std::string out = Dir / ("out" + std::string(flag) + ".txt"), go = Dir / ("go" + std::string(flag));
    Run(OpExecuteProgram, {exe, "\"" + out + "\" \"wait:" + go + "\"", flag});
    EXPECT_FALSE(Exists(out)) << "waited for flag \"" << flag << '"';
    WriteBytes(go, "");
    ASSERT_TRUE(AwaitFile(out)) << flag;
  }
  Run(OpExecuteProgram, {Dir / "missing.exe", "", "1"});  // not reported, does not hang
}

TEST_F(ProgramCommands, OpenDocumentRunsInTheFilesFolder) {
  // A batch file is a document whose default action runs it; it reports where it ran.
  std::string script = Dir / "probe.bat";
  WriteBytes(script, "@cd > \"%~dp0where.txt\"\r\n");
  Run(OpOpenDocument, {script});
  ASSERT_TRUE(AwaitFile(Dir / "where.txt"));
  // The file exists before the batch has written its line: wait for the line's end.
  for (int i = 0; i < 100 && ReadBytes(Dir / "where.txt").find('\n') == std::string::npos; ++i) Sleep(50);
  std::string where = FirstLine(Dir / "where.txt");
  if (!where.empty() && where.back() == '\r') where.pop_back();
  EXPECT_TRUE(SameText(where, Dir.Path)) << where;
}

namespace {

// What a helper thread saw of the message box it answered.
struct TBoxSeen {
  bool Found = false;
  HWND Owner = nullptr;
  int DefaultId = 0;  // the button drawn as the default one
  HICON Icon = nullptr;
};

// Waits for the message box with this caption, notes what it looks like and presses a button.
// (Under Xvfb without a window manager Wine takes about two seconds to take a box down, so
// these tests show as few boxes as they can.)
std::thread AnswerBox(const std::string& caption, int button, TBoxSeen& seen) {
  return std::thread([caption, button, &seen] {
    HWND box = nullptr;
    // The box exists before its initialisation has set the default button; it is shown after.
    for (int i = 0; i < 1000 && !(box && IsWindowVisible(box)); ++i) {
      box = FindWindowA("#32770", caption.c_str());
      if (!box || !IsWindowVisible(box)) Sleep(10);
    }
    if (!box) return;
    seen.Found = true;
    seen.Owner = GetWindow(box, GW_OWNER);
    for (int id : {IDOK, IDYES, IDNO}) {
      HWND b = GetDlgItem(box, id);
      if (b && (GetWindowLongA(b, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.DefaultId = id;
    }
    // The icon control of the system's message box.
    seen.Icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
    PostMessageA(box, WM_COMMAND, button, 0);
  });
}

}  // namespace

TEST_F(MessageCommands, AskYesNoDefaultButtonIconAndAnswer) {
  TTestWindow owner;
  Desktop.OwnerWindow = [&] { return owner.Handle; };
  struct TCase {
    const char* Before;
    const char* Icon;
    int Press;
    int ExpectedDefault;
    const char* Answer;
  };
  // "question" is not a keyword: keywords compare exactly, so that box has no icon.
  for (const TCase& c : {TCase{"no", "QUESTION", IDYES, IDNO, "YES"}, TCase{"", "question", IDNO, IDYES, "NO"}}) {
    std::string caption = UniqueName("Vantry ask ");
    Vars.SetVariable("%Answer%", c.Before);
    TBoxSeen seen;
    std::thread answer = AnswerBox(caption, c.Press, seen);
    Run(OpAskYesNo, {"%Answer%", caption, "Go on?", c.Icon});
    answer.join();
    ASSERT_TRUE(seen.Found) << c.Before;
    EXPECT_EQ(seen.DefaultId, c.ExpectedDefault) << '"' << c.Before << '"';
    EXPECT_EQ(seen.Owner, owner.Handle);
    EXPECT_EQ(seen.Icon, std::string(c.Icon) == "QUESTION" ? LoadIconA(nullptr, IDI_QUESTION) : nullptr);
    EXPECT_EQ(Var("%Answer%"), c.Answer);
  }
}

TEST_F(MessageCommands, MessageBoxShowsTheExpandedCaptionAndIcon) {
  Vars.SetVariable("%Who%", "you");
  std::string caption = UniqueName("Vantry note %Who% ");
  TBoxSeen seen;
  std::thread answer = AnswerBox(Vars.ExpandText(caption), IDOK, seen);
  Run(OpMessageBox, {caption, "Hello %Who%", "WARNING"});
  answer.join();
  ASSERT_TRUE(seen.Found);  // found under the expanded caption
  EXPECT_EQ(seen.Icon, LoadIconA(nullptr, IDI_WARNING));
}

TEST_F(DesktopCommandTable, HooksAndOpcodesLeftToOthers) {
  Run(OpLoadPreviousSetup);  // unset: nothing happens
  int calls = 0;
  Desktop.LoadPreviousSetup = [&] { ++calls; };
  Run(OpLoadPreviousSetup);
  EXPECT_EQ(calls, 1);

  for (uint8_t op : {OpMessageBox, OpAskYesNo, OpOpenDocument, OpFileOpen, OpFileWrite, OpFileWriteLine, OpFileRead,
                     OpFileReadLine, OpFileClose, OpRegRead, OpRegWrite, OpRegDelete, OpExecuteProgram, OpFileDelete,
                     OpFileCopy, OpFileMove, OpQueryFileInfo, OpFindFile, OpCreateFolder, OpRemoveFolder,
                     OpCreateShortcut, OpDeleteShortcut, OpWindowExists, OpCloseWindow, OpIsProductInstalled})
    EXPECT_TRUE(Ctx.Command(op)) << OpcodeName(op);
  // Commands built elsewhere are not taken over.
  for (uint8_t op : {OpAssignVariable, OpCalculate, OpRandomNumber, OpDecToHex, OpHexToDec, OpPadNumber, OpPause,
                     OpCallLibrary, OpNextPage, OpDeviceRegRead})
    EXPECT_FALSE(Ctx.Command(op)) << OpcodeName(op);
}
