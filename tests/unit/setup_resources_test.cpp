// The built setup's own resources: the product's version resource and icon written into a
// copy of the stub (the real MinGW stub where the Win32 build is at hand), with everything
// else the stub holds kept, and the faults of icon files and versions named by their place.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "TestFolder.h"
#include "TestImages.h"
#include "package/PackagePrimitives.h"
#include "package/PackageStream.h"
#include "package/PeResource.h"
#include "package/SetupFuncs.h"
#include "vntbuild/BuildCommand.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/PeLayout.h"
#include "vntbuild/assemble/PeResourceWriter.h"
#include "vntbuild/assemble/SetupResources.h"
#include "vntbuild/assemble/StdFileStream.h"
#include "vntbuild/project/ProjectError.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/project/ProjectWriter.h"

using namespace vnt;
using namespace vnt::test;
namespace fs = std::filesystem;

namespace {

// A 32-bit DIB picture of n x n pixels of one colour, with its AND mask.
std::string Picture(uint8_t n, uint32_t colour) {
  std::string dib(40, '\0');
  PutU32(dib, 0, 40);
  PutU32(dib, 4, n);
  PutU32(dib, 8, 2u * n);
  PutU16(dib, 12, 1);
  PutU16(dib, 14, 32);
  for (size_t i = 0; i < size_t(n) * n; ++i) dib.append(reinterpret_cast<const char*>(&colour), 4);
  dib.append(size_t((n + 31) / 32 * 4) * n, '\0');
  return dib;
}

// An icon file of the pictures; the entries' planes and bits left 0 as many tools write them.
std::string IconFile(const std::vector<std::string>& pictures, const std::vector<uint8_t>& sizes) {
  std::string file(6 + 16 * pictures.size(), '\0');
  PutU16(file, 2, 1);
  PutU16(file, 4, uint16_t(pictures.size()));
  for (size_t i = 0; i < pictures.size(); ++i) {
    size_t at = 6 + 16 * i;
    file[at] = char(sizes[i]), file[at + 1] = char(sizes[i]);
    PutU32(file, at + 8, uint32_t(pictures[i].size()));
    size_t offset = file.size();
    for (size_t k = 0; k < i; ++k) offset += pictures[k].size();
    PutU32(file, at + 12, uint32_t(offset));
  }
  for (const auto& p : pictures) file += p;
  return file;
}

std::string TwoPictureIcon() { return IconFile({Picture(32, 0xFF2A6FB0u), Picture(16, 0xFFFFFFFFu)}, {32, 16}); }

std::string RealStubPath() { return std::string(VNT_WIN32_DIR) + "/vntsetup.exe"; }

TVersionInfo Info() {
  TVersionInfo v;
  v.VersionHigh = 2u << 16 | 5u, v.VersionLow = 7u << 16 | 11u;
  v.ProductName = "Hëllo", v.CompanyName = "Vantry Samples", v.Description = "Hëllo Setup";
  v.FileVersion = "2.5.7.11", v.ProductVersion = "2.5 beta", v.Copyright = "© 2026 Vantry Samples";
  v.OriginalFileName = "hello-setup.exe";
  return v;
}

std::string Value(const TVersionStrings& s, const std::string& name) {
  for (const auto& [key, text] : s.Values)
    if (key == name) return text;
  return "(none)";
}

std::string Resource(const std::string& image, uint16_t type, uint16_t name) {
  auto res = FindPeResource(image, type, name);
  return res ? image.substr(res->FileOffset, res->Size) : "(none)";
}

const TResourceItem* Find(const std::vector<TResourceItem>& items, uint16_t type, const TResourceKey& name) {
  for (const auto& i : items)
    if (i.Type == TResourceKey{type, {}} && i.Name == name) return &i;
  return nullptr;
}

// The headers Windows checks: sections in order and aligned, the image size covering them,
// the checksum as Windows computes it.
void ExpectLoadable(const std::string& image) {
  TPeLayout l = ReadPeLayout(image);
  uint64_t end = 0;
  for (const auto& s : l.Sections) {
    EXPECT_EQ(s.VirtualAddress % l.SectionAlignment, 0u);
    EXPECT_EQ(s.RawOffset % l.FileAlignment, 0u);
    EXPECT_EQ(s.RawSize % l.FileAlignment, 0u);
    EXPECT_GE(s.VirtualAddress, end) << "sections overlap";
    end = s.VirtualAddress + (uint64_t(std::max(s.VirtualSize, s.RawSize)) + l.SectionAlignment - 1) /
                                 l.SectionAlignment * l.SectionAlignment;
  }
  EXPECT_EQ(GetU32(image, l.Optional + 56), end);
  std::string again = image;
  SetPeChecksum(again);
  EXPECT_EQ(again, image) << "checksum";
}

}  // namespace

