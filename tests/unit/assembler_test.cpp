// The builder's assembler and extract: a project of files on disk becomes a setup whose
// package, read back as the setup reads it, restores every file whole and dated.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>
#include <sstream>

#include "archive/MemoryFileSystem.h"
#include "archive/SetupVNTZip.h"
#include "package/PackagePrimitives.h"
#include "package/PeResource.h"
#include "package/SetupSections.h"
#include "vntbuild/assemble/Assembler.h"
#include "vntbuild/BuildCommand.h"
#include "vntbuild/assemble/Extractor.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/StdFileStream.h"
#include "vntbuild/project/ProjectError.h"
#include "TestImages.h"

using namespace vnt;
namespace fs = std::filesystem;

namespace {

void Put16(std::string& s, size_t at, uint16_t v) { std::memcpy(s.data() + at, &v, 2); }
void Put32(std::string& s, size_t at, uint32_t v) { std::memcpy(s.data() + at, &v, 4); }

using TResource = test::TPeResource;
using test::PeImage;

std::string Stub() { return test::StubImage(); }

// A library whose version resource says 3.7.0.2.
std::string VersionedLibrary(bool wide = false) {
  std::string info(40 + 52, '\0');
  Put16(info, 0, uint16_t(info.size()));
  Put16(info, 2, 52);
  const char key[] = "VS_VERSION_INFO";
  for (size_t i = 0; i < sizeof key; ++i) info[6 + 2 * i] = key[i];
  Put32(info, 40, 0xFEEF04BDu);
  Put32(info, 48, 3u << 16 | 7u);
  Put32(info, 52, 0u << 16 | 2u);
  return PeImage({{16, 1, info}}, wide);
}

std::string Pattern(size_t size, uint32_t seed) {
  std::string data(size, '\0');
  for (auto& c : data) c = char((seed = seed * 1103515245u + 12345u) >> 24);
  return data;
}

// The MS-DOS form of a local time, computed here without the builder's own conversion.
uint32_t DosOf(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return uint32_t((tm.tm_year - 80) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday) << 16 |
         uint32_t(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
}

void SetTime(const fs::path& file, std::time_t t) {
  auto sys = std::chrono::system_clock::from_time_t(t);
  fs::last_write_time(file, std::chrono::time_point_cast<fs::file_time_type::duration>(std::chrono::file_clock::from_sys(sys)));
}

std::time_t TimeOf(const fs::path& file) {
  auto sys = std::chrono::file_clock::to_sys(fs::last_write_time(file));
  return std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
}

// A setup read back as the stub reads it.
struct TReadBack {
  explicit TReadBack(const std::string& path) : Image(ReadWholeFile(path)) {
    auto res = FindPeResource(Image, PackageEndResourceType, PackageEndResourceName);
    EXPECT_TRUE(res);
    TMemoryStream value(Image.substr(res->FileOffset, 4));
    End = ReadU32(value);
    EXPECT_TRUE(OpenPackage(Pkg, path, std::make_unique<TMemoryStream>(Image), End));
    EXPECT_TRUE(PackageIsValid(Pkg));
    ReadComponents(Pkg, Desc);
    ReadSupportFiles(Pkg, Desc);
    ReadProductFiles(Pkg, Desc);
  }

  // Restores the archive at position into Fs as "<prefix><id>"; answers the ids it held.
  std::vector<int32_t> Restore(uint64_t position, const std::string& prefix) {
    TSetupVNTZip zip(Fs);
    std::vector<int32_t> ids;
    zip.OnRestoreFile = [&](int32_t id, std::string& name, int32_t&, uint32_t, bool&) {
      ids.push_back(id);
      name = prefix + std::to_string(id);
    };
    Pkg.PackageStream->Seek(position);
    EXPECT_TRUE(zip.RestoreFromStream(*Pkg.PackageStream, ""));
    return ids;
  }

  const TSetupInstallerFile& Product(const std::string& name) const {
    for (const auto& f : Desc.ProductFiles)
      if (f.File.SourceName == name) return f;
    throw std::runtime_error("no product file " + name);
  }

  std::string Image;
  uint32_t End = 0;
  TPackage Pkg;
  TSetupDescription Desc;
  TMemoryFileSystem Fs;
};

class AssemblerTest : public ::testing::Test {
protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("vnt-assembler-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir / "src");
    WriteWholeFile((Dir / "stub.exe").string(), Stub());
    WriteWholeFile((Dir / "vntuninst.exe").string(), "MZ the uninstaller");
    Project.Content.Description.Components = {{{"Core", "", ""}, 0, 0, 0},
                                              {{"Extras", "", ""}, 0, 0, 0},
                                              {{"Docs", "", ""}, 0, 0, 0}};
    Project.ComponentArchives = {"Core", "Extras", "Docs"};
  }
  void TearDown() override { fs::remove_all(Dir); }

  // A source file dated Base + seconds; its record goes to the project's list.
  TProjectFile& Add(std::vector<TProjectFile>& list, const std::string& name, const std::string& data,
                    const std::string& components = "", int seconds = 0) {
    fs::path path = Dir / "src" / name;
    WriteWholeFile(path.string(), data);
    SetTime(path, Base + seconds);
    TProjectFile f;
    f.SourcePath = path.string();
    f.Record.File.SourceName = name;
    f.Record.File.DestFolder = "%InstallDir%\\";
    f.Record.File.Components = components;
    Sources[name] = data;
    return list.emplace_back(f);
  }

  TBuildSummary Build(const std::string& out = "setup.exe") {
    Out = (Dir / out).string();
    return AssembleSetup(Project, (Dir / "stub.exe").string(), Out, Log);
  }

  std::string Error() {
    try {
      Build();
    } catch (const EBuildError& e) {
      return e.what();
    }
    return "no error";
  }

  fs::path Dir;
  std::string Out;
  std::ostringstream Log;
  TProject Project;
  std::map<std::string, std::string> Sources;
  const std::time_t Base = 1712829182;  // April 2024, an even second
};

}  // namespace

// One setup with components, a versioned library, a support file and the uninstaller: ids,
// facts, where each file travels, the archive table and the package end.
TEST_F(AssemblerTest, FilesTravelInTheirArchivesWithTheirFacts) {
  Add(Project.ProductFiles, "core.txt", "core program", "Core", 10);
  Add(Project.ProductFiles, "extras.bin", Pattern(200000, 1), "Extras", 20);
  Add(Project.ProductFiles, "both.txt", "in two components", "Core|Extras", 30).Record.Id = 2;
  Add(Project.ProductFiles, "none.txt", "in no component", "", 40);
  Add(Project.ProductFiles, "lib.dll", VersionedLibrary(), "core|", 50);
  Add(Project.ProductFiles, "stray.txt", "names an unknown component", "Unknown", 60);
  Add(Project.ProductFiles, "empty.txt", "", "Core", 80);
  Add(Project.ProductFiles, "lib64.dll", VersionedLibrary(true), "", 90);
  Add(Project.SupportFiles, "splash.bmp", "BM a picture", "", 70).Record.File.DestFolder = "%TempSetupDir%\\";
  Project.Content.SetOption(OptCreateUninstaller, true);
  TBuildSummary s = Build();

  TReadBack r(Out);
  EXPECT_EQ(r.End, fs::file_size(Out));
  const TSetupDescription& d = r.Desc;
  // Unset ids are given in list order around the one the project gave.
  std::vector<std::pair<std::string, int32_t>> ids;
  for (const auto& f : d.ProductFiles) ids.emplace_back(f.File.SourceName, f.Id);
  EXPECT_EQ(ids, (std::vector<std::pair<std::string, int32_t>>{
                     {"core.txt", 1}, {"extras.bin", 3}, {"both.txt", 2}, {"none.txt", 4}, {"lib.dll", 5},
                     {"stray.txt", 6}, {"empty.txt", 7}, {"lib64.dll", 8}, {"VNTUNINST.DAT", 9}}));
  EXPECT_EQ(r.Product("extras.bin").File.Size, 200000u);
  EXPECT_EQ(r.Product("extras.bin").DateTime, DosOf(Base + 20));
  EXPECT_EQ(r.Product("lib.dll").VersionHigh, 3u << 16 | 7u);
  EXPECT_EQ(r.Product("lib.dll").VersionLow, 2u);
  EXPECT_EQ(r.Product("lib64.dll").VersionHigh, 3u << 16 | 7u);
  EXPECT_EQ(r.Product("core.txt").VersionHigh, 0u);
  const TSetupInstallerFile& u = r.Product("VNTUNINST.DAT");
  EXPECT_EQ(u.File.Condition, "uninstaller");
  EXPECT_EQ(u.File.DestFolder, "%WinDir%\\");
  EXPECT_EQ(u.File.Size, PeImageEnd(Stub()));  // the setup's own program, once written

  // Main archive, then Core's and Extras'; Docs has none.
  ASSERT_EQ(d.Components.size(), 3u);
  const auto &core = d.Components[0], &extras = d.Components[1], &docs = d.Components[2];
  EXPECT_EQ(core.ArchivePosition, uint32_t(r.Pkg.ArchiveOffset) + d.ProductArchiveRange);
  EXPECT_EQ(extras.ArchivePosition, core.ArchivePosition + core.ArchiveRange);
  EXPECT_EQ(docs.ArchiveRange, 0u);
  EXPECT_EQ(extras.ArchivePosition + extras.ArchiveRange, r.Pkg.Directory[SecDeviceTable]);
  double total = double(d.ProductArchiveRange) + core.ArchiveRange + extras.ArchiveRange;
  EXPECT_DOUBLE_EQ(d.ProgressScale, 100.0 / total);
  EXPECT_EQ(core.ProgressStart, uint32_t(std::lround(d.ProductArchiveRange * 100.0 / total)));
  EXPECT_EQ(extras.ProgressStart,
            uint32_t(std::lround((d.ProductArchiveRange + core.ArchiveRange) * 100.0 / total)));
  EXPECT_GT(docs.ProgressStart - extras.ProgressStart, 90u);  // the big file's archive takes most of the bar
  EXPECT_EQ(docs.ProgressStart, 100u);
  EXPECT_EQ(r.Restore(uint64_t(r.Pkg.ArchiveOffset), "p"), (std::vector<int32_t>{2, 4, 6, 8, 9}));
  EXPECT_EQ(r.Restore(core.ArchivePosition, "p"), (std::vector<int32_t>{1, 5, 7}));
  EXPECT_EQ(r.Restore(extras.ArchivePosition, "p"), (std::vector<int32_t>{3}));
  for (const auto& f : d.ProductFiles) {
    std::string expected = f.Id == 9 ? "" : Sources[f.File.SourceName];
    EXPECT_TRUE(r.Fs.Contents("p" + std::to_string(f.Id)) == expected) << f.File.SourceName;
    EXPECT_EQ(r.Fs.Files.at("p" + std::to_string(f.Id))->DosDateTime, f.DateTime) << f.File.SourceName;
  }

  // The support archive, flagged present, restores the picture with its date.
  ASSERT_EQ(d.SupportFiles.size(), 1u);
  TStream& flag = SeekSection(r.Pkg, SecSupportArchive);
  ASSERT_EQ(ReadByte(flag), 1);
  EXPECT_EQ(r.Restore(flag.Position(), "s"), (std::vector<int32_t>{1}));
  EXPECT_EQ(r.Fs.Contents("s1"), "BM a picture");
  EXPECT_EQ(r.Fs.Files.at("s1")->DosDateTime, DosOf(Base + 70));

  EXPECT_EQ(s.Files, 10u);
  EXPECT_EQ(s.SetupSize, fs::file_size(Out));
  uint64_t bytesIn = 0;
  for (const auto& [name, data] : Sources) bytesIn += data.size();
  EXPECT_EQ(s.BytesIn, bytesIn);
  EXPECT_NE(Log.str().find("extras.bin: 200,000 -> "), std::string::npos) << Log.str();
  EXPECT_EQ(SummaryLine(s).rfind("10 files, 2", 0), 0u) << SummaryLine(s);
}

// With every file in a component the main archive is left out: its range is 0 and the
// component's archive starts where it would have been.
TEST_F(AssemblerTest, EveryFileInAComponent) {
  Add(Project.ProductFiles, "a.txt", "first", "Core");
  Add(Project.ProductFiles, "b.txt", "second", "Extras");
  Project.Content.ExternalArchive = true;  // whatever the project says: the archive is inside
  Build();
  TReadBack r(Out);
  const auto& c = r.Desc.Components;
  EXPECT_EQ(r.Desc.ProductArchiveRange, 0u);
  ASSERT_GE(r.Pkg.ArchiveOffset, 1);
  EXPECT_EQ(c[0].ArchivePosition, uint32_t(r.Pkg.ArchiveOffset));
  EXPECT_EQ(c[0].ProgressStart, 0u);
  EXPECT_EQ(r.Restore(c[0].ArchivePosition, "p"), (std::vector<int32_t>{1}));
  EXPECT_EQ(r.Restore(c[1].ArchivePosition, "p"), (std::vector<int32_t>{2}));
  std::ostringstream log;
  EXPECT_EQ(ExtractSetup(Out, (Dir / "x").string(), log).Files, 2u);
  EXPECT_EQ(ReadWholeFile((Dir / "x/files/2/b.txt").string()), "second");
}

// The product archive in volume files beside the setup joins again; a later build without
// volumes takes the stale ones away.
TEST_F(AssemblerTest, VolumesBesideTheSetupJoinAgain) {
  Add(Project.ProductFiles, "first.txt", "first", "Core");
  Add(Project.ProductFiles, "noise.bin", Pattern(300000, 7), "Extras", 4);
  Add(Project.ProductFiles, "last.txt", "last", "", 8);
  Project.VolumeSize = 80000;
  TBuildSummary s = Build("My Setup.exe");
  ASSERT_GE(s.Volumes, 4u);
  TReadBack r(Out);
  EXPECT_LT(r.Pkg.ArchiveOffset, 1);
  for (const auto& c : r.Desc.Components) EXPECT_EQ(c.ArchiveRange, 0u) << c.Name;
  for (uint32_t v = 1; v <= s.Volumes; ++v) {
    char name[32];
    std::snprintf(name, sizeof name, "My Setup.%03u", v);
    ASSERT_TRUE(fs::exists(Dir / name)) << name;
    EXPECT_LE(fs::file_size(Dir / name), 80000u);
    r.Fs.Put((Dir / name).string(), ReadWholeFile((Dir / name).string()));
  }
  TSetupVNTZip zip(r.Fs);
  zip.OnRestoreFile = [](int32_t id, std::string& name, int32_t&, uint32_t, bool&) { name = "p" + std::to_string(id); };
  zip.OnNeedVolume = [&](uint16_t, std::string& name, bool&) { name = Out; };
  ASSERT_TRUE(zip.RestoreFromFile((Dir / "My Setup.001").string(), ""));
  for (const auto& f : r.Desc.ProductFiles) {
    EXPECT_TRUE(r.Fs.Contents("p" + std::to_string(f.Id)) == Sources[f.File.SourceName]) << f.File.SourceName;
    EXPECT_EQ(r.Fs.Files.at("p" + std::to_string(f.Id))->DosDateTime, f.DateTime);
  }

  Project.VolumeSize = 0;
  Build("My Setup.exe");
  EXPECT_FALSE(fs::exists(Dir / "My Setup.001"));
  EXPECT_FALSE(fs::exists(Dir / "My Setup.002"));
  EXPECT_GE(TReadBack(Out).Pkg.ArchiveOffset, 1);
}

// Option 6 brings the uninstaller: the project's, else an empty member that the setup fills
// with its own program, dated as the stub; without the option, or in a device-only setup
// that writes no uninstall data, there is none.
TEST_F(AssemblerTest, UninstallerOnlyWhenTheSetupCreatesOne) {
  Add(Project.ProductFiles, "app.exe", "MZ app");
  auto uninstallers = [&] {
    Build();
    TReadBack r(Out);
    int n = 0;
    for (const auto& f : r.Desc.ProductFiles) n += f.File.SourceName == "VNTUNINST.DAT";
    return n;
  };
  EXPECT_EQ(uninstallers(), 0);
  Project.Content.SetOption(OptCreateUninstaller, true);
  EXPECT_EQ(uninstallers(), 1);
  {
    TReadBack r(Out);
    const TSetupInstallerFile& self = r.Product("VNTUNINST.DAT");
    r.Restore(uint64_t(r.Pkg.ArchiveOffset), "s");
    EXPECT_EQ(r.Fs.Contents("s" + std::to_string(self.Id)), "");
    EXPECT_EQ(self.File.Size, PeImageEnd(Stub()));
    EXPECT_EQ(self.DateTime, DosDateTimeOf(fs::last_write_time(Dir / "stub.exe")));
  }
  Project.Content.SetOption(OptDeviceOnly, true);
  EXPECT_EQ(uninstallers(), 0);
  Project.Content.SetOption(OptDeviceOnly, false);

  WriteWholeFile((Dir / "other.exe").string(), "MZ another uninstaller");
  Project.UninstallerPath = (Dir / "other.exe").string();
  Build();
  TReadBack r(Out);
  const TSetupInstallerFile& u = r.Product("VNTUNINST.DAT");
  r.Restore(uint64_t(r.Pkg.ArchiveOffset), "p");
  EXPECT_EQ(r.Fs.Contents("p" + std::to_string(u.Id)), "MZ another uninstaller");
  EXPECT_EQ(u.File.Size, 22u);

  Project.UninstallerPath = (Dir / "gone.exe").string();
  EXPECT_NE(Error().find("gone.exe"), std::string::npos);

  // A project that names the uninstaller itself, as one dumped from a setup does, keeps its
  // one copy.
  TProjectFile own;
  own.SourcePath = (Dir / "other.exe").string();
  own.Record = UninstallerFileRecord(9, 0, 0);
  Project.ProductFiles.push_back(own);
  EXPECT_EQ(uninstallers(), 1);
}

// What the builder cannot build fails loudly, names the culprit, and writes no setup.
TEST_F(AssemblerTest, RefusesWhatItCannotBuild) {
  Add(Project.ProductFiles, "here.txt", "here");
  TProjectFile gone;
  gone.SourcePath = (Dir / "src" / "gone.txt").string();
  Project.ProductFiles.push_back(gone);
  gone.SourcePath = (Dir / "src" / "lost.bmp").string();
  Project.SupportFiles.push_back(gone);
  std::string error = Error();
  EXPECT_NE(error.find("gone.txt"), std::string::npos) << error;
  Project.ProductFiles.pop_back();
  error = Error();
  EXPECT_NE(error.find("lost.bmp"), std::string::npos) << error;
  Project.SupportFiles.clear();
  EXPECT_FALSE(fs::exists(Dir / "setup.exe"));

  Add(Project.ProductFiles, "twin.txt", "twin").Record.Id = 4;
  Add(Project.ProductFiles, "other.txt", "other").Record.Id = 4;
  EXPECT_NE(Error().find("id 4 is given twice"), std::string::npos);
  Project.ProductFiles.pop_back();

  Project.VolumeSize = 1000;
  EXPECT_NE(Error().find("volume size"), std::string::npos);
  Project.VolumeSize = 0;

  WriteWholeFile((Dir / "stub.exe").string(), "not a program");
  EXPECT_NE(Error().find("package-end resource"), std::string::npos);
  EXPECT_EQ(Log.str().find("here.txt"), std::string::npos) << "compressed before the stub was checked";
  EXPECT_FALSE(fs::exists(Dir / "setup.exe"));
  WriteWholeFile((Dir / "stub.exe").string(), Stub());
  Build("new/folder/setup.exe");
  EXPECT_TRUE(fs::exists(Dir / "new/folder/setup.exe"));
}

// extract writes product files (from components and volumes too) and support files to their
// folders with their dates; a damaged archive stops it with the files before it kept.
TEST_F(AssemblerTest, ExtractWritesMembersWhereTheyBelong) {
  Add(Project.ProductFiles, "core.txt", "core program", "Core", 10);
  Add(Project.ProductFiles, "big.bin", Pattern(150000, 3), "", 20);
  Add(Project.ProductFiles, "dots.txt", "a hostile name", "", 30).Record.File.SourceName = "..";
  Add(Project.ProductFiles, "nul.txt", "a device's name", "", 35).Record.File.SourceName = "data\\NUL.txt";
  Add(Project.SupportFiles, "splash.bmp", "BM", "", 40);
  Build();
  fs::path x = Dir / "x";
  std::ostringstream log;
  TExtractSummary s = ExtractSetup(Out, x.string(), log);
  EXPECT_EQ(s.Files, 5u);
  EXPECT_EQ(s.Bytes, 12u + 150000u + 14u + 15u + 2u);
  EXPECT_EQ(ReadWholeFile((x / "files/1/core.txt").string()), "core program");
  EXPECT_TRUE(ReadWholeFile((x / "files/2/big.bin").string()) == Sources["big.bin"]);
  EXPECT_EQ(ReadWholeFile((x / "files/3/file3").string()), "a hostile name");
  EXPECT_EQ(ReadWholeFile((x / "files/4/file4").string()), "a device's name");
  EXPECT_EQ(ReadWholeFile((x / "support/1/splash.bmp").string()), "BM");
  EXPECT_EQ(TimeOf(x / "files/2/big.bin"), Base + 20);
  EXPECT_EQ(TimeOf(x / "support/1/splash.bmp"), Base + 40);

  Project.VolumeSize = 80000;
  Build();
  fs::remove_all(x);
  EXPECT_EQ(ExtractSetup(Out, x.string(), log).Files, 5u);
  EXPECT_TRUE(ReadWholeFile((x / "files/2/big.bin").string()) == Sources["big.bin"]);
  fs::remove(Dir / "setup.002");
  EXPECT_THROW(ExtractSetup(Out, x.string(), log), EBuildError);

  // The last member's magic spoiled: the members before it are written, then the error.
  Project.VolumeSize = 0;
  Build();
  fs::remove_all(x);
  std::string image = ReadWholeFile(Out);
  size_t last = image.rfind("vNTZ");
  image[last] = 'X';
  WriteWholeFile(Out, image);
  EXPECT_THROW(ExtractSetup(Out, x.string(), log), EBuildError);
  EXPECT_EQ(ReadWholeFile((x / "support/1/splash.bmp").string()), "BM");
  EXPECT_TRUE(fs::exists(x / "files/2/big.bin"));

  WriteWholeFile(Out, "not a setup");
  EXPECT_THROW(ExtractSetup(Out, x.string(), log), EBuildError);
}

// No output, named outright or through a link, takes the place of a file the build reads;
// the refusal names the file's place in the project and leaves it as it was.
TEST_F(AssemblerTest, OutputsNeverTakeTheInputsPlace) {
  WriteWholeFile((Dir / "src/a.txt").string(), "a source");
  WriteWholeFile((Dir / "m.json").string(), R"({"7": "Really?"})");
  WriteWholeFile((Dir / "s.vns").string(), "MessageBox \"a\"\n");
  std::string project = R"({"product": {"name": "A", "company": "B"}, "files": [{"source": "src/a.txt"}],
                           "messageFile": "m.json", "scripts": {"start": {"file": "s.vns"}}})";
  WriteWholeFile((Dir / "p.json").string(), project);
  fs::create_symlink(Dir / "p.json", Dir / "link.exe");
  const std::pair<const char*, const char*> cases[] = {
      {"p.json", "the project file"},   {"link.exe", "the project file"},      {"src/a.txt", "/files/0/source"},
      {"m.json", "/messageFile"},       {"s.vns", "/scripts/start/file"},      {"stub.exe", "the setup stub"},
      {"u.exe", "/uninstaller"},
  };
  WriteWholeFile((Dir / "u.exe").string(), "MZ an uninstaller");
  project.insert(project.size() - 1, R"(, "uninstaller": "u.exe")");
  WriteWholeFile((Dir / "p.json").string(), project);
  for (const auto& [output, origin] : cases) {
    std::string before = ReadWholeFile((Dir / output).string()), error = "no error";
    try {
      RunBuild({(Dir / "p.json").string(), "-o", (Dir / output).string(), "--stub", (Dir / "stub.exe").string()}, "");
    } catch (const EBuildError& e) {
      error = e.what();
    }
    EXPECT_NE(error.find("is a file the build reads"), std::string::npos) << output << ": " << error;
    EXPECT_NE(error.find(origin), std::string::npos) << output << ": " << error;
    EXPECT_EQ(ReadWholeFile((Dir / output).string()), before) << output;
  }
}

