#include "archive/ArchiveWriter.h"

#include <limits>
#include <list>
#include <stdexcept>

#include "archive/ArchiveFormat.h"
#include "archive/ChunkCodec.h"
#include "package/PackagePrimitives.h"

namespace vnt {

namespace {

// Room kept after every chunk: the end of its block, the next member's header and a volume
// switch (which also leaves room for the end record).
constexpr uint64_t SwitchReserve = 4 + 12 + 12;

uint32_t CheckedTotal(const std::vector<TArchiveMember>& members) {
  uint64_t total = 0;
  for (const auto& m : members) total += m.Data.size();
  if (total > std::numeric_limits<uint32_t>::max()) throw std::invalid_argument("archive larger than 4 GB");
  return uint32_t(total);
}

void WriteAll(TArchiveWriter& w, std::string_view comment, const std::vector<TArchiveMember>& members) {
  w.AddComment(comment);
  for (const auto& m : members) w.AddMember(m.Id, m.DosDateTime, m.Data);
  w.Finish();
}

}  // namespace

TArchiveWriter::TArchiveWriter(TStream& first, uint32_t totalSize, uint32_t fileCount, TVolumeSplit split)
    : Out(&first), Split(std::move(split)) {
  if (Split.VolumeSize > 0 && (Split.VolumeSize < MinVolumeSize || !Split.NextVolume))
    throw std::invalid_argument("volumes need a size of at least 72 KB and a source of streams");
  constexpr size_t headerLength = sizeof ArchiveHeaderText - 1;
  WriteU32(*Out, uint32_t(headerLength));
  Out->Write(ArchiveHeaderText, headerLength);
  WriteU32(*Out, totalSize);
  WriteU32(*Out, fileCount);
  VolumeUsed = Total = 4 + headerLength + 8;
}

void TArchiveWriter::AddComment(std::string_view text) {
  CheckOpen();
  if (Split.VolumeSize > 0 && VolumeUsed + 8 + text.size() + SwitchReserve > Split.VolumeSize)
    throw std::invalid_argument("comment does not fit its volume");
  PutI32(TagComment);
  PutI32(int32_t(text.size()));
  Put(text.data(), text.size());
}

void TArchiveWriter::AddMember(int32_t id, uint32_t dosDateTime, TStream& data) {
  BeginMember(id, dosDateTime);
  std::string chunk(ChunkSize, '\0');
  for (;;) {
    size_t n = data.Read(chunk.data(), chunk.size());
    if (n == 0) break;
    AddChunk(std::string_view(chunk.data(), n));
  }
  PutI32(ChunkEndMarker);
}

void TArchiveWriter::AddMember(int32_t id, uint32_t dosDateTime, std::string_view data) {
  BeginMember(id, dosDateTime);
  for (size_t at = 0; at < data.size(); at += ChunkSize) AddChunk(data.substr(at, ChunkSize));
  PutI32(ChunkEndMarker);
}

void TArchiveWriter::Finish() {
  CheckOpen();
  PutI32(TagEnd);
  Finished = true;
}

void TArchiveWriter::BeginMember(int32_t id, uint32_t dosDateTime) {
  CheckOpen();
  if (id < 0) throw std::invalid_argument("file ids are 0 or greater");
  PutI32(id);
  WriteU32(*Out, dosDateTime);
  VolumeUsed += 4;
  Total += 4;
  Put(MemberMagic, sizeof MemberMagic);
  EnsureRoom(4);
}

void TArchiveWriter::AddChunk(std::string_view plain) {
  TEncodedChunk chunk = EncodeChunk(plain);
  EnsureRoom(4 + chunk.Payload.size());
  PutI32(chunk.Size);
  Put(chunk.Payload.data(), chunk.Payload.size());
}

void TArchiveWriter::EnsureRoom(uint64_t bytes) {
  // A continued volume takes at least one record before it may end, so every volume makes
  // progress; MinVolumeSize makes that record fit as well.
  bool tookRecord = VolumeUsed > sizeof MemberMagic;
  if (Split.VolumeSize > 0 && VolumeUsed + bytes + SwitchReserve > Split.VolumeSize && tookRecord) SwitchVolume();
}

void TArchiveWriter::SwitchVolume() {
  PutI32(ChunkEndMarker);
  PutI32(TagVolumeSwitch);
  PutI32(int32_t(Volume + 1));
  Out = &Split.NextVolume(++Volume);
  VolumeUsed = 0;
  Put(MemberMagic, sizeof MemberMagic);
}

void TArchiveWriter::Put(const void* bytes, size_t count) {
  if (count > 0) Out->Write(bytes, count);
  VolumeUsed += count;
  Total += count;
}

void TArchiveWriter::PutI32(int32_t v) {
  WriteI32(*Out, v);
  VolumeUsed += 4;
  Total += 4;
}

void TArchiveWriter::CheckOpen() const {
  if (Finished) throw std::logic_error("the archive is already finished");
}

bool IsVolumeStart(std::string_view head, uint32_t volume) {
  TMemoryStream s{std::string(head)};
  try {
    if (volume == 1) {
      std::string text(sizeof ArchiveHeaderText - 1, '\0');
      return ReadU32(s) == text.size() && s.Read(text.data(), text.size()) == text.size() && text == ArchiveHeaderText;
    }
    char magic[sizeof MemberMagic] = {};
    if (s.Read(magic, sizeof magic) != sizeof magic || std::string_view(magic, 4) != std::string_view(MemberMagic, 4))
      return false;
    int32_t size = ReadI32(s);
    return size >= -int32_t(ChunkSize) && size <= int32_t(MaxPackedChunk);  // a chunk, stored or packed, or the end
  } catch (const EPackageError&) {
    return false;
  }
}

std::string WriteArchive(std::string_view comment, const std::vector<TArchiveMember>& members) {
  TMemoryStream out;
  TArchiveWriter w(out, CheckedTotal(members), uint32_t(members.size()));
  WriteAll(w, comment, members);
  return std::move(out.Bytes());
}

std::vector<std::string> WriteArchiveVolumes(std::string_view comment, const std::vector<TArchiveMember>& members,
                                             uint64_t volumeSize) {
  std::list<TMemoryStream> volumes(1);  // a list keeps handed-out references valid
  TVolumeSplit split{volumeSize, [&volumes](uint32_t) -> TStream& { return volumes.emplace_back(); }};
  TArchiveWriter w(volumes.front(), CheckedTotal(members), uint32_t(members.size()), std::move(split));
  WriteAll(w, comment, members);
  std::vector<std::string> result;
  for (auto& v : volumes) result.push_back(std::move(v.Bytes()));
  return result;
}

}  // namespace vnt