TEST(SetupResources, TheRealStubTakesVersionAndIconAndKeepsTheRest) {
  if (!fs::exists(RealStubPath())) GTEST_SKIP() << "no Win32 build at " << RealStubPath();
  TTestFolder dir;
  fs::copy_file(RealStubPath(), dir.Path("stub.exe"));
  std::string stub = ReadWholeFile(dir.Path("stub.exe").string());
  std::vector<TIconPicture> pictures = ReadIconFile(TwoPictureIcon());
  std::string image = SetupStubImage(stub, Info(), pictures);

  ExpectLoadable(image);
  EXPECT_EQ(ReadPeLayout(image).Sections.size(), ReadPeLayout(stub).Sections.size() + 1)
      << "the stub's resources are not last (relocations follow): a new section takes over";
  auto version = ReadVersionResource(Resource(image, VersionResourceType, 1));
  ASSERT_TRUE(version);
  EXPECT_EQ(version->FileHigh, 0x00020005u);
  EXPECT_EQ(version->FileLow, 0x0007000Bu);
  EXPECT_EQ(version->ProductHigh, 0x00020005u);
  EXPECT_EQ(version->Table, "040904B0");
  EXPECT_EQ(Value(*version, "ProductName"), "Hëllo");
  EXPECT_EQ(Value(*version, "CompanyName"), "Vantry Samples");
  EXPECT_EQ(Value(*version, "FileDescription"), "Hëllo Setup");
  EXPECT_EQ(Value(*version, "FileVersion"), "2.5.7.11");
  EXPECT_EQ(Value(*version, "ProductVersion"), "2.5 beta");
  EXPECT_EQ(Value(*version, "LegalCopyright"), "© 2026 Vantry Samples");
  EXPECT_EQ(Value(*version, "OriginalFilename"), "hello-setup.exe");
  EXPECT_EQ(version->Translations, std::vector<uint32_t>{0x04B00409u});
  EXPECT_EQ(FileVersionOf(image)->High, 0x00020005u) << "as the builder reads the files it packs";

  // The manifest, the loader picture and the package-end value stay as the stub had them.
  EXPECT_NE(Resource(stub, 24, 1), "(none)");
  EXPECT_EQ(Resource(image, 24, 1), Resource(stub, 24, 1));
  EXPECT_EQ(Resource(image, PackageEndResourceType, PackageEndResourceName), std::string(4, '\0'));
  std::vector<TResourceItem> before = ReadResourceItems(stub), after = ReadResourceItems(image);
  TResourceKey loader{0, u"LOADER"}, mainIcon{0, u"MAINICON"};
  ASSERT_TRUE(Find(after, 2, loader));
  EXPECT_EQ(Find(after, 2, loader)->Data, Find(before, 2, loader)->Data);

  // The stub's one icon group (the one Explorer shows) lists the new pictures; its old
  // pictures are gone.
  const TResourceItem* group = Find(after, IconGroupResourceType, mainIcon);
  ASSERT_TRUE(group);
  EXPECT_EQ(group->Data, IconGroupData(pictures, 1));
  EXPECT_EQ(GetU16(group->Data, 6 + 6), 32) << "bits per pixel taken from the picture";
  size_t icons = 0;
  for (const auto& i : after) icons += i.Type == TResourceKey{IconResourceType, {}};
  EXPECT_EQ(icons, 2u);
  EXPECT_EQ(Find(after, IconResourceType, {1, {}})->Data, pictures[0].Data);
  EXPECT_EQ(Find(after, IconResourceType, {2, {}})->Data, pictures[1].Data);
}

