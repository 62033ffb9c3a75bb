// Library calls from scripts against a real library (vnttestlib.dll, built beside this
// program): argument order in both calling conventions, texts in and out, faults, missing
// pieces, library names, and the CallLibrary command through a script context.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "package/SetupVariables.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemBuiltins.h"
#include "script/ScriptContext.h"
#include "script/win32/DLLCall.h"

using namespace vnt;

namespace {

std::string TestLib() { return FolderOfFile(ProgramPath()) + "\\vnttestlib.dll"; }

// "1, 2, ..., n", or the same backwards.
std::string Counting(int n, bool backwards = false) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += (i > 1 ? ", " : "") + std::to_string(backwards ? n + 1 - i : i);
  return text;
}

int DigitsOf(int n, bool backwards = false) {
  if (n == 0) return 7;
  int r = 0;
  for (int i = 1; i <= n; ++i) r = r * 10 + (backwards ? n + 1 - i : i);
  return r;
}

// Keeps the test library loaded so that what "freememory" recorded can be read between calls.
struct TPinnedLib {
  HMODULE Module = LoadLibraryA(TestLib().c_str());
  ~TPinnedLib() { FreeLibrary(Module); }
  int Ask(const char* name) const {
    auto f = reinterpret_cast<int(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(Module, name)));
    return f ? f() : -1;
  }
};

struct TScratchFolder {
  std::string Path;
  TScratchFolder() {
    static int n = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Path = std::string(temp) + "vnt_dll_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++n);
    CreateDirectoryA(Path.c_str(), nullptr);
  }
  ~TScratchFolder() {
    for (const char* name : {"vnttestlib.dll", "notalib.dll"}) DeleteFileA((Path + "\\" + name).c_str());
    RemoveDirectoryA(Path.c_str());
  }
};

// The current folder for one test.
struct TCurrentFolder {
  char Old[MAX_PATH * 4] = "";
  explicit TCurrentFolder(const std::string& path) {
    GetCurrentDirectoryA(sizeof Old, Old);
    SetCurrentDirectoryA(path.c_str());
  }
  ~TCurrentFolder() { SetCurrentDirectoryA(Old); }
};

uintptr_t StackPointer() {
  uintptr_t sp;
  asm volatile("movl %%esp, %0" : "=r"(sp));
  return sp;
}

unsigned short FpuControl() {
  unsigned short control;
  asm volatile("fnstcw %0" : "=m"(control));
  return control;
}

struct DLLCall : ::testing::Test {
  TDLLCall Call;
  std::string Lib = TestLib();
  int32_t Number(const std::string& function, const std::string& args = "") {
    return Call.CallForNumber(Lib, function, args);
  }
  std::string Text(const std::string& function, const std::string& args = "") {
    return Call.CallForText(Lib, function, args);
  }
};

}  // namespace

TEST_F(DLLCall, FirstArgumentIsFirstParameterInBothConventions) {
  for (int n = 0; n <= 8; ++n) {
    for (bool backwards : {false, true}) {
      const std::string args = Counting(n, backwards);
      EXPECT_EQ(Number("StdDigits" + std::to_string(n), args), DigitsOf(n, backwards)) << args;
      EXPECT_FALSE(Call.Failed()) << n;
      EXPECT_EQ(Number("CDigits" + std::to_string(n), args), DigitsOf(n, backwards)) << args;
      EXPECT_FALSE(Call.Failed()) << n;
    }
  }
}

TEST_F(DLLCall, LongArgumentListsAndStackAlignment) {
  // count, then count numbers; the answer weighs each number by its position.
  for (int count : {16, 20, 40}) {
    int expected = 0;
    for (int i = 1; i <= count; ++i) expected += i * (count + 1 - i);
    EXPECT_EQ(Number("WeightedSum", std::to_string(count) + ", " + Counting(count, true)), expected) << count;
  }
  for (int extra = 0; extra <= 17; ++extra)
    EXPECT_EQ(Number("StackRemainder", Counting(extra + 1)), 0) << "16-byte alignment with " << extra + 1;
}

