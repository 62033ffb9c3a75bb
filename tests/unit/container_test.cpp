#include <gtest/gtest.h>

#include "TestPackages.h"
#include "package/PackagePrimitives.h"
#include "package/PackageWriter.h"
#include "package/SetupFuncs.h"
#include "package/SetupSections.h"
#include "package/SetupStrings.h"

using namespace vnt;
using namespace vnt::test;

namespace {
std::string RichFile() { return AppendPackage(FakeImage(0x42A00), RichContent()); }
}  // namespace

TEST(Container, DirectoryFollowsTheImageAndSectionsFollowTheDirectory) {
  std::string file = RichFile();
  TPackage pkg = OpenBytes(file);
  ASSERT_TRUE(PackageIsValid(pkg));
  EXPECT_EQ(pkg.DirectoryOffset, 0x42A00u);
  EXPECT_EQ(pkg.Directory[0], 0x42A48u);
  EXPECT_EQ(pkg.PackageEnd, file.size());
  EXPECT_EQ(pkg.ArchiveOffset, int32_t(pkg.Directory[SecProductArchive]));
  for (int i = 1; i < SectionCount; ++i) EXPECT_GE(pkg.Directory[i], pkg.Directory[i - 1]);
  EXPECT_EQ(file.substr(file.size() - 4), std::string("fVN\0", 4));
}

TEST(Container, OptionBytes) {
  TPackageContent c = RichContent();
  c.Options = {0, 0, 0, 0, 0, 1, 0};
  TPackage pkg = OpenBytes(AppendPackage(FakeImage(), c));
  ASSERT_TRUE(PackageIsValid(pkg));
  EXPECT_TRUE(pkg.Option(OptCreateUninstaller));
  EXPECT_FALSE(pkg.Option(OptDeviceOnly));
  EXPECT_FALSE(pkg.Option(OptOwnFonts));
  // Any non-zero value counts as set.
  c.Options = {0, 0, 0, 0, 0, 0, 0x80};
  EXPECT_TRUE(OpenBytes(AppendPackage(FakeImage(), c)).Option(OptOwnFonts));
}

TEST(Container, MagicIsComparedAsFourBytes) {
  std::string file = RichFile();
  file.back() = 'x';  // "fVN" followed by another byte
  TPackage pkg = OpenBytes(file);
  EXPECT_TRUE(pkg.PackageStream != nullptr);
  EXPECT_FALSE(PackageIsValid(pkg));
}

TEST(Container, FilesWithoutPackage) {
  EXPECT_FALSE(PackageIsValid(OpenBytes(FakeImage())));
  EXPECT_FALSE(PackageIsValid(OpenBytes("")));
  EXPECT_FALSE(PackageIsValid(OpenBytes("short")));
  std::string file = RichFile();
  EXPECT_FALSE(PackageIsValid(OpenBytes(file.substr(0, file.size() - 1))));
  EXPECT_FALSE(PackageIsValid(OpenBytes(file.substr(0, file.size() / 2))));
}

TEST(Container, UnopenableFileAnswersFalse) {
  TPackage pkg;
  EXPECT_FALSE(OpenPackage(pkg, "missing.exe", nullptr, 0));
  EXPECT_FALSE(PackageIsValid(pkg));
}

TEST(Container, PackageEndFromResourceIgnoresWhatFollows) {
  std::string file = RichFile();
  uint32_t end = uint32_t(file.size());
  std::string withTail = file + std::string(3000, '\x5A');
  EXPECT_FALSE(PackageIsValid(OpenBytes(withTail)));
  TPackage pkg = OpenBytes(withTail, end);
  ASSERT_TRUE(PackageIsValid(pkg));
  TSetupDescription d;
  std::string lang;
  ReadDescription(pkg, d, lang, true);
  TSetupDescription expected = RichContent().Description;
  expected.DefaultLanguageName = "English";
  expected.DeviceConnectionMessage = expected.Languages[0].Messages.Texts[MsgDeviceConnecting];
  EXPECT_EQ(d, expected);
  // Readers stop at the package end, not at the end of the file.
  EXPECT_EQ(pkg.PackageStream->Size(), end - TrailerSize);
}

TEST(Container, ResourceEndBeyondTheFileIsDamage) {
  std::string file = RichFile();
  EXPECT_FALSE(PackageIsValid(OpenBytes(file, uint32_t(file.size() + 1))));
  EXPECT_FALSE(PackageIsValid(OpenBytes(file, 5)));
}

TEST(Container, DirectoryOutsideThePackageIsDamage) {
  std::string file = RichFile();
  TMemoryStream s(file);
  // Trailer's directory offset beyond the end.
  s.Seek(file.size() - 12);
  WriteU32(s, uint32_t(file.size()));
  EXPECT_FALSE(PackageIsValid(OpenBytes(s.Bytes())));
  // One directory entry beyond the end.
  TMemoryStream t(file);
  t.Seek(0x42A00 + 4 * SecShortcuts);
  WriteU32(t, 0xFFFFFF00u);
  EXPECT_FALSE(PackageIsValid(OpenBytes(t.Bytes())));
  // The option bytes would run into the trailer.
  TMemoryStream u(file);
  u.Seek(0x42A00 + 4 * SecOptions);
  WriteU32(u, uint32_t(file.size() - 12 - 3));
  EXPECT_FALSE(PackageIsValid(OpenBytes(u.Bytes())));
}

TEST(Container, ArchiveOffsetForExternalVolumes) {
  TPackageContent c = RichContent();
  c.ExternalArchive = true;
  TPackage pkg = OpenBytes(AppendPackage(FakeImage(), c));
  ASSERT_TRUE(PackageIsValid(pkg));
  EXPECT_LT(pkg.ArchiveOffset, 1);
}

TEST(Container, SeekSectionPositionsEveryReader) {
  TPackageContent c = RichContent();
  c.RawSections[SecProductArchive] = std::string("ARCHIVE-BYTES");
  TPackage pkg = OpenBytes(AppendPackage(FakeImage(), c));
  ASSERT_TRUE(PackageIsValid(pkg));
  TStream& s = SeekSection(pkg, SecProductArchive);
  char buf[13];
  s.ReadExact(buf, sizeof buf);
  EXPECT_EQ(std::string(buf, 13), "ARCHIVE-BYTES");
  EXPECT_THROW(SeekSection(pkg, SectionCount), EPackageError);
  ClosePackage(pkg);
  EXPECT_EQ(pkg.PackageStream, nullptr);
  EXPECT_THROW(SeekSection(pkg, 0), EPackageError);
}
