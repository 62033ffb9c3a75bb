// vntbuild build: from a project file to a finished, optionally signed setup.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vnt {

struct TBuildSummary;

// args: PROJECT -o SETUP [--stub STUB] [-D NAME=VALUE]... [-v | -q] [--strict] [signing options]. self:
// the builder's own path, near which the stub is looked for when --stub is not given. Answers
// 0 when built; a failure is raised (EUsageError, EProjectError, EBuildError, EWriteError,
// ESigningError) for RunReportingFailures to report with its exit code.
int RunBuild(std::vector<std::string> args, const std::string& self);

// The summary line, with the warnings counted on it and each listed on a line below it.
void PrintBuildSummary(const TBuildSummary& summary, bool signedSetup, std::ostream& out);

}  // namespace vnt
