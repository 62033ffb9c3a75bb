// The signing options, the osslsigncode command they make, and the shell-free process call.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "vntbuild/assemble/OutputFiles.h"
#include "vntbuild/assemble/Process.h"
#include "vntbuild/assemble/Signing.h"
#include "vntbuild/assemble/StdFileStream.h"

using namespace vnt;
namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

// A folder of this test's own: tests run side by side, also from other checkouts.
fs::path OwnFolder() {
  return fs::temp_directory_path() /
         ("vnt-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
          std::to_string(getpid()));
}

TEST(SignOptions, AreTakenOutWhereverTheyStandAndTheRestKeepsItsOrder) {
  Args args = {"--timestamp", "http://ts.example/", "stub.exe", "--sign", "my cert.pfx", "out.exe",
               "--sign-password-file", "pass.txt", "--other"};
  TSignOptions o = TakeSignOptions(args);
  EXPECT_EQ(args, (Args{"stub.exe", "out.exe", "--other"}));
  EXPECT_TRUE(o.Enabled());
  EXPECT_EQ(o.Certificate, "my cert.pfx");
  EXPECT_EQ(o.PasswordFile, "pass.txt");
  EXPECT_EQ(o.TimestampUrl, "http://ts.example/");

  Args none = {"stub.exe", "out.exe"};
  EXPECT_FALSE(TakeSignOptions(none).Enabled());
  EXPECT_EQ(none.size(), 2u);
}

TEST(SignOptions, MisuseIsRefusedAndLeavesTheArgumentsAlone) {
  for (Args bad : {Args{"a", "--sign"}, Args{"--sign", "--timestamp", "http://x"}, Args{"--sign", ""},
                   Args{"--sign", "a.pfx", "--sign", "b.pfx"}, Args{"--sign-password-file", "p.txt"},
                   Args{"--timestamp", "http://x"}, Args{"--sign", "a.pfx", "--timestamp", "ts.example"}}) {
    Args before = bad;
    EXPECT_THROW(TakeSignOptions(bad), std::invalid_argument) << bad[0] << " " << bad.back();
    EXPECT_EQ(bad, before);
  }
}

TEST(SignCommand, NeverCarriesThePasswordAndAddsWhatIsAskedFor) {
  TSignOptions o{"c.pfx", "pass.txt", "https://ts.example/", "Hello \"World\""};
  Args argv = SignCommand(o, "in.exe", "in.exe.vntsign");
  EXPECT_EQ(argv, (Args{"osslsigncode", "sign", "-pkcs12", "c.pfx", "-h", "sha256", "-readpass", "/dev/stdin", "-n",
                        "Hello \"World\"", "-ts", "https://ts.example/", "-in", "in.exe", "-out", "in.exe.vntsign"}));
  Args plain = SignCommand({"c.pfx", "", "", ""}, "a", "b");
  EXPECT_EQ(plain, (Args{"osslsigncode", "sign", "-pkcs12", "c.pfx", "-h", "sha256", "-in", "a", "-out", "b"}));
}

TEST(PasswordFile, GivesItsFirstLineWithoutTheLineEndOfEitherSystem) {
  fs::path dir = OwnFolder();
  fs::create_directories(dir);
  std::string windows = (dir / "windows.txt").string(), unix = (dir / "unix.txt").string();
  WriteWholeFile(windows, "s3cret pass\r\nsecond line\r\n");
  WriteWholeFile(unix, "s3cret pass\n");
  EXPECT_EQ(ReadPasswordFile(windows), "s3cret pass");
  EXPECT_EQ(ReadPasswordFile(unix), "s3cret pass");
  EXPECT_EQ(ReadPasswordFile(""), "");
  EXPECT_THROW(ReadPasswordFile((dir / "missing.txt").string()), ESigningError);
  fs::remove_all(dir);
}

