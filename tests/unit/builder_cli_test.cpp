// The builder's command line: -D values in the project's texts, parts of a project read from
// other files, -v and -q, and exit codes that tell a wrong command line, a wrong project and a
// failed write apart.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "TestFolder.h"
#include "TestImages.h"
#include "vntbuild/BuildCommand.h"
#include "vntbuild/CommandLine.h"
#include "vntbuild/assemble/Assembler.h"
#include "vntbuild/project/ProjectReader.h"

using namespace vnt;
using namespace vnt::test;

namespace {

using TDefines = std::map<std::string, std::string>;

class BuilderCommandLineTest : public ::testing::Test {
protected:
  void SetUp() override {
    Dir.Write("app.exe", "MZ");
    Dir.Write("sub/tool.exe", "MZ");
    Dir.Write("stub.exe", StubImage());
  }

  // The message reading p.json gives, with "DIR/" for the test folder; "" when it reads.
  std::string ErrorOf(const std::string& body, const TDefines& defines = {}) {
    std::string path = Dir.Write("p.json", body).string();
    try {
      Project = ReadProject(path, {defines});
      return "";
    } catch (const EProjectError& e) {
      std::string message = e.what();
      std::string root = Dir.Path("").string();
      for (size_t at; (at = message.find(root)) != std::string::npos;) message.replace(at, root.size(), "DIR/");
      return message;
    }
  }

  // Runs "vntbuild build ARGS" as main does: the exit code, with what went to the console.
  int Build(std::vector<std::string> args) {
    std::ostringstream err, out;
    auto* saved = std::cout.rdbuf(out.rdbuf());
    int code = RunReportingFailures("build", [&] { return RunBuild(args, ""); }, err);
    std::cout.rdbuf(saved);
    Out = out.str();
    Err = err.str();
    return code;
  }

  std::string P(const std::string& name) const { return Dir.Path(name).string(); }

  TTestFolder Dir;
  TProject Project;
  std::string Out, Err;
};

const std::string Files = R"("files": [{"source": "app.exe"}])";

}  // namespace

TEST_F(BuilderCommandLineTest, DefinesFillTheTextsOfProjectAndMessageFiles) {
  std::vector<std::string> args = {"-D", "A=1", "keep", "-DB=x=y", "-D", "A=2"};
  EXPECT_EQ(TakeDefines(args), (TDefines{{"A", "2"}, {"B", "x=y"}}));  // the later value wins
  EXPECT_EQ(args, std::vector<std::string>{"keep"});
  for (std::vector<std::string> bad : {std::vector<std::string>{"-D"}, {"-D", "=1"}, {"-D", "A"}, {"-D1A=2"}})
    EXPECT_THROW(TakeDefines(bad), EUsageError) << bad.back();

  Dir.Write("m.json", R"({"7": "Quit ${PRODUCT}?"})");
  const TDefines defines = {{"PRODUCT", "Zéd"}, {"VERSION", "2.0"}};
  EXPECT_EQ(ErrorOf(R"({"product": {"name": "${PRODUCT}", "company": "B", "displayVersion": "v${VERSION}",
                        "description": "$${PRODUCT} is %SoftwareName%"},
                        "messageFile": "m.json", )" + Files + "}",
                    defines),
            "");
  const TSetupProperties& p = Project.Content.Description.Properties;
  EXPECT_EQ(p.SoftwareName, "Z\xE9" "d");  // a value's characters go into the code page too
  EXPECT_EQ(p.DisplayVersion, "v2.0");
  EXPECT_EQ(p.Description, "${PRODUCT} is %SoftwareName%");
  EXPECT_EQ(Project.Content.Description.SingleTable.Texts[7], "Quit Z\xE9" "d?");

  EXPECT_EQ(ErrorOf(R"({"product": {"name": "A", "company": "${COMPANY}"}})", defines),
            "DIR/p.json: /product/company: ${COMPANY} is not defined; give it with -D COMPANY=VALUE");
  EXPECT_EQ(ErrorOf(R"({"product": {"name": "A ${ B", "company": "B"}})", defines),
            "DIR/p.json: /product/name: \"${\" starts no ${NAME} (write $${ for the characters themselves)");
}

