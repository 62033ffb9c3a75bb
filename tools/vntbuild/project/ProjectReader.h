// Reads a project file (JSON with comments) into the builder's model; raises EProjectError
// for every mistake, naming the file and where it stands.
#pragma once

#include <map>
#include <string>

#include "vntbuild/project/Project.h"
#include "vntbuild/project/ProjectError.h"

namespace vnt {

struct TReadOptions {
  std::map<std::string, std::string> Defines;  // -D NAME=VALUE, for "${NAME}" in texts
};

TProject ReadProject(const std::string& path, const TReadOptions& options = {});

}  // namespace vnt
