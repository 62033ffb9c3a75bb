#include "vntbuild/assemble/ArchiveAssembly.h"

#include "archive/ArchiveFormat.h"
#include "package/PackagePrimitives.h"
#include "vntbuild/assemble/FileFacts.h"

namespace vnt {

TArchiveAssembly::TArchiveAssembly(const std::string& comment, uint64_t volumeSize) : Streams(1) {
  TVolumeSplit split;
  if (volumeSize > 0)
    split = {volumeSize, [this](uint32_t) -> TStream& { return Streams.emplace_back(); }};
  Writer = std::make_unique<TArchiveWriter>(Streams.front(), 0, 0, std::move(split));
  Writer->AddComment(comment);
}

uint64_t TArchiveAssembly::Add(int32_t id, uint32_t dosDateTime, const std::string& data) {
  uint64_t before = Writer->BytesWritten();
  Writer->AddMember(id, dosDateTime, data);
  Total += data.size();
  ++Count;
  return Writer->BytesWritten() - before;
}

std::vector<std::string> TArchiveAssembly::Finish() {
  if (Total > UINT32_MAX) throw EBuildError("the files of one archive come to more than 4 GB");
  Writer->Finish();
  TMemoryStream& first = Streams.front();
  first.Seek(4 + sizeof ArchiveHeaderText - 1);
  WriteU32(first, uint32_t(Total));
  WriteU32(first, Count);
  std::vector<std::string> pieces;
  for (auto& s : Streams) pieces.push_back(std::move(s.Bytes()));
  return pieces;
}

}  // namespace vnt
