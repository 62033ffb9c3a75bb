// What the builder reads: regular files only, each within its limit, every refusal naming its
// place in the project; nothing it is given makes it wait without end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestFolder.h"
#include "TimeLimit.h"
#include "vntbuild/project/ProjectReader.h"

using namespace vnt;
using namespace vnt::test;
namespace fs = std::filesystem;

namespace {

class ProjectInputsTest : public ::testing::Test {
protected:
  void SetUp() override {
    Dir.Write("app.exe", "MZ");
    Dir.Write("start.vns", "MessageBox \"a\"\n");
    ASSERT_EQ(::mkfifo(Dir.Path("pipe").c_str(), 0600), 0);
    fs::create_directories(Dir.Path("sub"));
    fs::create_symlink("loop2", Dir.Path("loop1"));
    fs::create_symlink("loop1", Dir.Path("loop2"));
  }

  // The message reading the project gives, with "DIR/" for the test folder; "" when it reads,
  // "hangs" when it does not finish.
  std::string ErrorOf(const std::string& more, const std::string& files = R"([{"source": "app.exe"}])") {
    std::string path = Dir.Write("p.json", R"({"product": {"name": "A", "company": "B"}, "files": )" + files + more + "}");
    return ErrorReading(path);
  }
  std::string ErrorReading(const std::string& path) {
    auto answer = AnswerWithin(10, [&] {
      ReadProject(path);
      return std::string();
    });
    if (!answer) return "hangs";
    std::string root = Dir.Path("").string();
    for (size_t at; (at = answer->find(root)) != std::string::npos;) answer->replace(at, root.size(), "DIR/");
    return *answer;
  }

  TTestFolder Dir;
};

}  // namespace

TEST_F(ProjectInputsTest, OnlyRegularFilesAreReadAndEveryRefusalNamesItsPlace) {
  const std::string fifo = "a FIFO (named pipe), not a file: ";
  EXPECT_EQ(ErrorOf("", R"([{"source": "pipe"}])"), "DIR/p.json: /files/0/source: " + fifo + "DIR/pipe");
  EXPECT_EQ(ErrorOf("", R"([{"source": "/dev/zero"}])"), "DIR/p.json: /files/0/source: a device, not a file: /dev/zero");
  EXPECT_EQ(ErrorOf(R"(, "supportFiles": [{"source": "sub"}])"),
            "DIR/p.json: /supportFiles/0/source: a folder, not a file: DIR/sub");
  EXPECT_EQ(ErrorOf("", R"([{"source": "app.exe"}, {"source": "loop1"}])"),
            "DIR/p.json: /files/1/source: symbolic links loop: DIR/loop1");
  // A wildcard passes folders over but takes nothing else that is not a file.
  EXPECT_EQ(ErrorOf("", R"([{"source": "pi*"}])"), "DIR/p.json: /files/0/source: " + fifo + "DIR/pipe");
  EXPECT_EQ(ErrorOf("", R"([{"source": "s*"}])"), "");
  EXPECT_EQ(ErrorOf(R"(, "messageFile": "pipe")"), "DIR/p.json: /messageFile: " + fifo + "DIR/pipe");
  EXPECT_EQ(ErrorOf(R"(, "scripts": {"start": {"file": "/dev/zero"}})"),
            "DIR/p.json: /scripts/start/file: a device, not a file: /dev/zero");
  EXPECT_EQ(ErrorOf(R"(, "uninstaller": "pipe")"), "DIR/p.json: /uninstaller: " + fifo + "DIR/pipe");
  EXPECT_EQ(ErrorReading(Dir.Path("pipe").string()), "the project file: " + fifo + "DIR/pipe");
  EXPECT_EQ(ErrorReading("/dev/zero"), "the project file: a device, not a file: /dev/zero");
  EXPECT_EQ(ErrorOf(R"(, "scripts": {"start": {"file": "start.vns"}})"), "");
}

TEST_F(ProjectInputsTest, EachKindOfFileHasItsSizeLimit) {
  fs::path big = Dir.Write("big.json", "");
  fs::resize_file(big, (uint64_t(16) << 20) + 1);  // sparse: nothing is written
  EXPECT_EQ(ErrorReading(big.string()), "the project file: larger than 16777216 bytes, the most it may hold: DIR/big.json");
  fs::path huge = Dir.Write("huge.bin", "");
  fs::resize_file(huge, uint64_t(UINT32_MAX) + 1);
  EXPECT_EQ(ErrorOf("", R"([{"source": "huge.bin"}])"),
            "DIR/p.json: /files/0/source: larger than 4294967295 bytes, the most it may hold: DIR/huge.bin");
}

// Matching takes time in proportion to the pattern and the name, however many stars.
TEST_F(ProjectInputsTest, WildcardsWithManyStarsFinishAtOnce) {
  fs::create_directories(Dir.Path("w"));
  Dir.Write("w/" + std::string(90, 'a') + ".TXT", "x");
  const std::string stars = "*a*a*a*a*a*a*a*a*a*a*a*a*a";
  EXPECT_EQ(ErrorOf("", R"([{"source": "w/)" + stars + R"(*b"}])"),
            "DIR/p.json: /files/0/source: no file matches \"w/" + stars + "*b\"");
  EXPECT_EQ(ErrorOf("", R"([{"source": "w/)" + stars + R"(*.txt"}])"), "");
  EXPECT_EQ(ErrorOf("", R"([{"source": "w/a?a*a.t*"}])"), "");
  EXPECT_EQ(ErrorOf("", R"([{"source": "w/*a.tx"}])"), "DIR/p.json: /files/0/source: no file matches \"w/*a.tx\"");
}
