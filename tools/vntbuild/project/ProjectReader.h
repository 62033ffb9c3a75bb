// Reads a project file (JSON with comments) into the builder's model; raises EProjectError
// for every mistake, naming the file and where it stands.
#pragma once

#include <string>

#include "vntbuild/project/Project.h"
#include "vntbuild/project/ProjectError.h"

namespace vnt {

TProject ReadProject(const std::string& path);

}  // namespace vnt
