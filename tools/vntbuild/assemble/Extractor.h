// `vntbuild extract`: writes the members of a setup's archives out as files, with their dates:
// product files (also from volume files beside the setup) under DIR/files/<id>/, support
// files under DIR/support/<id>/, each named by the file-name part of its record's source name.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace vnt {

struct TExtractSummary {
  uint32_t Files = 0;
  uint64_t Bytes = 0;
};

// Where a member goes; a name that could leave its folder (empty, "." or "..") or that
// Windows cannot take as a file name (device names such as NUL, reserved characters, a
// trailing dot or blank) is replaced by "file<id>".
std::string ExtractedPath(const std::string& outDir, bool support, int32_t id, const std::string& sourceName);

// One line per written file goes to progress. A file that is not a setup, a damaged archive
// or a missing volume raises EBuildError; the files written before it stay.
TExtractSummary ExtractSetup(const std::string& setupPath, const std::string& outDir, std::ostream& progress);

}  // namespace vnt
