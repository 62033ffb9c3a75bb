// A file system held in memory for the archive reader: tests, the fuzz target and the
// builder's check of a freshly written archive run restores without touching a disk.
// Names are compared exactly as given.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "archive/ArchiveFileSystem.h"

namespace vnt {

struct TMemoryFile {
  std::string Data;
  uint32_t DosDateTime = 0;
  bool ReadOnly = false;
  bool Locked = false;  // held open elsewhere: cannot be removed
  bool Open = false;    // an output is open on it
};

class TMemoryFileSystem : public TArchiveFileSystem {
public:
  bool MakeFolders(const std::string& folder) override;
  bool FileExists(const std::string& path) override { return Files.count(path) > 0; }
  bool RemoveFile(const std::string& path) override;
  std::unique_ptr<TArchiveOutput> CreateOutput(const std::string& path) override;
  std::unique_ptr<TArchiveOutput> CreateReplacement(const std::string& path, std::string& outputPath) override;
  std::unique_ptr<TArchiveOutput> AppendOutput(const std::string& path) override;
  std::unique_ptr<TStream> OpenVolume(const std::string& path) override;
  std::string StagingName(const std::string& path) override { return Stage ? path + ".part" : path; }
  bool PlaceStaged(const std::string& staged, const std::string& path) override;
  bool PlaceStagedAtRestart(const std::string& staged, const std::string& path) override;
  void DiscardStaged(const std::string& staged) override { Files.erase(staged); }
  std::string FailureText() override { return "refused"; }

  // Adds a file, replacing any of the same name.
  TMemoryFile& Put(const std::string& path, std::string data);
  // The file's bytes; empty when there is none.
  std::string Contents(const std::string& path) const;

  std::map<std::string, std::shared_ptr<TMemoryFile>> Files;
  std::set<std::string> Folders;         // without trailing separators
  std::set<std::string> ForbiddenFolders;  // MakeFolders answers false for these
  std::set<std::string> Uncreatable;       // CreateOutput and AppendOutput fail for these
  std::map<std::string, std::string> Replacements;  // file in use -> its replacement at restart
  bool CanReplaceAtRestart = false;
  bool Stage = false;                      // files are written as "<name>.part" and placed when whole
  std::set<std::string> Unplaceable;       // PlaceStaged fails for these
  uint64_t WriteLimit = UINT64_MAX;        // bytes one output takes before writes fail
  uint64_t MaxFileSize = UINT64_MAX;       // bytes any file may hold before writes fail
  int VolumesOpened = 0, VolumesClosed = 0;
  int OutputsOpen = 0;

private:
  std::unique_ptr<TArchiveOutput> OpenOutput(const std::shared_ptr<TMemoryFile>& file);
};

}  // namespace vnt
