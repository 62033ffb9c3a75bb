// vntbuild build: from a project file to a finished, optionally signed setup.
#pragma once

#include <string>
#include <vector>

namespace vnt {

// args: PROJECT -o SETUP [--stub STUB] [-D NAME=VALUE]... [-v | -q] [signing options]. self:
// the builder's own path, near which the stub is looked for when --stub is not given. Answers
// 0 when built; a failure is raised (EUsageError, EProjectError, EBuildError, EWriteError,
// ESigningError) for RunReportingFailures to report with its exit code.
int RunBuild(std::vector<std::string> args, const std::string& self);

}  // namespace vnt
