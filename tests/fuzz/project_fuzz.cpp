// libFuzzer target: bytes as a project file, read as `vntbuild build` reads it, with the
// default wizard added and the references checked. It stands in a folder of its own beside
// links to the sample product's files, so that a project naming them reads them. Promises:
// only EProjectError and EScriptSyntaxError are raised.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/project/ProjectReferences.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/wizard/DefaultWizard.h"

namespace fs = std::filesystem;

namespace {

fs::path FuzzFolder() {
  fs::path dir = fs::temp_directory_path() / ("vnt-project-fuzz-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "bin");
  // The sample's own bin/ (made when the sample is built) gives way to the stand-in program.
  for (const auto& entry : fs::directory_iterator(fs::path(VNT_SOURCE_DIR) / "examples" / "hello"))
    if (!fs::exists(dir / entry.path().filename())) fs::create_symlink(entry.path(), dir / entry.path().filename());
  std::ofstream(dir / "bin" / "hello.exe", std::ios::binary) << "MZ";
  return dir;
}

struct TFolderRemoval {
  fs::path Dir;
  ~TFolderRemoval() { fs::remove_all(Dir); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFolderRemoval folder{FuzzFolder()};
  const fs::path file = folder.Dir / "fuzz.json";
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
  try {
    vnt::TProject project = vnt::ReadProject(file.string());
    if (!project.DialogsGiven)
      vnt::AddDefaultWizardIfNone(project.Content, project.WizardTranslations, project.WizardPages,
                                  project.LaunchProgram);
    vnt::CheckProjectReferences(project);
  } catch (const vnt::EProjectError&) {
  } catch (const vnt::EScriptSyntaxError&) {
  }
  return 0;
}