TEST_F(DLLCall, StackStaysBalancedWhateverTheFunctionPops) {
  volatile uint32_t canary[4] = {0xC0FFEE01, 0xC0FFEE02, 0xC0FFEE03, 0xC0FFEE04};
  const uintptr_t before = StackPointer();
  for (int i = 0; i < 500; ++i) {
    // Standard convention with too few arguments pops more than was pushed, with too many
    // less; the C convention pops nothing.
    Number("StdDigits8", "1, 2, 3");
    Number("StdDigits2", "1, 2, 3, 4, 5");
    Number("CDigits3", "1, 2, 3, 4, 5, 6");
    ASSERT_EQ(Number("StdDigits4", "4, 3, 2, 1"), 4321) << i;
  }
  EXPECT_EQ(StackPointer(), before);
  EXPECT_EQ(canary[0], 0xC0FFEE01u);
  EXPECT_EQ(canary[3], 0xC0FFEE04u);
  EXPECT_EQ(Number("StackRemainder", "1"), 0);
  EXPECT_EQ(Number("CDigits8", Counting(8)), 12345678);
}

TEST_F(DLLCall, TextsInAndOutWithFreememory) {
  TPinnedLib pinned;
  ASSERT_NE(pinned.Module, nullptr);
  const int freedBefore = pinned.Ask("FreedCalls");

  EXPECT_EQ(Text("Greet", "\"World\""), "Hello, World!");
  EXPECT_FALSE(Call.Failed());
  EXPECT_EQ(pinned.Ask("FreedCalls"), freedBefore + 1);
  EXPECT_EQ(pinned.Ask("FreedWhatWasGiven"), 1);

  // Mixed kinds keep their order; a comma inside quotes belongs to the text; "" is empty.
  EXPECT_EQ(Text("Describe", "\"a, b\", -12, \"\""), "[a, b|-12|]");
  EXPECT_EQ(Text("Describe", " \"x\" ,  7 ,\"y\" "), "[x|7|y]");
  EXPECT_EQ(pinned.Ask("FreedCalls"), freedBefore + 3);
  EXPECT_EQ(Number("TextLength", "\"four\""), 4);
  EXPECT_EQ(Number("TextLength", "\"\""), 0);

  // A null text is the empty text; there is nothing to free.
  EXPECT_EQ(Text("NullText"), "");
  EXPECT_FALSE(Call.Failed());
  EXPECT_EQ(pinned.Ask("FreedCalls"), freedBefore + 3);

  // A library without "freememory": the system's own, by bare name.
  EXPECT_EQ(Call.CallForText("kernel32.dll", "GetCommandLineA", ""), GetCommandLineA());
  EXPECT_FALSE(Call.Failed());
}

TEST_F(DLLCall, NegativeNumbers) {
  EXPECT_EQ(Number("Subtract", "3, 10"), -7);
  EXPECT_EQ(Number("Subtract", "-3, 10"), -13);
  EXPECT_EQ(Number("Negative"), INT32_MIN);
  EXPECT_FALSE(Call.Failed());
}

TEST_F(DLLCall, FaultsFailTheCallAndTheProgramGoesOn) {
  TPinnedLib pinned;
  const int freedBefore = pinned.Ask("FreedCalls");
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(Number("WriteNull"), 0);
    EXPECT_TRUE(Call.Failed());
    EXPECT_EQ(Number("DivideByZero", "5"), 0);
    EXPECT_TRUE(Call.Failed());
    EXPECT_EQ(Number("RaiseNoncontinuable"), 0);
    EXPECT_TRUE(Call.Failed());
    EXPECT_EQ(Text("WriteNull"), "");
    EXPECT_TRUE(Call.Failed());
    ASSERT_EQ(Number("StdDigits3", "3, 2, 1"), 321);
    EXPECT_FALSE(Call.Failed());
  }
  // A number where the script expects a text cannot be read: failed, and not freed.
  EXPECT_EQ(Text("NotAText"), "");
  EXPECT_TRUE(Call.Failed());
  EXPECT_EQ(pinned.Ask("FreedCalls"), freedBefore);
  // A fault that the library's own code handles is none of ours.
  EXPECT_EQ(Number("HandledFault"), 1);
  EXPECT_FALSE(Call.Failed());
}

