#include "vntbuild/CommandLine.h"

#include <algorithm>

#include "archive/ArchiveFormat.h"
#include "package/PackageStream.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/Signing.h"
#include "vntbuild/project/ProjectDefines.h"
#include "vntbuild/project/ProjectError.h"
#include "vntbuild/script/ScriptCompiler.h"

namespace vnt {

namespace {

struct TCommandHelp {
  const char* Name;
  const char* Text;
};

const TCommandHelp Commands[] = {
    {"build",
     "  vntbuild build <project.json> -o <setup.exe> [--stub <stub.exe>] [-D NAME=VALUE]... [-v | -q]\n"
     "                [signing options]\n"
     "      build a setup from its project file; -D gives ${NAME} in the project's texts a value,\n"
     "      -v lists what is read and written, -q shows errors only\n"},
    {"dump",
     "  vntbuild dump <setup.exe> [-o <dir>]\n"
     "      print a setup as a project file, or write it with its scripts and files into dir\n"},
    {"extract", "  vntbuild extract <setup.exe> -o <dir>\n      write the files of a setup's archives into dir\n"},
    {"sample",
     "  vntbuild sample <stub.exe> <setup.exe> [signing options]\n      write the sample product's setup\n"},
    {"script",
     "  vntbuild script compile <in.vns> <out>   compile a script (UTF-8) into its stored form\n"
     "  vntbuild script decompile <in>           print a stored script as text\n"
     "  vntbuild script not-yet                  list the commands the setup does not carry out yet\n"},
    {"help", "  vntbuild help [COMMAND]\n      this text, or the usage of one command\n"},
};

bool TakesSignOptions(const std::string& command) { return command == "build" || command == "sample"; }

std::string Footer(bool signing) {
  std::string text = signing ? std::string("signing options:\n") + SignOptionsUsage() : "";
  return text + "exit codes: 0 done, 1 project error, 2 usage error, 3 write or signing failure\n";
}

}  // namespace

TVerbosity TakeVerbosity(std::vector<std::string>& args) {
  TVerbosity v = TVerbosity::Normal;
  bool quiet = false, verbose = false;
  args.erase(std::remove_if(args.begin(), args.end(),
                            [&](const std::string& a) {
                              bool q = a == "-q" || a == "--quiet", w = a == "-v" || a == "--verbose";
                              quiet |= q, verbose |= w;
                              return q || w;
                            }),
             args.end());
  if (quiet && verbose) throw EUsageError("-v and -q cannot go together");
  if (quiet) v = TVerbosity::Quiet;
  if (verbose) v = TVerbosity::Verbose;
  return v;
}

std::map<std::string, std::string> TakeDefines(std::vector<std::string>& args) {
  std::map<std::string, std::string> defines;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i].rfind("-D", 0) != 0) {
      rest.push_back(args[i]);
      continue;
    }
    std::string definition = args[i].substr(2);
    if (definition.empty()) {
      if (i + 1 == args.size()) throw EUsageError("-D needs NAME=VALUE");
      definition = args[++i];
    }
    size_t equals = definition.find('=');
    std::string name = definition.substr(0, equals);
    if (equals == std::string::npos || !IsDefineName(name))
      throw EUsageError("-D " + definition + ": expected NAME=VALUE, the name of letters, digits and \"_\"");
    defines[name] = definition.substr(equals + 1);
  }
  args = std::move(rest);
  return defines;
}

bool TakeHelp(std::vector<std::string>& args) {
  auto help = [](const std::string& a) { return a == "--help" || a == "-h" || a == "-?"; };
  bool found = std::any_of(args.begin(), args.end(), help);
  args.erase(std::remove_if(args.begin(), args.end(), help), args.end());
  return found;
}

std::string UsageText() {
  std::string text = "usage:\n";
  for (const auto& c : Commands) text += c.Text;
  return text + Footer(true);
}

std::optional<std::string> CommandUsage(const std::string& command) {
  for (const auto& c : Commands)
    if (command == c.Name) return std::string("usage:\n") + c.Text + Footer(TakesSignOptions(command));
  return std::nullopt;
}

int ExitCodeOf(const std::exception& e) {
  if (dynamic_cast<const EUsageError*>(&e)) return ExitUsage;
  if (dynamic_cast<const EWriteError*>(&e) || dynamic_cast<const EOutputError*>(&e) ||
      dynamic_cast<const ESigningError*>(&e))
    return ExitWriteFailure;
  return ExitProjectError;
}

int RunReportingFailures(const std::string& command, const std::function<int()>& run, std::ostream& err) {
  try {
    return run();
  } catch (const EScriptSyntaxError& e) {
    for (const auto& line : e.Messages()) err << line << "\n";
    return ExitCodeOf(e);
  } catch (const EPackageError& e) {
    err << "vntbuild: damaged setup package: " << e.what() << "\n";
    return ExitCodeOf(e);
  } catch (const EUsageError& e) {
    err << "vntbuild: " << e.what() << "\n" << CommandUsage(command).value_or(UsageText());
    return ExitCodeOf(e);
  } catch (const std::exception& e) {
    err << "vntbuild: " << e.what() << "\n";
    return ExitCodeOf(e);
  }
}

}  // namespace vnt
