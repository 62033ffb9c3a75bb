// Writes a setup's description back as a project file: pretty JSON in a fixed key order,
// with what the reader would fill in by itself left out, and the scripts as script text.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupFuncs.h"
#include "vntbuild/assemble/VersionResource.h"

namespace vnt {

struct TProjectScriptFile {
  std::string Path;  // relative to the project's folder, "scripts/start.vns"
  std::string Text;  // UTF-8, as script files are read
};

struct TProjectText {
  std::string Json;
  std::vector<TProjectScriptFile> ScriptFiles;  // empty when every script stands inline
};

// What a dump gives back of the setup program's own resources.
struct TDumpedResources {
  std::optional<TVersionStrings> Version;
  std::string IconPath;       // the icon file the dump wrote, relative to the project; "": none
  std::string SetupFileName;  // the dumped setup's, which a build of the same name records anyway
};

// Product files name their bytes "files/<id>/<name>", support files "support/<id>/<name>".
// The uninstaller's file record is left out: the builder adds it for a setup that creates
// an uninstaller. With scriptsInFiles the setup's and the pages' scripts (and long control
// scripts) go into files of their own.
TProjectText WriteProject(const TSetupDescription& desc, const std::array<uint8_t, OptionCount>& options,
                          bool scriptsInFiles, const TDumpedResources& resources = {});
// DIR/project.json and DIR/scripts/...
void SaveProjectFolder(const TProjectText& project, const std::filesystem::path& dir);

}  // namespace vnt
