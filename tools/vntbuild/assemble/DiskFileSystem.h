// The archive reader's file system on the builder's disk, Linux or Windows alike, for
// `vntbuild extract`.
#pragma once

#include "archive/ArchiveFileSystem.h"

namespace vnt {

class TDiskFileSystem : public TArchiveFileSystem {
public:
  bool MakeFolders(const std::string& folder) override;
  bool FileExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::unique_ptr<TArchiveOutput> CreateOutput(const std::string& path) override;
  std::unique_ptr<TArchiveOutput> AppendOutput(const std::string& path) override;
  std::unique_ptr<TStream> OpenVolume(const std::string& path) override;
};

}  // namespace vnt
