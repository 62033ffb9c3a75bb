// Where a built setup goes: never over a file the build reads, never over a file that is not
// a volume of an earlier build, whole or not at all; volumes an earlier build left beyond the
// new ones are taken away.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vntbuild/project/Project.h"

namespace vnt {

// Work on the written setup before it takes its place (signing); it may raise to stop the build.
using TSetupFinish = std::function<void(const std::string& writtenPath)>;

// EBuildError when path, links resolved, is one of inputs, naming where the project names it.
void RefuseInputAsOutput(const std::string& path, const std::vector<TInputFile>& inputs);

// volumes[0] goes to outPath's ".001", and so on. On any failure the files there before are
// left as they were and nothing new is left behind.
void WriteSetupFiles(const std::string& outPath, const std::string& setup, const std::vector<std::string>& volumes,
                     const std::vector<TInputFile>& inputs, const TSetupFinish& finish);

std::string VolumeName(const std::string& outPath, uint32_t volume);

}  // namespace vnt
