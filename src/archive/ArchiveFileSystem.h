// Everything the archive reader needs from the file system. The reader decides; this
// interface only does: Win32 files in the program, an in-memory fake in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

// An open output file. Write raises EOutputError when the file cannot take the bytes.
class TArchiveOutput : public TStream {
public:
  // Sets the last-write time from an MS-DOS date (high word) and time (low word), local time.
  // Pending bytes are written first, so closing does not touch the time again.
  virtual bool SetDosDateTime(uint32_t dosDateTime) = 0;
};

class TArchiveFileSystem {
public:
  virtual ~TArchiveFileSystem() = default;
  // Creates the folder with all missing parents; answers whether it exists afterwards.
  virtual bool MakeFolders(const std::string& folder) = 0;
  // Whether a file (not a folder) of that name exists.
  virtual bool FileExists(const std::string& path) = 0;
  // Clears the read-only attribute and deletes the file; false when it stays.
  virtual bool RemoveFile(const std::string& path) = 0;
  // A new output file; empty when it cannot be created, also when a file of that name exists
  // (the reader then removes that file first, or reports that it cannot be replaced).
  virtual std::unique_ptr<TArchiveOutput> CreateOutput(const std::string& path) = 0;
  // For a file in use: a new file whose data takes the file's place when the system next
  // starts, and its path; empty when that cannot be arranged.
  virtual std::unique_ptr<TArchiveOutput> CreateReplacement(const std::string& /*path*/,
                                                            std::string& /*outputPath*/) {
    return nullptr;
  }
  // Where a file's data is written until the file is whole; the path itself for a file system
  // that writes in place. A staged file is new, so nothing of the user's is touched before
  // the whole file is there.
  virtual std::string StagingName(const std::string& path) { return path; }
  // Puts a whole staged file at path, where nothing stands any more.
  virtual bool PlaceStaged(const std::string& /*staged*/, const std::string& /*path*/) { return false; }
  // For a file in use: the staged file takes its place when the system next starts.
  virtual bool PlaceStagedAtRestart(const std::string& /*staged*/, const std::string& /*path*/) { return false; }
  // A staged file that is not placed after all.
  virtual void DiscardStaged(const std::string& /*staged*/) {}
  // Why the last step failed, in the system's words; empty when unknown.
  virtual std::string FailureText() { return ""; }
  // An existing output file positioned at its end; empty when it cannot be opened.
  virtual std::unique_ptr<TArchiveOutput> AppendOutput(const std::string& path) = 0;
  // A volume file for reading with other writers excluded; empty when it cannot be opened.
  virtual std::unique_ptr<TStream> OpenVolume(const std::string& path) = 0;
};

}  // namespace vnt