TEST_F(DLLCall, FpuControlSurvivesTheCall) {
  const unsigned short before = FpuControl();
  EXPECT_EQ(Number("LowerFpuPrecision"), 1);
  EXPECT_EQ(FpuControl(), before);
  EXPECT_EQ(Number("DivideByZero", "1"), 0);
  EXPECT_TRUE(Call.Failed());
  EXPECT_EQ(FpuControl(), before);
  volatile double one = 1.0;
  const double third = one / 3.0;
  EXPECT_NEAR(third * 3.0, 1.0, 1e-15);
}

TEST_F(DLLCall, MissingPiecesFail) {
  EXPECT_EQ(Number("NoSuchFunction"), 0);
  EXPECT_TRUE(Call.Failed());
  for (const char* name : {"greet", "GREET", "stddigits0", "Freememory", ""}) {
    EXPECT_EQ(Text(name, "\"x\""), "") << name;
    EXPECT_TRUE(Call.Failed()) << name;
  }
  EXPECT_EQ(Number(std::string("StdDigits0\0x", 12)), 0);
  EXPECT_TRUE(Call.Failed());

  TScratchFolder folder;
  const std::string notALib = folder.Path + "\\notalib.dll";
  HANDLE h = CreateFileA(notALib.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "MZ not really", 13, &written, nullptr);
  CloseHandle(h);
  for (const std::string& library : {folder.Path + "\\missing.dll", notALib, folder.Path, std::string(""),
                                     std::string("Z:\\no\\such\\drive.dll")}) {
    EXPECT_EQ(Call.CallForNumber(library, "StdDigits0", ""), 0) << library;
    EXPECT_TRUE(Call.Failed()) << library;
  }
  // A failure does not stick.
  EXPECT_EQ(Number("StdDigits0"), 7);
  EXPECT_FALSE(Call.Failed());
}

TEST_F(DLLCall, EmptyAndRefusedArgumentTexts) {
  EXPECT_EQ(Number("StdDigits0", ""), 7);
  EXPECT_FALSE(Call.Failed());
  EXPECT_EQ(Number("CDigits0", " , ,"), 7);  // only empty tokens
  EXPECT_FALSE(Call.Failed());
  for (const char* args : {"\"open", "5 \"x\"", "\"x\" 5", "\"say \"\"hi\"\"\""}) {
    EXPECT_EQ(Number("TextLength", args), 0) << args;
    EXPECT_TRUE(Call.Failed()) << args;
  }
}

TEST_F(DLLCall, LibraryNames) {
  // A bare name is looked for in the system folder only: the copy beside this program and
  // the one in the current folder are both ignored.
  TScratchFolder planted;
  ASSERT_TRUE(CopyFileA(Lib.c_str(), (planted.Path + "\\vnttestlib.dll").c_str(), FALSE));
  {
    TCurrentFolder cwd(planted.Path);
    EXPECT_EQ(Call.CallForNumber("vnttestlib.dll", "StdDigits0", ""), 0);
    EXPECT_TRUE(Call.Failed());
    EXPECT_EQ(Call.CallForNumber("vnttestlib", "StdDigits0", ""), 0);
    EXPECT_TRUE(Call.Failed());
    // A path with a folder is the script's explicit choice, also a relative one.
    EXPECT_EQ(Call.CallForNumber(".\\vnttestlib.dll", "StdDigits1", "5"), 5);
    EXPECT_FALSE(Call.Failed());
  }
  EXPECT_EQ(Call.CallForNumber("kernel32", "GetCurrentProcessId", ""), int32_t(GetCurrentProcessId()));
  EXPECT_FALSE(Call.Failed());
  EXPECT_EQ(Call.CallForNumber(planted.Path + "/vnttestlib.dll", "StdDigits1", "6"), 6);
  EXPECT_FALSE(Call.Failed());
}

