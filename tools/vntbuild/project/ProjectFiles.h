// The files of a project made ready to pack: the uninstaller added when the setup creates
// one, paths resolved against the project's folder, ids given where the project left them
// open, and every source present.
#pragma once

#include <string>
#include <vector>

#include "vntbuild/project/Project.h"

namespace vnt {

struct TFileLists {
  std::vector<TProjectFile> Products, Support;
};

// Whether the setup carries the uninstaller: it creates one and is not device-only (that
// writes no uninstall data, so an uninstaller would only be left behind, unused).
bool CarriesUninstaller(const TProject& project);
// The uninstaller program a signed build signs and carries: the project's, else
// vntuninst.exe beside the stub.
std::string UninstallerSource(const TProject& project, const std::string& stubPath);

// Raises EBuildError naming every source file that cannot be read, or a file id given twice.
TFileLists PreparedFiles(const TProject& project, const std::string& stubPath);

// Every file the build reads: the project's other inputs, the sources, the stub.
std::vector<TInputFile> BuildInputs(const TProject& project, const TFileLists& files, const std::string& stubPath);

// "p.json: /files/3/source: " for messages about the file; empty when the project names none.
std::string Where(const TProjectFile& file);

}  // namespace vnt