// A resource section that ends the image grows in place; a certificate, which no longer
// matches, is taken off.
TEST(SetupResources, ALastResourceSectionIsWrittenInPlace) {
  std::string stub = StubImage();
  stub.resize((stub.size() + 0x1FF) & ~size_t(0x1FF), '\0');
  PutU32(stub, ReadPeLayout(stub).SectionTable + 16, uint32_t(stub.size() - 0x200));
  size_t certificate = ReadPeLayout(stub).DirectoryEntry(CertificateDirectory);
  PutU32(stub, certificate, uint32_t(stub.size()));
  PutU32(stub, certificate + 4, 64);
  stub += std::string(64, 'S');

  std::string image = SetupStubImage(stub, Info(), ReadIconFile(TwoPictureIcon()));
  ExpectLoadable(image);
  TPeLayout l = ReadPeLayout(image);
  ASSERT_EQ(l.Sections.size(), 1u);
  EXPECT_EQ(image.size(), l.Sections[0].RawOffset + l.Sections[0].RawSize) << "the certificate is gone";
  EXPECT_EQ(GetU32(image, l.DirectoryEntry(CertificateDirectory)), 0u);
  EXPECT_EQ(GetU32(image, l.DirectoryEntry(ResourceDirectory) + 4), l.Sections[0].VirtualSize);
  EXPECT_EQ(Value(*ReadVersionResource(Resource(image, VersionResourceType, 1)), "ProductName"), "Hëllo");
  EXPECT_NE(Resource(image, PackageEndResourceType, PackageEndResourceName), "(none)");
  // A stub without an icon gets one group, named as the stub's own would be.
  EXPECT_TRUE(Find(ReadResourceItems(image), IconGroupResourceType, {0, u"MAINICON"}));

  // Written again, the section has the same layout: the tree is laid out in one order.
  EXPECT_EQ(SetupStubImage(image, Info(), ReadIconFile(TwoPictureIcon())), image);
}

TEST(SetupResources, DamagedIconFilesAndStubsAreRefusedWithTheirFault) {
  std::string good = TwoPictureIcon();
  std::string cursor = good, beyond = good, noBitmap = good, empty = good.substr(0, 6);
  PutU16(cursor, 2, 2);
  PutU32(beyond, 6 + 16 + 12, uint32_t(good.size()));
  noBitmap[GetU32(good, 18) + 14] = 3;  // 3 bits per pixel
  PutU16(empty, 4, 0);
  struct {
    std::string Bytes, Message;
  } cases[] = {{"", "not an icon file"},
               {"GIF89a and then some", "not an icon file"},
               {cursor, "a cursor file, not an icon file"},
               {empty, "the icon file holds no picture"},
               {good.substr(0, 30), "the icon file is cut short"},
               {beyond, "picture 2 lies beyond the end of the icon file"},
               {good.substr(0, good.size() - 10), "picture 2 lies beyond the end of the icon file"},
               {noBitmap, "picture 1 is neither a bitmap nor a PNG picture"}};
  for (const auto& c : cases) {
    try {
      ReadIconFile(c.Bytes);
      ADD_FAILURE() << "accepted: " << c.Message;
    } catch (const EBuildError& e) {
      EXPECT_EQ(std::string(e.what()), c.Message);
    }
  }

  // A resource tree that points outside its section, or back at itself.
  std::string stub = StubImage();
  size_t root = ReadPeLayout(stub).Sections[0].RawOffset;
  std::string outside = stub, loop = stub;
  PutU32(outside, root + 20, 0x80000000u | 0x7FFF0);
  PutU32(loop, root + 20, 0x80000000u);
  EXPECT_THROW(ReadResourceItems(outside), EBuildError);
  EXPECT_THROW(ReadResourceItems(loop), EBuildError);
  EXPECT_THROW(ReadResourceItems("MZ but nothing else"), EBuildError);
}

