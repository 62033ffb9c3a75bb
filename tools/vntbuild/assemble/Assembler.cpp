#include "vntbuild/assemble/Assembler.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "package/PackageWriter.h"
#include "package/PeResource.h"
#include "vntbuild/assemble/ArchiveAssembly.h"
#include "vntbuild/assemble/ArchiveLayout.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/assemble/PeResourceWriter.h"
#include "vntbuild/assemble/SetupResources.h"
#include "vntbuild/project/ProjectFiles.h"

namespace vnt {

namespace {

std::string Grouped(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

class TAssemblyRun {
public:
  TAssemblyRun(std::ostream& progress, size_t fileCount) : Progress(progress), Count(fileCount) {}

  // Reads the file, takes its size, date and version into the record, and adds it.
  void Pack(TProjectFile& f, TArchiveAssembly& archive) {
    TSourceFile source = Read(f);
    if (f.RunningSetup) source.Data.clear();
    TSetupInstallerFile& r = f.Record;
    r.File.Size = uint32_t(source.Data.size());
    if (!f.DateGiven) r.DateTime = source.DosDateTime;
    if (auto version = FileVersionOf(source.Data); version && !f.VersionGiven)
      r.VersionHigh = version->High, r.VersionLow = version->Low;
    uint64_t packed = archive.Add(r.Id, r.DateTime, source.Data);
    ++Summary.Files;
    Summary.BytesIn += source.Data.size();
    char line[64];
    std::snprintf(line, sizeof line, "  [%u/%zu] ", Summary.Files, Count);
    Progress << line << r.File.SourceName << ": " << Grouped(source.Data.size()) << " -> " << Grouped(packed)
             << " bytes\n"
             << std::flush;
  }

  static TSourceFile Read(const TProjectFile& f) {
    try {
      return ReadSourceFile(f.SourcePath);
    } catch (const EBuildError& e) {
      throw EBuildError(Where(f) + e.what());
    }
  }

  std::ostream& Progress;
  size_t Count;
  TBuildSummary Summary;
};

std::string SupportArchiveSection(std::vector<TProjectFile>& files, TAssemblyRun& run) {
  if (files.empty()) return std::string(1, '\0');
  TArchiveAssembly archive("");
  for (auto& f : files) run.Pack(f, archive);
  std::string bytes = archive.Finish().front();
  run.Summary.BytesOut += bytes.size();
  return '\x01' + bytes;
}

// The product archive section: the main archive (left out when it has no member) and the
// component archives after it; with volumes, one archive of every file, in volume pieces.
struct TProductArchives {
  std::vector<std::string> Volumes;
  std::string Section;
  uint32_t MainLength = 0;
  std::vector<uint32_t> ComponentLengths;
};

TProductArchives PackProductFiles(std::vector<TProjectFile>& files, const TProject& project, TAssemblyRun& run) {
  const auto& components = project.Content.Description.Components;
  bool volumes = project.VolumeSize > 0;
  TArchiveAssembly main("", project.VolumeSize);
  std::vector<std::unique_ptr<TArchiveAssembly>> own;
  for (const auto& c : components) own.push_back(std::make_unique<TArchiveAssembly>(c.Name));
  for (auto& f : files) {
    int component = volumes ? -1 : ComponentArchiveOf(f.Record.File, components, project.ComponentArchives);
    run.Pack(f, component < 0 ? main : *own[size_t(component)]);
  }
  TProductArchives result;
  std::vector<std::string> mainPieces = main.Finish();
  if (volumes) {
    for (const auto& v : mainPieces) run.Summary.BytesOut += v.size();
    result.Volumes = std::move(mainPieces);
    return result;
  }
  if (main.MemberCount() > 0) result.Section = std::move(mainPieces.front());
  result.MainLength = uint32_t(result.Section.size());
  for (auto& archive : own) {
    std::string bytes = archive->MemberCount() > 0 ? archive->Finish().front() : std::string();
    result.ComponentLengths.push_back(uint32_t(bytes.size()));
    result.Section += bytes;
  }
  if (result.Section.size() > UINT32_MAX) throw EBuildError("the product archives come to more than 4 GB");
  run.Summary.BytesOut += result.Section.size();
  return result;
}

// Component archive positions are absolute, so the table is set once the sections before the
// product archive are known; their sizes do not depend on the positions.
void PlaceProductArchives(TPackageContent& content, const TProductArchives& archives, uint64_t stubSize) {
  TSetupDescription& d = content.Description;
  content.RawSections[SecProductArchive] = archives.Section;
  content.ExternalArchive = !archives.Volumes.empty();
  if (content.ExternalArchive) {
    SetExternalArchiveTable(d);
    return;
  }
  SetArchiveTable(d, archives.MainLength, archives.ComponentLengths, 0);
  uint64_t position = stubSize + DirectorySize;
  for (int i = 0; i < SecProductArchive; ++i) position += WriteSection(content, i).size();
  if (position + archives.Section.size() > UINT32_MAX) throw EBuildError("the setup would be larger than 4 GB");
  SetArchiveTable(d, archives.MainLength, archives.ComponentLengths, uint32_t(position));
}

// Read and checked before any file is compressed, so a wrong stub fails at once.
std::string ReadStub(const std::string& stubPath) {
  std::string stub;
  try {
    stub = ReadInputFile(stubPath, MaxCarriedFileSize);
  } catch (const EBuildError& e) {
    throw EBuildError(std::string("cannot read the setup stub: ") + e.what());
  }
  auto res = FindPeResource(stub, PackageEndResourceType, PackageEndResourceName);
  if (!res || res->Size < 4) throw EBuildError(stubPath + " is not a setup stub: it has no package-end resource");
  return stub;
}

std::vector<TIconPicture> ReadIcon(const TInputFile& icon) {
  if (icon.Path.empty()) return {};
  try {
    return ReadIconFile(ReadInputFile(icon.Path, MaxCarriedFileSize));
  } catch (const EBuildError& e) {
    throw EBuildError(icon.Origin + ": " + e.what());
  }
}

// The stub with the product's version resource and icon, before the package's places are
// reckoned from its size.
std::string StubWithProductResources(const std::string& stub, const std::string& stubPath, const TProject& project) {
  std::vector<TIconPicture> pictures = ReadIcon(project.Icon);
  // No original file name unless the project gives one: the same project built under another
  // name gives the same setup.
  const TVersionInfo& info = project.VersionInfo;
  try {
    return SetupStubImage(stub, info, pictures);
  } catch (const EBuildError& e) {
    throw EBuildError("the setup stub " + stubPath + ": " + e.what());
  }
}

std::string StubWithPackage(std::string stub, const TPackageContent& content) {
  try {
    return AppendPackage(std::move(stub), content, true);
  } catch (const std::length_error& e) {
    throw EBuildError(e.what());
  }
}

void CheckVolumeSize(uint64_t volumeSize) {
  if (volumeSize > 0 && volumeSize < MinVolumeSize)
    throw EBuildError("volume size " + Grouped(volumeSize) + " is below the smallest of " + Grouped(MinVolumeSize) +
                      " bytes");
}

void StoreRecords(TSetupDescription& d, const TFileLists& files) {
  d.ProductFiles.clear();
  d.SupportFiles.clear();
  for (const auto& f : files.Products) d.ProductFiles.push_back(f.Record);
  for (const auto& f : files.Support) d.SupportFiles.push_back(f.Record);
}

}  // namespace

TBuildSummary AssembleSetup(const TProject& project, const std::string& stubPath, const std::string& outPath,
                            std::ostream& progress, const TSetupFinish& finish) {
  auto started = std::chrono::steady_clock::now();
  CheckVolumeSize(project.VolumeSize);
  TFileLists files = PreparedFiles(project, stubPath);
  std::vector<TInputFile> inputs = BuildInputs(project, files, stubPath);
  RefuseInputAsOutput(outPath, inputs);  // before the work, not only before the writing
  std::string stub = StubWithProductResources(ReadStub(stubPath), stubPath, project);

  TAssemblyRun run(progress, files.Products.size() + files.Support.size());
  TPackageContent content = project.Content;
  content.RawSections[SecSupportArchive] = SupportArchiveSection(files.Support, run);
  TProductArchives archives = PackProductFiles(files.Products, project, run);
  StoreRecords(content.Description, files);
  PlaceProductArchives(content, archives, stub.size());
  std::string setup = StubWithPackage(std::move(stub), content);
  SetPeChecksum(setup);

  WriteSetupFiles(outPath, setup, archives.Volumes, inputs, finish);
  TBuildSummary summary = run.Summary;
  summary.SetupSize = setup.size();
  summary.Volumes = uint32_t(archives.Volumes.size());
  summary.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return summary;
}

std::string SummaryLine(const TBuildSummary& s) {
  char ratio[32] = "-";
  if (s.BytesIn > 0) std::snprintf(ratio, sizeof ratio, "%.1f%%", 100.0 * double(s.BytesOut) / double(s.BytesIn));
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f s", s.Seconds);
  std::string line = std::to_string(s.Files) + " files, " + Grouped(s.BytesIn) + " bytes in, " + Grouped(s.BytesOut) +
                     " bytes out (" + ratio + "), setup " + Grouped(s.SetupSize) + " bytes";
  if (s.Volumes > 0) line += " and " + std::to_string(s.Volumes) + " volumes";
  return line + ", " + seconds;
}

}  // namespace vnt
