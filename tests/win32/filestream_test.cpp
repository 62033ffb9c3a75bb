#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "TestPackages.h"
#include "package/PackagePrimitives.h"
#include "package/PackageWriter.h"
#include "package/SetupFuncs.h"
#include "package/SetupSections.h"
#include "platform/win32/FileStream.h"

using namespace vnt;

namespace {

// A file of its own under the temporary folder, removed at the end of the test.
struct TTempFile {
  std::string Path;
  explicit TTempFile(const std::string& bytes) {
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "vnt", 0, name);
    Path = name;
    std::ofstream(Path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
  }
  ~TTempFile() { DeleteFileA(Path.c_str()); }
};

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = char((i * 7 + i / 251) & 0xFF);
  return s;
}

}  // namespace

TEST(FileStream, ReadsAcrossBufferBoundsAfterSeeks) {
  std::string bytes = Pattern(200000);
  TTempFile f(bytes);
  auto s = TFileStream::OpenRead(f.Path);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->Size(), bytes.size());
  for (uint64_t at : {uint64_t(0), uint64_t(65530), uint64_t(131071), uint64_t(199990), uint64_t(100)}) {
    s->Seek(at);
    std::string got(20, '\0');
    size_t n = s->Read(got.data(), got.size());
    size_t want = std::min<size_t>(20, bytes.size() - at);
    ASSERT_EQ(n, want) << at;
    EXPECT_EQ(got.substr(0, n), bytes.substr(at, n)) << at;
    EXPECT_EQ(s->Position(), at + n);
  }
  s->Seek(bytes.size() + 10);
  char c;
  EXPECT_EQ(s->Read(&c, 1), 0u);
}

// Read straight on, the blocks grow to a megabyte; a jump back into an earlier block or past
// the current one reads the right bytes again.
TEST(FileStream, ReadsStraightOnInGrowingBlocksAndJumpsExactly) {
  std::string bytes = Pattern(3000000);
  TTempFile f(bytes);
  auto s = TFileStream::OpenRead(f.Path);
  ASSERT_TRUE(s);
  std::string got(70001, '\0');
  for (size_t at = 0; at < bytes.size(); at += got.size()) {
    size_t n = s->Read(got.data(), got.size());
    ASSERT_EQ(n, std::min(got.size(), bytes.size() - at)) << at;
    ASSERT_TRUE(got.compare(0, n, bytes, at, n) == 0) << at;
  }
  for (uint64_t at : {uint64_t(70000), uint64_t(2999999), uint64_t(1048576), uint64_t(2200000), uint64_t(5)}) {
    s->Seek(at);
    size_t n = s->Read(got.data(), got.size());
    ASSERT_EQ(n, std::min<size_t>(got.size(), bytes.size() - at)) << at;
    EXPECT_TRUE(got.compare(0, n, bytes, size_t(at), n) == 0) << at;
  }
}

TEST(FileStream, ExcludesOtherWritersButNotReaders) {
  TTempFile f("content");
  auto s = TFileStream::OpenRead(f.Path);
  ASSERT_TRUE(s);
  HANDLE writer = CreateFileA(f.Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  auto second = TFileStream::OpenRead(f.Path);
  EXPECT_TRUE(second);
}

TEST(FileStream, MissingFileCannotBeOpened) {
  EXPECT_FALSE(TFileStream::OpenRead("C:\\no\\such\\file.exe"));
  TPackage pkg;
  EXPECT_FALSE(OpenPackage(pkg, "x", TFileStream::OpenRead("C:\\no\\such\\file.exe"), 0));
}

TEST(FileStream, StringsReadByteByByteStopAtTheEnd) {
  TTempFile f(std::string("abc\0def", 7));
  auto s = TFileStream::OpenRead(f.Path);
  ASSERT_TRUE(s);
  EXPECT_EQ(ReadPackageString(*s), "abc");
  EXPECT_THROW(ReadPackageString(*s), EPackageError);
}

TEST(ProgramInfo, OwnPathAndUnsetPackageEnd) {
  std::string path = ProgramPath();
  EXPECT_NE(path.find("vnt_win32_tests.exe"), std::string::npos);
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  // The test program carries no package-end resource.
  EXPECT_EQ(PackageEndResourceValue(), 0u);
}

TEST(PackageFile, DescriptionReadsBackFromARealFile) {
  TPackageContent c = test::RichContent();
  TTempFile f(AppendPackage(test::FakeImage(70000), c));
  TPackage pkg;
  ASSERT_TRUE(OpenPackage(pkg, f.Path, TFileStream::OpenRead(f.Path), 0));
  ASSERT_TRUE(PackageIsValid(pkg));
  TSetupDescription d;
  std::string language;
  ReadDescription(pkg, d, language, true);
  EXPECT_EQ(d.Languages, c.Description.Languages);
  EXPECT_EQ(d.ProductFiles, c.Description.ProductFiles);
  EXPECT_EQ(d.Properties, c.Description.Properties);
  EXPECT_EQ(d.BackItems, c.Description.BackItems);
  EXPECT_EQ(d.DeviceTable, c.Description.DeviceTable);
  EXPECT_EQ(language, "English");
  ClosePackage(pkg);
  // Closed: the file may be written again.
  HANDLE h = CreateFileA(f.Path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

TEST(PackageFile, FileHeldByAWriterCannotBeOpened) {
  TTempFile f("data");
  HANDLE writer = CreateFileA(f.Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  TPackage pkg;
  EXPECT_FALSE(OpenPackage(pkg, f.Path, TFileStream::OpenRead(f.Path), 0));
  CloseHandle(writer);
}
