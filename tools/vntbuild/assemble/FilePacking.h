// The project's files packed into their archives one at a time, each read a chunk at a time:
// its size, date and version go into its record as it is read, and a line to the progress.
// A file of exactly one component travels in that component's archive when the component has
// one, every other product file in the main archive.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "vntbuild/assemble/ArchiveAssembly.h"
#include "vntbuild/assemble/SetupOutput.h"
#include "vntbuild/project/Project.h"

namespace vnt {

// "1,234,567"
std::string Grouped(uint64_t n);

class TFilePacker {
public:
  TFilePacker(std::ostream& progress, size_t fileCount) : Progress(progress), Count(fileCount) {}

  void Pack(TProjectFile& f, TArchiveAssembly& archive);

  uint32_t Files = 0;
  uint64_t BytesIn = 0;

private:
  std::ostream& Progress;
  size_t Count;
};

// The support archive, in a temporary file beside outPath; none without support files.
std::unique_ptr<TArchiveAssembly> PackSupportFiles(std::vector<TProjectFile>& files, TFilePacker& packer,
                                                   const std::string& outPath);

// The archives of the product archive section: the main archive (left out when it has no
// member) and the component archives after it, in temporary files beside outPath; with
// volumes, one archive of every file in the output's volume files.
struct TProductArchives {
  std::unique_ptr<TArchiveAssembly> Main;
  std::vector<std::unique_ptr<TArchiveAssembly>> Own;  // one per component
  bool InVolumes = false;

  uint32_t MainLength() const;
  std::vector<uint32_t> ComponentLengths() const;
  // The section's bytes: the archives that hold members, end to end; 0 with volumes.
  uint64_t SectionLength() const;
};

TProductArchives PackProductFiles(std::vector<TProjectFile>& files, const TProject& project, TFilePacker& packer,
                                  TSetupOutput& output, const std::string& outPath);

}  // namespace vnt
