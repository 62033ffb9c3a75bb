// The archive reader's file system on Win32: output files, folders and volume files.
#pragma once

#include <string>
#include <vector>

#include "archive/ArchiveFileSystem.h"

namespace vnt {

class TWin32ArchiveFileSystem : public TArchiveFileSystem {
public:
  bool MakeFolders(const std::string& folder) override;
  bool FileExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::unique_ptr<TArchiveOutput> CreateOutput(const std::string& path) override;
  std::unique_ptr<TArchiveOutput> CreateReplacement(const std::string& path, std::string& outputPath) override;
  std::unique_ptr<TArchiveOutput> AppendOutput(const std::string& path) override;
  std::unique_ptr<TStream> OpenVolume(const std::string& path) override;

  // When set, receives every folder MakeFolders created, parents first, so the caller can
  // take them away again.
  std::vector<std::string>* CreatedFolders = nullptr;

private:
  // Folders known to exist: most files of an archive share a few folders, and each look at
  // the disk is a round trip to the system.
  std::vector<std::string> KnownFolders;
};

}  // namespace vnt
