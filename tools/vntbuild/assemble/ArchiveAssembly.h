// One archive as the builder fills it, member by member, in memory: members are compressed
// as they come, so only the compressed archive is held, and the header's total size and
// member count are set when it is finished.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

namespace vnt {

class TArchiveAssembly {
public:
  // volumeSize 0 keeps the archive in one piece; otherwise it is cut into volumes.
  explicit TArchiveAssembly(const std::string& comment, uint64_t volumeSize = 0);

  // Answers the number of archive bytes the member took.
  uint64_t Add(int32_t id, uint32_t dosDateTime, const std::string& data);
  // Writes the end record and the header's figures; answers the archive, one string per
  // volume (just one without volumes).
  std::vector<std::string> Finish();

  uint32_t MemberCount() const { return Count; }
  uint64_t TotalSize() const { return Total; }

private:
  std::list<TMemoryStream> Streams;  // a list keeps the writer's references valid
  std::unique_ptr<TArchiveWriter> Writer;
  uint64_t Total = 0;
  uint32_t Count = 0;
};

}  // namespace vnt
