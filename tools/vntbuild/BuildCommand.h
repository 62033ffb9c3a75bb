// vntbuild build: from a project file to a finished, optionally signed setup.
#pragma once

#include <string>
#include <vector>

namespace vnt {

// args: PROJECT -o SETUP [--stub STUB] [--strict] [signing options]. self: the builder's own path, near
// which the stub is looked for when --stub is not given. Answers the exit code.
int RunBuild(std::vector<std::string> args, const std::string& self);

}  // namespace vnt
