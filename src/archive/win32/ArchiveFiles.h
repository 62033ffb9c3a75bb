// The archive reader's file system on Win32: output files, folders and volume files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "archive/ArchiveFileSystem.h"
#include "package/TextKeys.h"

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
  std::string StagingName(const std::string& path) override;
  bool PlaceStaged(const std::string& staged, const std::string& path) override;
  bool PlaceStagedAtRestart(const std::string& staged, const std::string& path) override;
  void DiscardStaged(const std::string& staged) override;
  std::string FailureText() override;

  // Files are written under a staging name beside them and renamed into place when whole,
  // so that no half-written file ever stands under a product file's name.
  bool Staging = false;

  // Told of every folder MakeFolders creates, parents first, so the caller can take them
  // away again.
  std::function<void(const std::string& folder)> OnFolderMade;

protected:
  // A name beside the file that nothing else uses.
  std::string FreeNameBeside(const std::string& path);
  // Keeps the system's error code of a step that failed, for FailureText.
  bool Failed();
  DWORD LastFailure = 0;

private:
  // Folders known to exist: most files of an archive share a few folders, and each look at
  // the disk is a round trip to the system.
  std::unordered_set<std::string, TIgnoreCaseHash, TIgnoreCaseEqual> KnownFolders;
  uint32_t StagingCounter = GetTickCount();
};

}  // namespace vnt
