// vntbuild: writes setups and shows what is inside them.
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "package/PackagePrimitives.h"
#include "package/PeResource.h"
#include "package/ScriptCodec.h"
#include "package/ScriptTypes.h"
#include "package/SetupFuncs.h"
#include "package/SetupSections.h"
#include "script/CommandsNotYet.h"
#include "vntbuild/BuildCommand.h"
#include "vntbuild/CommandLine.h"
#include "vntbuild/assemble/Extractor.h"
#include "vntbuild/assemble/SetupResources.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/assemble/OutputFiles.h"
#include "vntbuild/project/CodePage.h"
#include "vntbuild/project/ProjectWriter.h"
#include "vntbuild/SampleProject.h"
#include "vntbuild/assemble/SetupOutput.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/script/ScriptDecompiler.h"
#include "vntbuild/script/ScriptSource.h"
#include "vntbuild/assemble/Signing.h"
#include "vntbuild/assemble/StdFileStream.h"

namespace {

int Usage() {
  std::cerr << vnt::UsageText();
  return vnt::ExitUsage;
}

// "vntbuild help [COMMAND]", "vntbuild --help", "vntbuild COMMAND --help": the usage on
// standard output, exit 0; none when the words ask for no help.
std::optional<int> Help(std::vector<std::string> words) {
  bool asked = vnt::TakeHelp(words);
  if (!words.empty() && words[0] == "help") {
    asked = true;
    words.erase(words.begin());
  }
  if (!asked) return std::nullopt;
  if (words.empty()) {
    std::cout << vnt::UsageText();
    return vnt::ExitDone;
  }
  if (auto usage = vnt::CommandUsage(words[0])) {
    std::cout << *usage;
    return vnt::ExitDone;
  }
  std::cerr << "vntbuild: no command \"" << words[0] << "\"\n" << vnt::UsageText();
  return vnt::ExitUsage;
}

// The package-end value that the setup's own resource holds, as the setup itself reads it.
uint32_t PackageEndOf(const std::string& path) {
  std::string image = vnt::ReadWholeFile(path);
  auto res = vnt::FindPeResource(image, vnt::PackageEndResourceType, vnt::PackageEndResourceName);
  if (!res || res->Size < 4) return 0;
  vnt::TMemoryStream s(image.substr(res->FileOffset, 4));
  return vnt::ReadU32(s);
}

// The setup's package as a project: to stdout with every script inline, or into a folder
// with the scripts and the archives' files beside it.
int Dump(const std::string& path, const std::string& dir) {
  vnt::TPackage pkg;
  if (!vnt::OpenPackage(pkg, path, vnt::TStdFileStream::OpenRead(path), PackageEndOf(path))) {
    std::cerr << "vntbuild: cannot open " << path << "\n";
    return 1;
  }
  if (!vnt::PackageIsValid(pkg)) {
    std::cerr << "vntbuild: " << path << " carries no valid setup package\n";
    return 1;
  }
  vnt::TSetupDescription desc;
  std::string language;
  vnt::ReadDescription(pkg, desc, language, true);
  // The setup program's icon goes beside the project only when the dump writes files.
  vnt::TSetupOwnResources own = vnt::ReadSetupOwnResources(vnt::ReadWholeFile(path));
  vnt::TDumpedResources resources{own.Version, "", std::filesystem::path(path).filename().string()};
  if (!dir.empty() && !own.IconFile.empty()) resources.IconPath = "setup.ico";
  vnt::TProjectText project = vnt::WriteProject(desc, pkg.Options, !dir.empty(), resources);
  if (dir.empty()) {
    std::cout << project.Json;
  } else {
    vnt::SaveProjectFolder(project, dir);
    if (!resources.IconPath.empty()) vnt::WriteWholeFile((std::filesystem::path(dir) / "setup.ico").string(), own.IconFile);
    // The files go where the project names them, so that the folder builds again as it is.
    vnt::TExtractSummary files = vnt::ExtractSetup(path, dir, std::cout);
    std::cout << "wrote " << (std::filesystem::path(dir) / "project.json").string() << " and " << files.Files
              << " files\n";
  }
  return 0;
}

// The package end goes into the setup's resource, so that a signature appended by any
// signing tool, now or later, leaves the package where the setup looks for it.
int Sample(std::vector<std::string> args) {
  vnt::TSignOptions sign;
  try {
    sign = vnt::TakeSignOptions(args);
  } catch (const std::invalid_argument& e) {
    std::cerr << "vntbuild: " << e.what() << "\n";
    return Usage();
  }
  if (args.size() != 2) return Usage();
  const std::string &stub = args[0], &out = args[1];
  vnt::TPackageContent content = vnt::SampleHelloPackage();
  sign.ProductName = content.Description.Properties.SoftwareName;
  vnt::RefuseInputAsOutput(out, {{stub, "the setup stub"}});
  std::string setup = vnt::AppendPackage(vnt::ReadInputFile(stub, vnt::MaxCarriedFileSize), content, true);
  vnt::TOutputFiles files;
  std::string written = files.Write(out, setup);
  if (sign.Enabled()) vnt::SignFile(written, sign);
  files.Place();
  std::cout << "wrote " << out << (sign.Enabled() ? ", signed" : "") << "\n";
  return 0;
}

int Extract(const std::string& setup, const std::string& dir) {
  vnt::TExtractSummary s = vnt::ExtractSetup(setup, dir, std::cout);
  std::cout << s.Files << " files, " << s.Bytes << " bytes written to " << dir << "\n";
  return 0;
}

// Script files are UTF-8; the stored script holds the default code page's bytes.
int CompileScript(const std::string& in, const std::string& out) {
  std::string source = vnt::ScriptSourceToCodePage(vnt::ReadWholeFile(in), in, vnt::DefaultCodePage);
  vnt::TMemoryStream stored;
  vnt::WriteScript(stored, vnt::CompileScriptText(source, in));
  vnt::WriteWholeFile(out, stored.Bytes());
  return 0;
}

int DecompileScript(const std::string& in) {
  vnt::TMemoryStream stored(vnt::ReadWholeFile(in));
  std::cout << vnt::CodePageToUtf8(vnt::DecompileScript(vnt::ReadScript(stored)));
  return 0;
}

// One "opcode name" line each: scripts may use them, and at run time they do nothing.
int ListCommandsNotYet() {
  for (uint8_t op : vnt::CommandsNotYetCarriedOut()) std::cout << int(op) << " " << vnt::OpcodeName(op) << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  if (auto help = Help(words)) return *help;
  std::string command = argc > 1 ? argv[1] : "";
  return vnt::RunReportingFailures(command, [&] {
    if (command == "build") return vnt::RunBuild({argv + 2, argv + argc}, argv[0]);
    if (command == "dump" && argc == 3) return Dump(argv[2], "");
    if (command == "dump" && argc == 5 && std::string(argv[3]) == "-o") return Dump(argv[2], argv[4]);
    if (command == "extract" && argc == 5 && std::string(argv[3]) == "-o") return Extract(argv[2], argv[4]);
    if (command == "sample") return Sample({argv + 2, argv + argc});
    std::string sub = argc > 2 ? argv[2] : "";
    if (command == "script" && sub == "compile" && argc == 5) return CompileScript(argv[3], argv[4]);
    if (command == "script" && sub == "decompile" && argc == 4) return DecompileScript(argv[3]);
    if (command == "script" && sub == "not-yet" && argc == 3) return ListCommandsNotYet();
    return Usage();
  }, std::cerr);
}
