// Turns a project into a finished setup: reads every file the project names, compresses the
// main, component and support archives (the product archive optionally in volume files beside
// the setup), adds the uninstaller when the setup creates one, and appends the package to the
// stub with the package-end resource set.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "vntbuild/project/Project.h"
#include "vntbuild/assemble/SetupOutput.h"

namespace vnt {

struct TBuildSummary {
  uint32_t Files = 0;      // product and support files, the uninstaller included
  uint64_t BytesIn = 0;    // their sizes
  uint64_t BytesOut = 0;   // the archives they became
  uint64_t SetupSize = 0;  // the written setup program
  uint32_t Volumes = 0;    // volume files beside it; 0 when the archive is inside
  double Seconds = 0;
  std::vector<std::string> Warnings;  // what the build let pass but the author should see
};

// Writes outPath (and its volume files); one line per compressed file goes to progress; finish
// works on the written setup before it takes its place. Any fault (a missing source file, a
// stub without the package-end resource, a file id given twice, sizes beyond the format, an
// output that is one of the inputs) raises EBuildError and leaves the earlier setup as it was.
TBuildSummary AssembleSetup(const TProject& project, const std::string& stubPath, const std::string& outPath,
                            std::ostream& progress, const TSetupFinish& finish = {});

// "12 files, 1,234,567 bytes in, 345,678 bytes out (28.0%), 0.4 s"
std::string SummaryLine(const TBuildSummary& summary);

}  // namespace vnt