// A project with likely mistakes builds and lists them after the summary with their count;
// --strict refuses it before anything is written. A broken reference stops the build too.
TEST_F(AssemblerTest, WarningsFollowTheBuildAndStrictRefusesThem) {
  WriteWholeFile((Dir / "src/a.txt").string(), "a source");
  auto project = [&](const std::string& target) {
    WriteWholeFile((Dir / "p.json").string(), R"({"product": {"name": "A", "company": "B"}, "dialogs": [],
      "files": [{"source": "src/a.txt", "destination": "%InstallDir%\\%Sub%\\"}],
      "shortcuts": [{"name": "S", "target": ")" + target + R"("}]})");
  };
  auto build = [&](const std::string& out, bool strict, std::string& errors) {
    std::vector<std::string> args = {(Dir / "p.json").string(), "-o", (Dir / out).string(), "--stub",
                                     (Dir / "stub.exe").string()};
    if (strict) args.push_back("--strict");
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    int status = 0;
    try {
      status = RunBuild(args, "");
    } catch (const EProjectError& e) {
      status = -1;
      std::cerr << e.what();
    }
    ::testing::internal::GetCapturedStdout();
    errors = ::testing::internal::GetCapturedStderr();
    return status;
  };
  project("b.txt");
  std::string errors;
  EXPECT_EQ(build("loose.exe", false, errors), 0);
  EXPECT_TRUE(fs::exists(Dir / "loose.exe"));
  const std::string listed = (Dir / "p.json").string() + ": /shortcuts/0/target: warning: no product file is named "
                             "\"b.txt\"; the shortcut points into %InstallDir% (did you mean \"a.txt\"?)\n" +
                             (Dir / "p.json").string() + ": /files/0/destination: warning: %Sub% is never set";
  EXPECT_NE(errors.find(listed), std::string::npos) << errors;
  EXPECT_EQ(errors.substr(errors.rfind('\n', errors.size() - 2) + 1), "2 warnings\n");

  EXPECT_EQ(build("strict.exe", true, errors), 1);
  EXPECT_NE(errors.find(listed), std::string::npos) << errors;
  EXPECT_NE(errors.find("vntbuild: 2 warnings, which --strict makes errors"), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(Dir / "strict.exe"));

  WriteWholeFile((Dir / "p.json").string(), R"({"product": {"name": "A", "company": "B", "splash": "s.bmp"}})");
  EXPECT_EQ(build("broken.exe", false, errors), -1);
  EXPECT_EQ(errors, (Dir / "p.json").string() + ": /product/splash: no support file \"s.bmp\": the project gives no "
                                              "supportFiles");
  EXPECT_FALSE(fs::exists(Dir / "broken.exe"));
}

