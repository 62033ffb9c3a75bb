// The builder's side of the archive: header, comment, members cut into chunks, end record,
// optionally spread over volume files of a given size.
//
// Volume layout: volume 1 (".001") begins with the archive header, exactly like an archive
// inside the package; an archive whose ArchiveOffset is below 1 is restored by opening ".001"
// first. A volume ends only inside a member: its block is closed with the end marker, the
// switch record names the next volume (2, 3, ...), and that volume begins with a member data
// block that continues the member.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "package/PackageStream.h"

namespace vnt {

struct TVolumeSplit {
  uint64_t VolumeSize = 0;  // 0 writes one stream; otherwise no volume grows beyond it
  // The stream of volume n (2, 3, ...); it must stay usable until the writer is done.
  std::function<TStream&(uint32_t volume)> NextVolume;
};

// Whether head, the first bytes of a file, begin volume `volume` (1, 2, ...) as this writer
// writes it: the archive header, or a member data block that goes on.
bool IsVolumeStart(std::string_view head, uint32_t volume);
// How many first bytes IsVolumeStart needs.
constexpr size_t VolumeStartLength = 15;

// The smallest volume that always takes one more chunk with its switch records.
constexpr uint64_t MinVolumeSize = 72 * 1024;

class TArchiveWriter {
public:
  // Writes the header: totalSize is the sum of the members' sizes, fileCount their number.
  TArchiveWriter(TStream& first, uint32_t totalSize, uint32_t fileCount, TVolumeSplit split = {});

  void AddComment(std::string_view text);
  // Reads data from its position to its end.
  void AddMember(int32_t id, uint32_t dosDateTime, TStream& data);
  void AddMember(int32_t id, uint32_t dosDateTime, std::string_view data);
  // Writes the end record; nothing may be added afterwards.
  void Finish();

  uint32_t VolumeCount() const { return Volume; }
  uint64_t BytesWritten() const { return Total; }

private:
  void BeginMember(int32_t id, uint32_t dosDateTime);
  void AddChunk(std::string_view plain);
  void EnsureRoom(uint64_t bytes);
  void SwitchVolume();
  void Put(const void* bytes, size_t count);
  void PutI32(int32_t v);
  void CheckOpen() const;

  TStream* Out;
  TVolumeSplit Split;
  uint32_t Volume = 1;
  uint64_t VolumeUsed = 0;
  uint64_t Total = 0;
  bool Finished = false;
};

struct TArchiveMember {
  int32_t Id = 0;
  uint32_t DosDateTime = 0;
  std::string Data;
};

// A whole archive in memory: one opening comment, the members, the end record.
std::string WriteArchive(std::string_view comment, const std::vector<TArchiveMember>& members);
// The same archive spread over volumes of at most volumeSize bytes; element 0 is ".001".
std::vector<std::string> WriteArchiveVolumes(std::string_view comment, const std::vector<TArchiveMember>& members,
                                             uint64_t volumeSize);

}  // namespace vnt