// Through the project: the keys, their defaults from the product, the language of the
// default language, and the places of wrong values.
TEST(SetupResources, TheProjectGivesVersionInfoAndIcon) {
  TTestFolder dir;
  auto read = [&](const std::string& product, const std::string& more = "") {
    return ReadProject(dir.Write("p.json", R"({"product": {"name": "Hëllo", "company": "Vantry Samples")" + product +
                                               "}" + more + "}")
                           .string());
  };
  TVersionInfo v = read(R"(, "displayVersion": "2.1 beta 3")").VersionInfo;
  EXPECT_EQ(v.VersionHigh, 0x00020001u);
  EXPECT_EQ(v.VersionLow, 0u);
  EXPECT_EQ(v.FileVersion, "2.1.0.0");
  EXPECT_EQ(v.ProductVersion, "2.1 beta 3");
  EXPECT_EQ(v.ProductName, "Hëllo");
  EXPECT_EQ(v.CompanyName, "Vantry Samples");
  EXPECT_EQ(v.Description, "Hëllo Setup");
  EXPECT_EQ(v.Copyright, "");
  EXPECT_EQ(v.Language, 0x0409);
  EXPECT_EQ(read("").VersionInfo.ProductVersion, "0.0.0.0");

  dir.Write("hello.ico", TwoPictureIcon());
  TProject p = read(R"(, "displayVersion": "1.0", "icon": "hello.ico", "versionInfo": {"version": "3.2.1",
      "productName": "Hello Suite", "copyright": "(C) 2026 Ω", "description": "Installs Hello", "language": "0x0407"})");
  EXPECT_EQ(p.Icon.Path, dir.Path("hello.ico").string());
  EXPECT_EQ(p.VersionInfo.VersionHigh, 0x00030002u);
  EXPECT_EQ(p.VersionInfo.VersionLow, 0x00010000u);
  EXPECT_EQ(p.VersionInfo.ProductVersion, "1.0");
  EXPECT_EQ(p.VersionInfo.ProductName, "Hello Suite");
  EXPECT_EQ(p.VersionInfo.Copyright, "(C) 2026 Ω") << "texts outside the setup's code page are fine here";
  EXPECT_EQ(p.VersionInfo.Language, 0x0407);
  EXPECT_EQ(read("", R"(, "languages": [{"name": "English", "id": 1033}, {"name": "Deutsch", "id": 1031,
      "default": true}])").VersionInfo.Language, 1031);

  struct {
    std::string Product, Message;
  } cases[] = {
      {R"(, "versionInfo": {"version": "1.2.x"})",
       "/product/versionInfo/version: expected a version of one to four numbers from 0 to 65535, such as \"1.2.0.3\""},
      {R"(, "versionInfo": {"version": "1.70000"})", "/product/versionInfo/version: expected a version"},
      {R"(, "versionInfo": {"copyrite": "x"})", "/product/versionInfo: unknown key \"copyrite\""},
      {R"(, "versionInfo": {"company": 5})", "/product/versionInfo/company: expected a text"},
      {R"(, "icon": "missing.ico")", "/product/icon: file not found"}};
  for (const auto& c : cases) {
    try {
      read(c.Product);
      ADD_FAILURE() << "accepted: " << c.Product;
    } catch (const EProjectError& e) {
      EXPECT_NE(std::string(e.what()).find("p.json: " + c.Message), std::string::npos) << e.what();
    }
  }
}

