#include "vntbuild/BuildCommand.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "vntbuild/CommandLine.h"
#include "vntbuild/assemble/Assembler.h"
#include "vntbuild/wizard/DefaultWizard.h"
#include "vntbuild/assemble/OutputFiles.h"
#include "vntbuild/project/ProjectFiles.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/project/ProjectReferences.h"
#include "vntbuild/assemble/SetupOutput.h"
#include "vntbuild/assemble/Signing.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

struct TBuildArgs {
  std::string Project, Output, Stub;
  bool Strict = false;  // warnings stop the build
  TVerbosity Verbosity = TVerbosity::Normal;
  TReadOptions Read;
};

TBuildArgs TakeBuildArgs(std::vector<std::string> args) {
  TBuildArgs b;
  b.Verbosity = TakeVerbosity(args);
  b.Read.Defines = TakeDefines(args);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool valued = a == "-o" || a == "--stub";
    if (valued && i + 1 == args.size()) throw EUsageError(a + " needs a value");
    if (a == "-o") b.Output = args[++i];
    else if (a == "--strict") b.Strict = true;
    else if (a == "--stub") b.Stub = args[++i];
    else if (b.Project.empty() && !a.empty() && a[0] != '-') b.Project = a;
    else throw EUsageError("unexpected argument \"" + a + "\"");
  }
  if (b.Project.empty() || b.Output.empty()) throw EUsageError("a project file and -o SETUP are needed");
  return b;
}

// -v: every file the build reads, with the place that names it.
void ListInputs(const TProject& project, std::ostream& out) {
  for (const auto& f : project.OtherInputs) out << "read " << f.Path << " (" << f.Origin << ")\n";
  for (const auto* list : {&project.ProductFiles, &project.SupportFiles})
    for (const auto& f : *list) out << "read " << f.SourcePath << " (" << f.Origin << ")\n";
}

void ListOutputs(const std::string& output, const TBuildSummary& summary, std::ostream& out) {
  out << "wrote " << output << "\n";
  for (uint32_t v = 1; v <= summary.Volumes; ++v) out << "wrote " << VolumeName(output, v) << "\n";
}

// The stub beside the builder (an installed vntbuild), or in the build tree's win32 folder
// (build/host/vntbuild next to build/win32/vntsetup.exe).
std::string FindStub(const std::string& self) {
  fs::path here = fs::absolute(self).parent_path();
  for (const fs::path& candidate : {here / "vntsetup.exe", here.parent_path() / "win32" / "vntsetup.exe"})
    if (fs::exists(candidate)) return candidate.string();
  throw EUsageError("no vntsetup.exe beside vntbuild or in ../win32; give it with --stub");
}

void ListWarnings(const TBuildWarnings& warnings, std::ostream& out) {
  for (const auto& w : warnings.List) out << FormatWarning(w) << "\n";
}

}  // namespace

int RunBuild(std::vector<std::string> args, const std::string& self) {
  TSignOptions sign;
  try {
    sign = TakeSignOptions(args);
  } catch (const std::invalid_argument& e) {
    throw EUsageError(e.what());
  }
  TBuildArgs b = TakeBuildArgs(args);
  std::ostream quiet(nullptr);
  std::ostream& out = b.Verbosity == TVerbosity::Quiet ? quiet : std::cout;
  // Absolute: the uninstaller is looked for beside it, and relative paths of the project
  // start at the project's folder.
  std::string stub = fs::absolute(b.Stub.empty() ? FindStub(self) : b.Stub).string();
  TProject project = ReadProject(b.Project, b.Read);
  if (b.Verbosity == TVerbosity::Verbose) ListInputs(project, out);
  if (!project.DialogsGiven &&
      AddDefaultWizardIfNone(project.Content, project.WizardTranslations, project.WizardPages,
                             project.LaunchProgram))
    out << "no dialogs in the project: the default wizard"
        << (project.WizardPages.empty() ? "" : " with the project's own pages") << "\n";
  TBuildWarnings warnings = CheckProjectReferences(project);
  if (b.Strict && !warnings.List.empty()) {
    ListWarnings(warnings, std::cerr);
    std::cerr << "vntbuild: " << warnings.CountText() << ", which --strict makes errors\n";
    return ExitProjectError;
  }
  sign.ProductName = project.Content.Description.Properties.SoftwareName;
  // The uninstaller is signed before it is packed: Windows checks it when it starts, too.
  std::optional<TPrivateFolder> temp;
  if (sign.Enabled() && CarriesUninstaller(project)) {
    temp.emplace("vntbuild-");
    std::string uninstaller = UninstallerSource(project, stub);
    project.OtherInputs.push_back({uninstaller, "the uninstaller"});
    project.UninstallerPath = SignedCopy(uninstaller, sign, temp->Path().string());
  }
  TSetupFinish finish;
  if (sign.Enabled()) finish = [&sign](const std::string& written) { SignFile(written, sign); };
  TBuildSummary summary = AssembleSetup(project, stub, b.Output, out, finish);
  for (const auto& w : warnings.List) summary.Warnings.push_back(FormatWarning(w));
  if (b.Verbosity == TVerbosity::Verbose) ListOutputs(b.Output, summary, out);
  PrintBuildSummary(summary, sign.Enabled(), out);
  // Warnings are diagnostics: on standard error, even in a quiet build.
  if (!warnings.List.empty()) {
    ListWarnings(warnings, std::cerr);
    std::cerr << warnings.CountText() << "\n";
  }
  return ExitDone;
}

void PrintBuildSummary(const TBuildSummary& summary, bool signedSetup, std::ostream& out) {
  out << SummaryLine(summary) << (signedSetup ? ", signed" : "");
  size_t n = summary.Warnings.size();
  if (n) out << ", " << n << (n == 1 ? " warning" : " warnings") << " (listed on standard error)";
  out << "\n";
}

}  // namespace vnt
