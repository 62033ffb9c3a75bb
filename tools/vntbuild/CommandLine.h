// The command line of vntbuild: its exit codes, the options several commands share, the
// usage texts, and the one place where a failure becomes its message and exit code.
#pragma once

#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vnt {

enum TExitCode : int {
  ExitDone = 0,          // built (or the command did its work)
  ExitProjectError = 1,  // the project, a file it names or a setup read is wrong
  ExitUsage = 2,         // the command line is wrong
  ExitWriteFailure = 3,  // an output could not be written, or the setup not signed
};

// A command line that cannot be carried out as given.
class EUsageError : public std::invalid_argument {
public:
  using std::invalid_argument::invalid_argument;
};

enum class TVerbosity { Quiet, Normal, Verbose };

// Takes "-v"/"--verbose" and "-q"/"--quiet" out of args; both at once is a usage error.
TVerbosity TakeVerbosity(std::vector<std::string>& args);
// Takes "-D NAME=VALUE" and "-DNAME=VALUE" out of args; a later value of a name wins.
std::map<std::string, std::string> TakeDefines(std::vector<std::string>& args);
// Takes "--help", "-h" and "-?" out of args; true when one was there.
bool TakeHelp(std::vector<std::string>& args);

// The usage of every command, and of one ("build", "dump", ...); none for an unknown command.
std::string UsageText();
std::optional<std::string> CommandUsage(const std::string& command);

int ExitCodeOf(const std::exception& e);
// Runs a command; a failure is written to err as "vntbuild: ..." (a usage error with the
// command's usage) and answers its exit code.
int RunReportingFailures(const std::string& command, const std::function<int()>& run, std::ostream& err);

}  // namespace vnt