namespace {

struct CallLibraryCommand : ::testing::Test {
  TSystemInfo Info;
  TSystemBuiltins Builtins{Info};
  TSetupDescription Desc;
  TSetupVariables V{Desc, Builtins};
  TScriptContext Context{V};
  TDLLCall Call;
  CallLibraryCommand() {
    Call.Register(Context);
    V.SetVariable("%ErrorCode%", "0");
    V.SetVariable("%LibDir%", FolderOfFile(TestLib()));
  }
  void Run(const std::string& library, const std::string& function, const std::string& keyword,
           const std::string& f4, const std::string& f5 = "") {
    ScriptStatement s;
    s.Opcode = OpCallLibrary;
    s.F = {library, function, keyword, f4, f5};
    ASSERT_TRUE(Context.Command(OpCallLibrary));
    Context.Command(OpCallLibrary)(s);
  }
  std::string Result() { return V.ExpandText("%DLLResult%"); }
  std::string ErrorCode() { return V.ExpandText("%ErrorCode%"); }
};

}  // namespace

TEST_F(CallLibraryCommand, ResultsGoToDLLResult) {
  const std::string lib = "%LibDir%\\vnttestlib.dll";
  // The argument text is F4 directly followed by F5, expanded as one: a variable may span both.
  V.SetVariable("%Who%", "Vantry");
  Run(lib, "Greet", "STRING", "\"%W", "ho%\"");
  EXPECT_EQ(Result(), "Hello, Vantry!");
  Run(lib, "Subtract", "INTEGER", "1", "0, 25");
  EXPECT_EQ(Result(), "-15");
  Run(lib, "Negative", "INTEGER", "");
  EXPECT_EQ(Result(), "-2147483648");
  // Only "STRING" exactly asks for a text; anything else is a number.
  for (const char* keyword : {"", "string", "String", "TEXT"}) {
    Run(lib, "NotAText", keyword, "");
    EXPECT_EQ(Result(), "7") << keyword;
  }
  V.SetVariable("%Fn%", "StdDigits3");
  Run(lib, "%Fn%", "INTEGER", "9,8,7");
  EXPECT_EQ(Result(), "987");
  EXPECT_EQ(ErrorCode(), "0");
}

TEST_F(CallLibraryCommand, FailuresSetErrorCodeTwoAndERROR) {
  const std::string lib = "%LibDir%\\vnttestlib.dll";
  Run("%LibDir%\\absent.dll", "StdDigits0", "INTEGER", "");
  EXPECT_EQ(Result(), "ERROR");
  EXPECT_EQ(ErrorCode(), "2");

  // A later success sets the result but leaves the error code alone.
  V.SetVariable("%ErrorCode%", "0");
  Run(lib, "StdDigits0", "INTEGER", "");
  EXPECT_EQ(Result(), "7");
  Run(lib, "WriteNull", "STRING", "");
  EXPECT_EQ(Result(), "ERROR");
  EXPECT_EQ(ErrorCode(), "2");
  Run(lib, "StdDigits1", "INTEGER", "4");
  EXPECT_EQ(Result(), "4");
  EXPECT_EQ(ErrorCode(), "2");

  V.SetVariable("%ErrorCode%", "0");
  Run(lib, "greet", "STRING", "\"x\"");
  EXPECT_EQ(Result(), "ERROR");
  EXPECT_EQ(ErrorCode(), "2");
  V.SetVariable("%ErrorCode%", "0");
  Run(lib, "Greet", "STRING", "\"unterminated");
  EXPECT_EQ(Result(), "ERROR");
  EXPECT_EQ(ErrorCode(), "2");
}
