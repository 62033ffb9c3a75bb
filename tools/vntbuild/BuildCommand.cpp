#include "vntbuild/BuildCommand.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "vntbuild/assemble/Assembler.h"
#include "vntbuild/wizard/DefaultWizard.h"
#include "vntbuild/assemble/OutputFiles.h"
#include "vntbuild/project/ProjectFiles.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/assemble/Signing.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

struct TBuildArgs {
  std::string Project, Output, Stub;
};

TBuildArgs TakeBuildArgs(std::vector<std::string> args) {
  TBuildArgs b;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool valued = a == "-o" || a == "--stub";
    if (valued && i + 1 == args.size()) throw std::invalid_argument(a + " needs a value");
    if (a == "-o") b.Output = args[++i];
    else if (a == "--stub") b.Stub = args[++i];
    else if (b.Project.empty() && !a.empty() && a[0] != '-') b.Project = a;
    else throw std::invalid_argument("unexpected argument \"" + a + "\"");
  }
  if (b.Project.empty() || b.Output.empty()) throw std::invalid_argument("a project file and -o SETUP are needed");
  return b;
}

// The stub beside the builder (an installed vntbuild), or in the build tree's win32 folder
// (build/host/vntbuild next to build/win32/vntsetup.exe).
std::string FindStub(const std::string& self) {
  fs::path here = fs::absolute(self).parent_path();
  for (const fs::path& candidate : {here / "vntsetup.exe", here.parent_path() / "win32" / "vntsetup.exe"})
    if (fs::exists(candidate)) return candidate.string();
  throw std::runtime_error("no vntsetup.exe beside vntbuild or in ../win32; give it with --stub");
}

}  // namespace

int RunBuild(std::vector<std::string> args, const std::string& self) {
  TSignOptions sign;
  TBuildArgs b;
  try {
    sign = TakeSignOptions(args);
    b = TakeBuildArgs(args);
  } catch (const std::invalid_argument& e) {
    std::cerr << "vntbuild build: " << e.what() << "\nusage: vntbuild build PROJECT -o SETUP [--stub STUB] "
              << "[signing options]\n" << SignOptionsUsage();
    return 2;
  }
  // Absolute: the uninstaller is looked for beside it, and relative paths of the project
  // start at the project's folder.
  std::string stub = fs::absolute(b.Stub.empty() ? FindStub(self) : b.Stub).string();
  TProject project = ReadProject(b.Project);
  if (!project.DialogsGiven &&
      AddDefaultWizardIfNone(project.Content, project.WizardTranslations, project.WizardPages))
    std::cout << "no dialogs in the project: the default wizard"
              << (project.WizardPages.empty() ? "" : " with the project's own pages") << "\n";
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
  TBuildSummary summary = AssembleSetup(project, stub, b.Output, std::cout, finish);
  std::cout << SummaryLine(summary) << (sign.Enabled() ? ", signed" : "") << "\n";
  return 0;
}

}  // namespace vnt