TEST(SignFile, WithoutItsCertificateFailsAndLeavesTheFileAsItWas) {
  fs::path dir = OwnFolder();
  fs::create_directories(dir);
  std::string file = (dir / "setup.exe").string();
  WriteWholeFile(file, "MZ unsigned");
  EXPECT_THROW(SignFile(file, {(dir / "missing.pfx").string(), "", "", ""}), ESigningError);
  EXPECT_EQ(ReadWholeFile(file), "MZ unsigned");
  EXPECT_THROW(SignSetup(file, {(dir / "missing.pfx").string(), "", "", ""}), ESigningError);
  EXPECT_FALSE(fs::exists(file)) << "a setup that cannot be signed must not ship";
  fs::remove_all(dir);
}

// The folder the uninstaller is signed in: a new name each time, open to its owner alone.
TEST(SigningFolder, IsNewPrivateAndGoesWithWhatItHolds) {
  fs::path kept;
  {
    TPrivateFolder a("vntbuild-"), b("vntbuild-");
    EXPECT_NE(a.Path(), b.Path());
    EXPECT_EQ(a.Path().parent_path(), fs::temp_directory_path());
    EXPECT_EQ(fs::status(a.Path()).permissions() & fs::perms::all, fs::perms::owner_all);
    WriteWholeFile((a.Path() / "vntuninst.exe").string(), "MZ");
    kept = a.Path();
  }
  EXPECT_FALSE(fs::exists(kept));
}

class RunProgramTest : public ::testing::Test {
protected:
  fs::path Dir = OwnFolder();
  std::string Output = (Dir / "output.txt").string();
  void SetUp() override { fs::create_directories(Dir); }
  void TearDown() override { fs::remove_all(Dir); }
};

TEST_F(RunProgramTest, ArgumentsReachTheProgramAsTheyAreWithoutAShell) {
  std::string planted = (Dir / "planted").string();
  Args hostile = {"two words", "it's", "\"quoted\"", "$(touch " + planted + ")", "`touch " + planted + "`",
                  "; touch " + planted, "back\\slash\\", "*", ""};
  Args argv = {"printf", "[%s]\\n"};
  argv.insert(argv.end(), hostile.begin(), hostile.end());
  TProgramRun run = RunProgram(argv, "", Output);
  ASSERT_TRUE(run.Started);
  EXPECT_EQ(run.ExitCode, 0);
  std::string want;
  for (const auto& a : hostile) want += "[" + a + "]\n";
  EXPECT_EQ(ReadWholeFile(Output), want);
  EXPECT_FALSE(fs::exists(planted));
}

TEST_F(RunProgramTest, InputExitStatusAndAMissingProgram) {
  TProgramRun run = RunProgram({"sh", "-c", "read line; echo \"got $line\"; echo oops >&2; exit 7"}, "secret\n", Output);
  EXPECT_TRUE(run.Started);
  EXPECT_EQ(run.ExitCode, 7);
  EXPECT_EQ(ReadWholeFile(Output), "got secret\noops\n");
  EXPECT_FALSE(RunProgram({"vnt-no-such-program"}, "", Output).Started);
  EXPECT_THROW(RunProgram({"cat"}, std::string(5000, 'x'), Output), std::length_error);
}

TEST(WindowsCommandArgument, QuotesSoThatTheRuntimeSplitsBackTheSameText) {
  EXPECT_EQ(WindowsCommandArgument("plain"), "plain");
  EXPECT_EQ(WindowsCommandArgument(R"(C:\dir\file.pfx)"), R"(C:\dir\file.pfx)");
  EXPECT_EQ(WindowsCommandArgument(""), R"("")");
  EXPECT_EQ(WindowsCommandArgument("two words"), R"("two words")");
  EXPECT_EQ(WindowsCommandArgument(R"(say "hi")"), R"("say \"hi\"")");
  EXPECT_EQ(WindowsCommandArgument(R"(C:\my dir\)"), R"("C:\my dir\\")");
  EXPECT_EQ(WindowsCommandArgument(R"(a\\"b c)"), R"("a\\\\\"b c")");
}

}  // namespace
