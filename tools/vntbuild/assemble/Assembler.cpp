#include "vntbuild/assemble/Assembler.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "package/PackageWriter.h"
#include "package/PeResource.h"
#include "vntbuild/assemble/ArchiveLayout.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/FilePacking.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/assemble/PeChecksum.h"
#include "vntbuild/assemble/SetupResources.h"
#include "vntbuild/assemble/SetupWriter.h"
#include "vntbuild/assemble/SignalHold.h"
#include "vntbuild/project/ProjectFiles.h"

namespace vnt {

namespace {

// The bytes of every section but the two archive sections, which are copied from their files.
struct TPackageLayout {
  std::array<std::string, SectionCount> Sections;
  std::array<uint64_t, SectionCount> Sizes{};
};

uint64_t SupportSectionLength(const TArchiveAssembly* support) { return support ? 1 + support->Length() : 1; }

TPackageLayout LayOutSections(const TPackageContent& content, const TArchiveAssembly* support,
                              const TProductArchives& archives) {
  TPackageLayout l;
  for (int i = 0; i < SectionCount; ++i)
    if (i != SecSupportArchive && i != SecProductArchive)
      l.Sizes[i] = (l.Sections[i] = WriteSection(content, i)).size();
  l.Sizes[SecSupportArchive] = SupportSectionLength(support);
  l.Sizes[SecProductArchive] = archives.SectionLength();
  return l;
}

// Component archive positions are absolute, so the table is set once the sections before the
// product archive are known; their sizes do not depend on the positions.
void PlaceProductArchives(TPackageContent& content, const TArchiveAssembly* support, const TProductArchives& archives,
                          uint64_t stubSize) {
  TSetupDescription& d = content.Description;
  content.ExternalArchive = archives.InVolumes;
  if (content.ExternalArchive) {
    SetExternalArchiveTable(d);
    return;
  }
  SetArchiveTable(d, archives.MainLength(), archives.ComponentLengths(), 0);
  TPackageLayout sizes = LayOutSections(content, support, archives);
  uint64_t position = stubSize + DirectorySize;
  for (int i = 0; i < SecProductArchive; ++i) position += sizes.Sizes[i];
  if (position + archives.SectionLength() > UINT32_MAX) throw EBuildError("the setup would be larger than 4 GB");
  SetArchiveTable(d, archives.MainLength(), archives.ComponentLengths(), uint32_t(position));
}

void CopyArchive(TSetupWriter& setup, const TArchiveAssembly& archive) {
  if (archive.MemberCount() > 0) setup.Copy(archive.Path(), archive.Length());
}

// The stub with the package end set, the package around the archives' files; answers its size.
uint64_t WriteSetup(TWriteFile& to, std::string stub, const TPackageContent& content, const TArchiveAssembly* support,
                    const TProductArchives& archives) {
  TPackageLayout l = LayOutSections(content, support, archives);
  TPackageFrame frame;
  try {
    frame = PackageFrame(content, l.Sizes, stub.size());
  } catch (const std::length_error& e) {
    throw EBuildError(e.what());
  }
  uint64_t end = stub.size() + frame.Directory.size() + frame.Trailer.size();
  for (uint64_t size : l.Sizes) end += size;
  SetPackageEnd(stub, end);
  TSetupWriter setup(to, PeChecksumAt(ReadPeLayout(stub)));
  setup.Put(stub);
  setup.Put(frame.Directory);
  for (int i = 0; i < SectionCount; ++i) {
    if (i == SecSupportArchive) {
      setup.Put(std::string(1, support ? '\x01' : '\0'));  // present or not
      if (support) CopyArchive(setup, *support);
    } else if (i == SecProductArchive && !archives.InVolumes) {
      CopyArchive(setup, *archives.Main);
      for (const auto& own : archives.Own) CopyArchive(setup, *own);
    } else {
      setup.Put(l.Sections[i]);
    }
  }
  setup.Put(frame.Trailer);
  if (setup.Length() != end) throw std::logic_error("the setup came out at another length than laid out");
  setup.Finish();
  return end;
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
  TSignalHold hold;  // first made, last gone: an interrupt waits for the temporary files to go
  CheckVolumeSize(project.VolumeSize);
  TFileLists files = PreparedFiles(project, stubPath);
  std::vector<TInputFile> inputs = BuildInputs(project, files, stubPath);
  RefuseInputAsOutput(outPath, inputs);  // before the work, not only before the writing
  std::string stub = StubWithProductResources(ReadStub(stubPath), stubPath, project);

  TSetupOutput output(outPath, inputs);
  TFilePacker packer(progress, files.Products.size() + files.Support.size());
  TPackageContent content = project.Content;
  std::unique_ptr<TArchiveAssembly> support = PackSupportFiles(files.Support, packer, outPath);
  TProductArchives archives = PackProductFiles(files.Products, project, packer, output, outPath);
  StoreRecords(content.Description, files);
  PlaceProductArchives(content, support.get(), archives, stub.size());
  TBuildSummary summary;
  summary.SetupSize = WriteSetup(output.Setup(), std::move(stub), content, support.get(), archives);
  TSignalHold::ThrowIfRaised();
  output.Place(finish);

  summary.Files = packer.Files;
  summary.BytesIn = packer.BytesIn;
  summary.BytesOut = (support ? support->Length() : 0) +
                     (archives.InVolumes ? archives.Main->Length() : archives.SectionLength());
  summary.Volumes = output.VolumeCount();
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