// A whole build with the real stub: the icon file's faults name the project's place before
// anything is compressed; a good one gives a setup whose package the stub still finds.
TEST(SetupResources, ABuildWritesThemIntoTheSetupAndThePackageStillReads) {
  if (!fs::exists(RealStubPath())) GTEST_SKIP() << "no Win32 build at " << RealStubPath();
  TTestFolder dir;
  fs::copy_file(RealStubPath(), dir.Path("stub.exe"));
  dir.Write("readme.txt", "Hello!\r\n");
  dir.Write("bad.ico", TwoPictureIcon().substr(0, 100));
  dir.Write("good.ico", TwoPictureIcon());
  dir.Write("vntuninst.exe", "MZ the uninstaller");
  // The build's fault, or "" when it built.
  auto build = [&](const std::string& icon) {
    dir.Write("p.json", R"({"product": {"name": "Hello", "company": "Vantry Samples", "displayVersion": "1.0",
        "icon": ")" + icon + R"("}, "files": [{"source": "readme.txt"}]})");
    try {
      RunBuild({dir.Path("p.json").string(), "-o", dir.Path("setup.exe").string(), "--stub",
                dir.Path("stub.exe").string(), "-q"},
               "");
    } catch (const EBuildError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  std::string fault = build("bad.ico");
  EXPECT_NE(fault.find("p.json: /product/icon: picture 1 lies beyond the end of the icon file"), std::string::npos)
      << fault;
  EXPECT_FALSE(fs::exists(dir.Path("setup.exe")));

  ASSERT_EQ(build("good.ico"), "");
  std::string setup = ReadWholeFile(dir.Path("setup.exe").string());
  auto version = ReadVersionResource(Resource(setup, VersionResourceType, 1));
  ASSERT_TRUE(version);
  // No original name unless given: the output's name does not change the setup.
  EXPECT_EQ(Value(*version, "OriginalFilename"), "(none)");
  EXPECT_EQ(Value(*version, "ProductVersion"), "1.0");
  EXPECT_EQ(version->FileHigh, 0x00010000u);
  std::string end = Resource(setup, PackageEndResourceType, PackageEndResourceName);
  TMemoryStream value(end);
  uint32_t packageEnd = ReadU32(value);
  EXPECT_EQ(packageEnd, setup.size());
  TPackage pkg;
  ASSERT_TRUE(OpenPackage(pkg, "setup.exe", std::make_unique<TMemoryStream>(setup), packageEnd));
  EXPECT_TRUE(PackageIsValid(pkg));
  std::string again = setup;
  SetPeChecksum(again);
  EXPECT_EQ(again, setup) << "the checksum covers the package too";
}

// A dump gives back the keys that differ from what the product's names make, and the icon as
// a file beside the project; built again, the setup carries the same resources.
TEST(SetupResources, ADumpGivesThemBack) {
  TTestFolder dir;
  dir.Write("stub.exe", StubImage());
  dir.Write("vntuninst.exe", "MZ the uninstaller");
  dir.Write("art/app.ico", TwoPictureIcon());
  auto dumped = [&](const std::string& product) {
    std::string p = dir.Write("p.json", R"({"product": {"name": "Hello", "company": "Vantry Samples",
        "displayVersion": "1.0")" + product + "}}").string();
    RunBuild({p, "-o", dir.Path("out/hello.exe").string(), "--stub", dir.Path("stub.exe").string(), "-q"}, "");
    TProject project = ReadProject(p);
    TSetupOwnResources own = ReadSetupOwnResources(ReadWholeFile(dir.Path("out/hello.exe").string()));
    TDumpedResources resources{own.Version, own.IconFile.empty() ? "" : "setup.ico", "hello.exe"};
    dir.Write("dump/setup.ico", own.IconFile);
    return std::make_pair(project, WriteProject(project.Content.Description, project.Content.Options, false, resources));
  };
  auto [plain, plainText] = dumped("");
  EXPECT_EQ(plainText.Json.find("versionInfo"), std::string::npos) << "all from the product: " << plainText.Json;

  auto [given, text] = dumped(R"(, "icon": "art/app.ico", "versionInfo": {"version": "3.2.1", "copyright": "© Ω",
      "originalFileName": "setup.exe", "language": 1031})");
  EXPECT_NE(text.Json.find(R"("icon": "setup.ico",)"), std::string::npos) << text.Json;
  EXPECT_NE(text.Json.find(R"("versionInfo": {"version": "3.2.1.0", "copyright": "© Ω", )"
                           R"("originalFileName": "setup.exe", "language": 1031})"),
            std::string::npos)
      << text.Json;
  SaveProjectFolder(text, dir.Path("dump"));
  TProject again = ReadProject(dir.Path("dump/project.json").string());
  const TVersionInfo &a = again.VersionInfo, &g = given.VersionInfo;
  EXPECT_EQ(std::tie(a.VersionHigh, a.VersionLow, a.Language), std::tie(g.VersionHigh, g.VersionLow, g.Language));
  EXPECT_EQ(std::tie(a.FileVersion, a.ProductVersion, a.ProductName, a.CompanyName, a.Description, a.Copyright,
                     a.OriginalFileName),
            std::tie(g.FileVersion, g.ProductVersion, g.ProductName, g.CompanyName, g.Description, g.Copyright,
                     g.OriginalFileName));
  std::vector<TIconPicture> before = ReadIconFile(TwoPictureIcon()), after = ReadIconFile(ReadWholeFile(again.Icon.Path));
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(after[i].Data, before[i].Data);
}

