#include "vntbuild/project/ProjectFiles.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "package/PackageWriter.h"
#include "package/SetupQueries.h"
#include "package/VarList.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/InputFiles.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

bool IsUninstallerRecord(const TSetupInstallerFile& r) {
  return CompareTextIgnoringCase(FileNamePart(r.File.SourceName), "VNTUNINST.DAT") == 0 &&
         r.File.Condition == "uninstaller";
}

std::string Resolved(const TProject& project, const std::string& path) {
  fs::path p(path);
  if (p.is_relative() && !project.BaseDir.empty()) p = fs::path(project.BaseDir) / p;
  return p.string();
}

// The product files, with the uninstaller program when the setup carries one: the setup
// program itself unless the project names one (a signed build names its signed copy).
std::vector<TProjectFile> ProductFileList(const TProject& project, const std::string& stubPath) {
  std::vector<TProjectFile> files = project.ProductFiles;
  bool present = std::any_of(files.begin(), files.end(), [](const TProjectFile& f) { return IsUninstallerRecord(f.Record); });
  if (CarriesUninstaller(project) && !present) {
    TProjectFile u;
    u.RunningSetup = project.UninstallerPath.empty();
    u.SourcePath = u.RunningSetup ? stubPath : project.UninstallerPath;
    u.Record = UninstallerFileRecord(UnassignedFileId, 0, 0);
    u.Origin = u.RunningSetup ? "the setup program as the uninstaller" : project.Path + ": /uninstaller";
    files.push_back(u);
  }
  for (auto& f : files) f.SourcePath = Resolved(project, f.SourcePath);
  return files;
}

// Gives every file without an id the next free one, in list order; an id given twice would
// restore one file's bytes under the other's name.
void AssignIds(std::vector<TProjectFile>& files, const std::string& what) {
  std::map<int32_t, const TProjectFile*> used;
  for (const auto& f : files) {
    if (f.Record.Id < 0) continue;
    auto [at, fresh] = used.emplace(f.Record.Id, &f);
    if (!fresh)
      throw EBuildError(what + " file id " + std::to_string(f.Record.Id) + " is given twice: " +
                        at->second->SourcePath + " and " + f.SourcePath);
  }
  int32_t next = 1;
  for (auto& f : files) {
    if (f.Record.Id >= 0) continue;
    while (used.count(next)) ++next;
    f.Record.Id = next;
    used.emplace(next, &f);
  }
}

// All unreadable files at once, so the author fixes the project in one go.
void CheckSources(const std::vector<TProjectFile>& files) {
  std::string missing;
  for (const auto& f : files)
    if (std::string problem = InputProblem(f.SourcePath, MaxCarriedFileSize); !problem.empty())
      missing += "\n  " + Where(f) + problem;
  if (!missing.empty()) throw EBuildError("source files that cannot be read:" + missing);
}

}  // namespace

std::string Where(const TProjectFile& file) { return file.Origin.empty() ? "" : file.Origin + ": "; }

bool CarriesUninstaller(const TProject& project) {
  const auto& options = project.Content.Options;
  return options[OptCreateUninstaller - 1] && !options[OptDeviceOnly - 1];
}

std::string UninstallerSource(const TProject& project, const std::string& stubPath) {
  if (!project.UninstallerPath.empty()) return project.UninstallerPath;
  return (fs::path(stubPath).parent_path() / "vntuninst.exe").string();
}

TFileLists PreparedFiles(const TProject& project, const std::string& stubPath) {
  TFileLists files{ProductFileList(project, stubPath), project.SupportFiles};
  for (auto& f : files.Support) f.SourcePath = Resolved(project, f.SourcePath);
  AssignIds(files.Products, "product");
  AssignIds(files.Support, "support");
  CheckSources(files.Products);
  CheckSources(files.Support);
  return files;
}

std::vector<TInputFile> BuildInputs(const TProject& project, const TFileLists& files, const std::string& stubPath) {
  std::vector<TInputFile> inputs = project.OtherInputs;
  for (const auto* list : {&files.Products, &files.Support})
    for (const auto& f : *list)
      if (!f.RunningSetup) inputs.push_back({f.SourcePath, f.Origin});
  inputs.push_back({stubPath, "the setup stub"});
  return inputs;
}

}  // namespace vnt