// A file where a volume goes is replaced only when it is a volume of an earlier build, and of
// the files beyond the new volumes only the earlier build's volumes go.
TEST_F(AssemblerTest, VolumesReplaceOnlyVolumes) {
  Add(Project.ProductFiles, "noise.bin", Pattern(300000, 7), "Extras");
  Project.VolumeSize = 80000;
  WriteWholeFile((Dir / "setup.002").string(), "the author's notes");
  EXPECT_NE(Error().find("setup.002 is in the way of volume 2"), std::string::npos) << Error();
  EXPECT_EQ(ReadWholeFile((Dir / "setup.002").string()), "the author's notes");
  EXPECT_FALSE(fs::exists(Dir / "setup.exe"));
  EXPECT_FALSE(fs::exists(Dir / "setup.001"));

  fs::remove(Dir / "setup.002");
  uint32_t volumes = Build().Volumes;
  ASSERT_GE(volumes, 4u);
  auto volume = [](uint32_t v) {
    char name[32];
    std::snprintf(name, sizeof name, "setup.%03u", v);
    return std::string(name);
  };
  const std::string mine = volume(volumes + 1);
  WriteWholeFile((Dir / mine).string(), "kept");
  Build();  // the same volumes again, over those of the build before
  EXPECT_EQ(ReadWholeFile((Dir / mine).string()), "kept");
  Project.VolumeSize = 0;
  Build();
  for (uint32_t v = 1; v <= volumes; ++v) EXPECT_FALSE(fs::exists(Dir / volume(v))) << v;
  EXPECT_EQ(ReadWholeFile((Dir / mine).string()), "kept");
}