TEST(SetupResources, TheIconFileIsNeverWrittenOver) {
  TTestFolder dir;
  dir.Write("stub.exe", StubImage());
  dir.Write("vntuninst.exe", "MZ the uninstaller");
  dir.Write("app.ico", TwoPictureIcon());
  std::string p = dir.Write("p.json", R"({"product": {"name": "A", "company": "B", "icon": "app.ico"}})").string();
  std::string error = "no error";
  try {
    RunBuild({p, "-o", dir.Path("app.ico").string(), "--stub", dir.Path("stub.exe").string(), "-q"}, "");
  } catch (const EBuildError& e) {
    error = e.what();
  }
  EXPECT_NE(error.find("is a file the build reads (" + p + ": /product/icon)"), std::string::npos) << error;
  EXPECT_EQ(ReadWholeFile(dir.Path("app.ico").string()), TwoPictureIcon());
}

// The setup writes its own program as the uninstaller: the image ends before anything
// appended, and a signed setup's copy loses its checksum and signature entry.
TEST(ProgramImage, EndsBeforeWhatFollowsItAndLosesItsSignature) {
  const std::string stub = ReadWholeFile(RealStubPath());
  EXPECT_EQ(PeImageEnd(stub), stub.size());
  EXPECT_EQ(PeImageEnd(stub + "a package and a signature"), stub.size());
  EXPECT_EQ(PeImageEnd(stub.substr(0, 200)), std::nullopt);
  EXPECT_EQ(PeImageEnd("MZ not a program"), std::nullopt);

  TPeLayout l = ReadPeLayout(stub);
  std::string head = stub.substr(0, 4096);
  ASSERT_TRUE(ClearSigningFields(head));
  EXPECT_EQ(head, stub.substr(0, 4096)) << "an unsigned image keeps its checksum";
  PutU32(head, l.Optional + 64, 0x1234u);
  PutU32(head, l.DirectoryEntry(CertificateDirectory), uint32_t(stub.size()));
  PutU32(head, l.DirectoryEntry(CertificateDirectory) + 4, 0x500u);
  ASSERT_TRUE(ClearSigningFields(head));
  EXPECT_EQ(GetU32(head, l.Optional + 64), 0u);
  EXPECT_EQ(GetU32(head, l.DirectoryEntry(CertificateDirectory)), 0u);
  EXPECT_EQ(GetU32(head, l.DirectoryEntry(CertificateDirectory) + 4), 0u);
  EXPECT_EQ(head.substr(0, l.Optional + 64), stub.substr(0, l.Optional + 64));
  std::string notImage = "MZ not a program";
  EXPECT_FALSE(ClearSigningFields(notImage));
}