TEST_F(BuilderCommandLineTest, IncludesReadValuesFromOtherFilesWithTheirOwnFolder) {
  Dir.Write("sub/files.json", R"([{"source": "tool.exe"}, {"include": "more.json"}])");
  Dir.Write("sub/more.json", R"({"source": "../app.exe", "destination": "${DEST}"})");
  Dir.Write("product.json", R"({"name": "A", "company": "B"})");
  EXPECT_EQ(ErrorOf(R"({"product": {"include": "product.json"}, "files": {"include": "sub/files.json"}})",
                    {{"DEST", "%InstallDir%\\Extra"}}),
            "");
  ASSERT_EQ(Project.ProductFiles.size(), 2u);
  EXPECT_EQ(Project.ProductFiles[0].SourcePath, P("sub/tool.exe"));
  EXPECT_EQ(Project.ProductFiles[1].Record.File.DestFolder, "%InstallDir%\\Extra\\");
  bool noted = false;  // so that -o can never write over it
  for (const auto& f : Project.OtherInputs) noted |= f.Path == P("sub/more.json");
  EXPECT_TRUE(noted);

  Dir.Write("sub/bad.json", R"({"source": "tool.exe", "overwrite": "sometimes"})");
  Dir.Write("a.json", R"({"include": "b.json"})");
  Dir.Write("b.json", R"([{"include": "a.json"}])");
  const std::string head = R"({"product": {"name": "A", "company": "B"}, "files": )";
  struct TCase {
    std::string Files, Message;
  } cases[] = {
      {R"([{"include": "sub/bad.json"}])",
       "DIR/sub/bad.json: /overwrite (included at DIR/p.json: /files/0): expected one of: ask, askMustReplace, never, "
       "existingOnly, ifNewerVersion, ifNewerDate, always, askExistingOnly, askByVersion, askByDate (or a number)"},
      {R"({"include": "a.json"})",
       "DIR/b.json: /0/include (included at DIR/a.json: / (included at DIR/p.json: /files)): the include goes round "
       "in a circle: DIR/a.json -> DIR/b.json -> DIR/a.json"},
      {R"({"include": "p.json"})",
       "DIR/p.json: /files/include: the include goes round in a circle: DIR/p.json -> DIR/p.json"},
      {R"({"include": "none.json"})", "DIR/p.json: /files/include: included file not found: DIR/none.json"},
      {R"({"include": "sub/files.json", "more": 1})",
       "DIR/p.json: /files: an include stands alone in its object: {\"include\": \"file.json\"}"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(head + c.Files + "}"), c.Message) << c.Files;
}

TEST_F(BuilderCommandLineTest, ExitCodesTellUsageProjectAndWriteFailuresApart) {
  Dir.Write("p.json", R"({"product": {"name": "A", "company": "B"}, "options": {"createUninstaller": false}, )" + Files +
                          "}");
  Dir.Write("bad.json", R"({"product": {"name": "A"}})");
  const std::vector<std::string> stub = {"--stub", P("stub.exe")};
  auto with = [&](std::vector<std::string> args) {
    args.insert(args.end(), stub.begin(), stub.end());
    return args;
  };

  EXPECT_EQ(Build({P("p.json")}), ExitUsage);
  EXPECT_EQ(Build(with({P("p.json"), "-o", P("s.exe"), "-v", "-q"})), ExitUsage);
  EXPECT_NE(Err.find("-v and -q cannot go together"), std::string::npos) << Err;
  EXPECT_EQ(Build(with({P("bad.json"), "-o", P("s.exe")})), ExitProjectError);
  EXPECT_NE(Err.find("the key \"company\" is required"), std::string::npos) << Err;
  EXPECT_EQ(Build({P("p.json"), "-o", P("s.exe"), "--stub", P("app.exe")}), ExitProjectError);  // no stub
  EXPECT_EQ(Build(with({P("p.json"), "-o", P("app.exe/s.exe")})), ExitWriteFailure);
  EXPECT_NE(Err.find("cannot write"), std::string::npos) << Err;
  EXPECT_EQ(Build(with({P("p.json"), "-o", P("s.exe"), "--sign", P("none.pfx")})), ExitWriteFailure);
  EXPECT_FALSE(std::filesystem::exists(Dir.Path("s.exe")));

  EXPECT_EQ(Build(with({P("p.json"), "-o", P("s.exe"), "-q"})), ExitDone);
  EXPECT_EQ(Out, "");
  EXPECT_TRUE(std::filesystem::exists(Dir.Path("s.exe")));
  EXPECT_EQ(Build(with({P("p.json"), "-o", P("s.exe"), "-v"})), ExitDone);
  EXPECT_NE(Out.find("read " + P("p.json") + " (the project file)"), std::string::npos) << Out;
  EXPECT_NE(Out.find("read " + P("app.exe") + " (" + P("p.json") + ": /files/0/source)"), std::string::npos) << Out;
  EXPECT_NE(Out.find("wrote " + P("s.exe")), std::string::npos) << Out;
  EXPECT_EQ(Build(with({P("p.json"), "-o", P("s.exe")})), ExitDone);
  EXPECT_EQ(Out.find("read "), std::string::npos) << Out;
  EXPECT_NE(Out.find("1 files"), std::string::npos) << Out;
}

TEST(BuildSummary, CountsTheWarningsListedOnStandardError) {
  TBuildSummary summary;
  summary.Files = 2;
  auto printed = [&](bool signedSetup) {
    std::ostringstream out;
    PrintBuildSummary(summary, signedSetup, out);
    return out.str();
  };
  const std::string line = SummaryLine(summary);
  EXPECT_EQ(printed(false), line + "\n");
  summary.Warnings = {"p.json: /shortcuts/0/target: warning: no file \"app.exe\" is installed"};
  EXPECT_EQ(printed(true), line + ", signed, 1 warning (listed on standard error)\n");
  summary.Warnings.push_back("second");
  EXPECT_EQ(printed(false).substr(line.size()), ", 2 warnings (listed on standard error)\n");
}
