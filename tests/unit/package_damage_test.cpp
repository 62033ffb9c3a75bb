#include <gtest/gtest.h>

#include "TestPackages.h"
#include "package/PackagePrimitives.h"
#include "package/PackageWriter.h"
#include "package/SetupSections.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// Reads the whole description; answers false when the data was refused as damaged.
bool ReadsCleanly(const std::string& file) {
  TPackage pkg = OpenBytes(file);
  if (!PackageIsValid(pkg)) return false;
  TSetupDescription d;
  std::string language;
  try {
    ReadDescription(pkg, d, language, true);
    return true;
  } catch (const EPackageError&) {
    return false;
  }
}

std::string Raw(std::initializer_list<uint32_t> words, const std::string& tail = "") {
  TMemoryStream s;
  for (uint32_t w : words) WriteU32(s, w);
  s.Write(tail.data(), tail.size());
  return s.Bytes();
}

}  // namespace

TEST(Damage, UnterminatedStringAtThePackageEndIsRefused) {
  // The trailer after the last section holds zero bytes; a text must not run into it.
  TPackageContent c = RichContent();
  c.RawSections[SecDeviceTable] = Raw({1}, std::string("\x01unterminated"));
  EXPECT_FALSE(ReadsCleanly(AppendPackage(FakeImage(), c)));
}

TEST(Damage, HugeCountsAreRefusedBeforeAllocating) {
  for (int section : {SecVariables, SecBackItems, SecShortcuts, SecRegistry, SecSupportFiles, SecDeviceTable,
                      SecProgressBitmaps, SecMessages}) {
    TPackageContent c = RichContent();
    c.RawSections[section] = Raw({0x7FFFFFFF}, std::string(64, 'a'));
    EXPECT_FALSE(ReadsCleanly(AppendPackage(FakeImage(), c))) << "section " << section;
  }
  TPackageContent c = RichContent();
  c.RawSections[SecProductFiles] = Raw({0}, std::string("\0\0", 2) + Raw({0xFFFFFFF0}));
  EXPECT_FALSE(ReadsCleanly(AppendPackage(FakeImage(), c)));
  c.RawSections[SecComponents] = Raw({0, 0, 0, 0x10000000});
  EXPECT_FALSE(ReadsCleanly(AppendPackage(FakeImage(), c)));
}

TEST(Damage, TruncatedSectionsAreRefused) {
  using TReader = void (*)(TPackage&, TSetupDescription&);
  std::string language;
  const std::vector<std::pair<int, TReader>> readers = {
      {SecProperties, [](TPackage& p, TSetupDescription& d) { ReadProperties(p, d, &d.Properties, &d.Requirements); }},
      {SecMessages, [](TPackage& p, TSetupDescription& d) { std::string l; ReadMessages(p, d, l); }},
      {SecProperties2, [](TPackage& p, TSetupDescription& d) { ReadPropertiesPart2(p, d.Properties); }},
      {SecVariables, ReadVariables}, {SecBackItems, ReadBackItems}, {SecComponents, ReadComponents},
      {SecProgressBitmaps, ReadProgressBitmaps}, {SecFolders, ReadFolders}, {SecSupportFiles, ReadSupportFiles},
      {SecProductFiles, ReadProductFiles}, {SecShortcuts, ReadShortcuts}, {SecRegistry, ReadRegistryChanges},
      {SecDeviceTable, ReadDeviceTable}};
  TPackageContent good = RichContent();
  for (auto [section, reader] : readers) {
    std::string bytes = WriteSection(good, section);
    for (size_t cut : {size_t(0), bytes.size() / 2, bytes.size() - 1}) {
      // The cut bytes become the last section, right before the trailer, and the section's
      // directory entry points there: nothing after them can complete them.
      TPackageContent c = good;
      c.RawSections[SecDeviceTable] = bytes.substr(0, cut);
      TPackage pkg = OpenBytes(AppendPackage(FakeImage(), c));
      ASSERT_TRUE(PackageIsValid(pkg));
      pkg.Directory[section] = pkg.Directory[SecDeviceTable];
      TSetupDescription d;
      EXPECT_THROW(reader(pkg, d), EPackageError) << "section " << section << " cut at " << cut;
    }
  }
}

TEST(Damage, EveryChangedByteEitherReadsOrIsRefused) {
  // No single damaged byte may crash, hang or allocate without bound (the sanitizers watch).
  TPackageContent c = RichContent();
  c.Description.Properties.Description = "short";
  c.Description.Languages.resize(1);
  std::string file = AppendPackage(FakeImage(256), c);
  TPackage pkg = OpenBytes(file);
  size_t first = pkg.Directory[0], last = file.size() - TrailerSize;
  size_t refused = 0;
  for (size_t at = first; at < last; ++at) {
    for (char value : {'\0', '\xFF'}) {
      std::string damaged = file;
      if (damaged[at] == value) continue;
      damaged[at] = value;
      if (!ReadsCleanly(damaged)) ++refused;
    }
  }
  EXPECT_GT(refused, 0u);
}
