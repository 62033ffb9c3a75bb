#include "vntbuild/assemble/ArchiveAssembly.h"

#include "archive/ArchiveFormat.h"
#include "package/PackagePrimitives.h"
#include "vntbuild/assemble/FileFacts.h"

namespace vnt {

TArchiveAssembly::TArchiveAssembly(const std::string& comment, const std::string& place)
    : Comment(comment), Place(place) {}

TArchiveAssembly::TArchiveAssembly(const std::string& comment, uint64_t volumeSize, TVolumeFile volumeFile)
    : Comment(comment), VolumeSize(volumeSize), VolumeFile(std::move(volumeFile)) {}

void TArchiveAssembly::Start() {
  TVolumeSplit split;
  if (VolumeSize > 0) {
    First = Current = &VolumeFile(1);
    // A volume is closed as the next begins (the first, with the header, stays open), so
    // that hundreds of volumes never hold as many files open.
    split = {VolumeSize, [this](uint32_t volume) -> TStream& {
               if (Current != First) Current->Close(true);
               return *(Current = &VolumeFile(volume));
             }};
  } else {
    First = Current = &Scratch.emplace(Place);
  }
  Writer = std::make_unique<TArchiveWriter>(*First, 0, 0, std::move(split));
  Writer->AddComment(Comment);
}

uint64_t TArchiveAssembly::Add(int32_t id, uint32_t dosDateTime, TStream& data) {
  if (!Writer) Start();
  uint64_t before = Writer->BytesWritten(), from = data.Position();
  Writer->AddMember(id, dosDateTime, data);
  Total += data.Position() - from;
  ++Count;
  if (Total > UINT32_MAX) throw EBuildError("the files of one archive come to more than 4 GB");
  return Writer->BytesWritten() - before;
}

void TArchiveAssembly::Finish() {
  if (!Writer) Start();
  Writer->Finish();
  First->Seek(4 + sizeof ArchiveHeaderText - 1);
  WriteU32(*First, uint32_t(Total));
  WriteU32(*First, Count);
  // Volumes are outputs and must be on the disk; the carried archive is only copied on.
  bool outputs = VolumeSize > 0;
  First->Close(outputs);
  Current->Close(outputs);
}

}  // namespace vnt