// A write that fails part-way (a full disk), or a setup whose finishing fails, leaves the
// setup built before as it was and nothing beside it, not even the folders it made.
TEST_F(AssemblerTest, AFailedWriteLeavesTheEarlierSetup) {
  Add(Project.ProductFiles, "small.txt", "small");
  Build();
  const std::string earlier = ReadWholeFile(Out);
  auto folder = [&] {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(Dir)) names.insert(e.path().filename().string());
    return names;
  };
  const std::set<std::string> before = folder();
  Add(Project.ProductFiles, "noise.bin", Pattern(300000, 7));

  rlimit limit{}, small{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  small = limit;
  small.rlim_cur = 100000;  // files stop growing here, as on a full disk
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string elsewhere = "no error";
  try {
    Build("fresh/deeper/setup.exe");
  } catch (const EBuildError& e) {
    elsewhere = e.what();
  }
  std::string error = Error();
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_NE(error.find("cannot write " + Out), std::string::npos) << error;
  EXPECT_NE(elsewhere.find("cannot write"), std::string::npos) << elsewhere;
  EXPECT_TRUE(ReadWholeFile(Out) == earlier);
  EXPECT_EQ(folder(), before);

  // An interrupt ends the build between files the same way; the signal was held, not lost.
  struct TInterruptAtFirstLine : std::streambuf {
    int overflow(int c) override {
      if (!Raised) Raised = std::raise(SIGINT) == 0;
      return c;
    }
    bool Raised = false;
  } interrupting;
  std::ostream progress(&interrupting);
  sigset_t interrupt, mask;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &interrupt, &mask), 0);
  std::string interrupted = "no error";
  try {
    AssembleSetup(Project, (Dir / "stub.exe").string(), Out, progress);
  } catch (const EBuildError& e) {
    interrupted = e.what();
  }
  const timespec now{};
  int held = ::sigtimedwait(&interrupt, nullptr, &now);
  ::pthread_sigmask(SIG_SETMASK, &mask, nullptr);
  EXPECT_EQ(interrupted, "interrupted; nothing was written");
  EXPECT_EQ(held, SIGINT);
  EXPECT_TRUE(ReadWholeFile(Out) == earlier);
  EXPECT_EQ(folder(), before);

  std::string finished;
  EXPECT_THROW(AssembleSetup(Project, (Dir / "stub.exe").string(), Out, Log,
                             [&](const std::string& written) {
                               finished = written;
                               throw EBuildError("cannot sign");
                             }),
               EBuildError);
  EXPECT_NE(finished, Out);
  EXPECT_EQ(fs::path(finished).parent_path(), Dir);
  EXPECT_TRUE(ReadWholeFile(Out) == earlier);
  EXPECT_EQ(folder(), before);
}
