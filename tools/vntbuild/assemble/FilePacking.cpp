#include "vntbuild/assemble/FilePacking.h"

#include <algorithm>
#include <cstdio>

#include "package/PackageStream.h"
#include "package/PeResource.h"
#include "vntbuild/assemble/ArchiveLayout.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/assemble/SignalHold.h"
#include "vntbuild/project/ProjectFiles.h"

namespace vnt {

namespace {

// The setup program as the uninstaller: an empty member dated as the stub, whose record
// tells the size the program will have once written (free space, the replace question).
uint64_t PackRunningSetup(TProjectFile& f, TArchiveAssembly& archive) {
  TInputStream stub(f.SourcePath, MaxCarriedFileSize);
  std::string headers(size_t(std::min<uint64_t>(stub.Size(), 4096)), '\0');
  headers.resize(stub.Read(headers.data(), headers.size()));
  f.Record.File.Size = uint32_t(PeImageEnd(headers).value_or(stub.Size()));
  TMemoryStream none;
  if (!f.DateGiven) f.Record.DateTime = SourceDateOf(f.SourcePath);
  return archive.Add(f.Record.Id, f.Record.DateTime, none);
}

// The record's facts, read before the bytes: the file is opened once and read to its end.
uint64_t PackFile(TProjectFile& f, TArchiveAssembly& archive) {
  if (f.RunningSetup) return PackRunningSetup(f, archive);
  TInputStream source(f.SourcePath, MaxCarriedFileSize);
  TSetupInstallerFile& r = f.Record;
  r.File.Size = uint32_t(source.Size());
  if (!f.DateGiven) r.DateTime = SourceDateOf(f.SourcePath);
  if (auto version = FileVersionOf(source); version && !f.VersionGiven)
    r.VersionHigh = version->High, r.VersionLow = version->Low;
  source.Seek(0);
  return archive.Add(r.Id, r.DateTime, source);
}

}  // namespace

std::string Grouped(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

void TFilePacker::Pack(TProjectFile& f, TArchiveAssembly& archive) {
  TSignalHold::ThrowIfRaised();
  uint64_t packed = 0;
  try {
    packed = PackFile(f, archive);
  } catch (const EWriteError&) {
    throw;
  } catch (const EBuildError& e) {
    throw EBuildError(Where(f) + e.what());
  }
  ++Files;
  uint64_t read = f.RunningSetup ? 0 : f.Record.File.Size;  // the setup's own program is not read in
  BytesIn += read;
  char line[64];
  std::snprintf(line, sizeof line, "  [%u/%zu] ", Files, Count);
  Progress << line << f.Record.File.SourceName << ": " << Grouped(read) << " -> " << Grouped(packed) << " bytes\n"
           << std::flush;
}

std::unique_ptr<TArchiveAssembly> PackSupportFiles(std::vector<TProjectFile>& files, TFilePacker& packer,
                                                   const std::string& outPath) {
  if (files.empty()) return nullptr;
  auto archive = std::make_unique<TArchiveAssembly>("", outPath);
  for (auto& f : files) packer.Pack(f, *archive);
  archive->Finish();
  return archive;
}

TProductArchives PackProductFiles(std::vector<TProjectFile>& files, const TProject& project, TFilePacker& packer,
                                  TSetupOutput& output, const std::string& outPath) {
  const auto& components = project.Content.Description.Components;
  TProductArchives a;
  a.InVolumes = project.VolumeSize > 0;
  if (a.InVolumes)
    a.Main = std::make_unique<TArchiveAssembly>(
        "", project.VolumeSize, [&output](uint32_t volume) -> TWriteFile& { return output.Volume(volume); });
  else
    a.Main = std::make_unique<TArchiveAssembly>("", outPath);
  for (const auto& c : components) a.Own.push_back(std::make_unique<TArchiveAssembly>(c.Name, outPath));
  for (auto& f : files) {
    int component = a.InVolumes ? -1 : ComponentArchiveOf(f.Record.File, components, project.ComponentArchives);
    packer.Pack(f, component < 0 ? *a.Main : *a.Own[size_t(component)]);
  }
  // Volumes hold the archive even without a member; inside the setup an empty one is left out.
  if (a.InVolumes || a.Main->MemberCount() > 0) a.Main->Finish();
  for (auto& archive : a.Own)
    if (archive->MemberCount() > 0) archive->Finish();
  if (a.SectionLength() > UINT32_MAX) throw EBuildError("the product archives come to more than 4 GB");
  return a;
}

uint32_t TProductArchives::MainLength() const { return InVolumes ? 0 : uint32_t(Main->Length()); }

std::vector<uint32_t> TProductArchives::ComponentLengths() const {
  std::vector<uint32_t> lengths;
  for (const auto& archive : Own) lengths.push_back(uint32_t(archive->Length()));
  return lengths;
}

uint64_t TProductArchives::SectionLength() const {
  uint64_t length = InVolumes ? 0 : Main->Length();
  for (const auto& archive : Own) length += archive->Length();
  return length;
}

}  // namespace vnt
