// What a download shows on the progress display current at the moment: the bar's maximum
// 100 at the start, the percentage received as blocks arrive, 0 once the download is over.
#pragma once

#include <cstdint>
#include <optional>

#include "package/ProgressKinds.h"

namespace vnt {

struct TProgressStep {
  TProgressKind Kind;
  int32_t Value;
  bool operator==(const TProgressStep&) const = default;
};

// running: a download is under way. received: bytes so far, given when a block came.
// Without an announced length (or with 0 announced) the position stays 0.
TProgressStep DownloadProgressStep(bool running, std::optional<uint64_t> received,
                                   std::optional<uint64_t> contentLength);

}  // namespace vnt
