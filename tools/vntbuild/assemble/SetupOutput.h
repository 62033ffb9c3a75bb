// Where a built setup goes: never over a file the build reads, never over a file that is not
// a volume of an earlier build, whole or not at all; volumes an earlier build left beyond the
// new ones are taken away.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vntbuild/assemble/OutputFiles.h"
#include "vntbuild/project/Project.h"

namespace vnt {

// Work on the written setup before it takes its place (signing); it may raise to stop the build.
using TSetupFinish = std::function<void(const std::string& writtenPath)>;

// EBuildError when path, links resolved, is one of inputs, naming where the project names it.
void RefuseInputAsOutput(const std::string& path, const std::vector<TInputFile>& inputs);

// The setup and its volume files while the build writes them: under temporary names beside
// their places (the output's folder made where missing). Volume n goes to outPath's ".00n".
// Unless Place succeeds, the files there before are left as they were and nothing new is
// left behind.
class TSetupOutput {
public:
  TSetupOutput(const std::string& outPath, const std::vector<TInputFile>& inputs);

  // EBuildError beyond the volumes a name can number.
  TWriteFile& Volume(uint32_t volume);
  TWriteFile& Setup();
  // Checks that no volume takes the place of another file, finishes the setup, puts every
  // file in place, the setup last, and removes the stale volumes of an earlier build.
  void Place(const TSetupFinish& finish);

  uint32_t VolumeCount() const { return Volumes; }

private:
  std::string OutPath;
  const std::vector<TInputFile>& Inputs;
  TOutputFolder Folder;
  TOutputFiles Files;  // after the folder: its files go before the folder
  uint32_t Volumes = 0;
  TWriteFile* SetupFile = nullptr;
};

std::string VolumeName(const std::string& outPath, uint32_t volume);

}  // namespace vnt
