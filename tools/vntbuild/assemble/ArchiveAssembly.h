// One archive as the builder fills it, member by member, straight into files: a temporary
// file beside the output for an archive the setup carries, or volume files that take their
// places with the setup. Members are read and compressed a chunk at a time, so only a chunk is
// held; the header's total size and member count are set when the archive is finished.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "archive/ArchiveWriter.h"
#include "vntbuild/assemble/WriteFile.h"

namespace vnt {

// The file of volume n (1, 2, ...); it stays valid until the build ends.
using TVolumeFile = std::function<TWriteFile&(uint32_t volume)>;

class TArchiveAssembly {
public:
  // An archive in one temporary file beside place; it goes with this object. Nothing is
  // written before the first member.
  TArchiveAssembly(const std::string& comment, const std::string& place);
  // An archive in volumes of at most volumeSize bytes, written to the files volumeFile gives.
  TArchiveAssembly(const std::string& comment, uint64_t volumeSize, TVolumeFile volumeFile);

  // Reads data from its position to its end; answers the number of archive bytes it took.
  uint64_t Add(int32_t id, uint32_t dosDateTime, TStream& data);
  // Writes the end record and the header's figures, and closes the files.
  void Finish();

  uint32_t MemberCount() const { return Count; }
  uint64_t Length() const { return Writer ? Writer->BytesWritten() : 0; }  // all volumes
  uint32_t VolumeCount() const { return Writer ? Writer->VolumeCount() : 0; }
  // The file of a finished archive that is not in volumes.
  const std::string& Path() const { return Scratch->Path(); }

private:
  void Start();

  std::string Comment;
  std::optional<TWriteFile> Scratch;
  std::string Place;
  uint64_t VolumeSize = 0;
  TVolumeFile VolumeFile;
  TWriteFile* First = nullptr;    // the file with the header
  TWriteFile* Current = nullptr;  // the file being written
  std::unique_ptr<TArchiveWriter> Writer;
  uint64_t Total = 0;
  uint32_t Count = 0;
};

}  // namespace vnt
