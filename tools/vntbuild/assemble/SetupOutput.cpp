#include "vntbuild/assemble/SetupOutput.h"

#include <filesystem>
#include <fstream>

#include "archive/ArchiveWriter.h"
#include "archive/VolumeNames.h"
#include "vntbuild/assemble/FileFacts.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

constexpr uint32_t MaxVolumes = 999;  // the volume extension has three digits

const TInputFile* InputAt(const std::string& path, const std::vector<TInputFile>& inputs) {
  for (const auto& input : inputs) {
    std::error_code ec;
    if (fs::equivalent(path, input.Path, ec)) return &input;
  }
  return nullptr;
}

// A volume file this builder wrote, as its first bytes show; a link is never one.
bool IsVolumeFile(const std::string& path, uint32_t volume) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(path, ec))) return false;
  std::ifstream in(path, std::ios::binary);
  std::string head(VolumeStartLength, '\0');
  in.read(head.data(), std::streamsize(head.size()));
  return IsVolumeStart(head.substr(0, size_t(in.gcount())), volume);
}

void CheckVolumePlaces(const std::string& outPath, size_t count, const std::vector<TInputFile>& inputs) {
  for (uint32_t v = 1; v <= count; ++v) {
    std::string name = VolumeName(outPath, v);
    RefuseInputAsOutput(name, inputs);
    std::error_code ec;
    if (fs::exists(fs::symlink_status(name, ec)) && !IsVolumeFile(name, v))
      throw EWriteError(name + " is in the way of volume " + std::to_string(v) +
                        " and is no volume of an earlier build; move it or choose another name for the setup");
  }
}

// Volumes beyond the new ones would never be asked for, but a user might copy them along.
void RemoveStaleVolumes(const std::string& outPath, size_t count, const std::vector<TInputFile>& inputs) {
  for (uint32_t v = uint32_t(count) + 1; v <= MaxVolumes; ++v) {
    std::string name = VolumeName(outPath, v);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(name, ec))) break;
    if (IsVolumeFile(name, v) && !InputAt(name, inputs)) fs::remove(name, ec);
  }
}

}  // namespace

std::string VolumeName(const std::string& outPath, uint32_t volume) {
  return ChangeFileExtension(outPath, "." + VolumeExtension(volume));
}

void RefuseInputAsOutput(const std::string& path, const std::vector<TInputFile>& inputs) {
  if (const TInputFile* input = InputAt(path, inputs))
    throw EBuildError("the output " + path + " is a file the build reads (" + input->Origin +
                      "); choose another name for the setup");
}

TSetupOutput::TSetupOutput(const std::string& outPath, const std::vector<TInputFile>& inputs)
    : OutPath(outPath), Inputs(inputs), Folder(fs::path(outPath).parent_path()) {}

TWriteFile& TSetupOutput::Volume(uint32_t volume) {
  if (volume > MaxVolumes)
    throw EBuildError("more than " + std::to_string(MaxVolumes) + " volumes; choose a larger volume size");
  Volumes = volume;
  return Files.Create(VolumeName(OutPath, volume));
}

TWriteFile& TSetupOutput::Setup() { return *(SetupFile = &Files.Create(OutPath)); }

void TSetupOutput::Place(const TSetupFinish& finish) {
  RefuseInputAsOutput(OutPath, Inputs);
  CheckVolumePlaces(OutPath, Volumes, Inputs);
  SetupFile->Close(true);
  if (finish) finish(SetupFile->Path());
  Files.Place();  // the setup last: it is whole only with its volumes
  Folder.Keep();
  RemoveStaleVolumes(OutPath, Volumes, Inputs);
}

}  // namespace vnt
