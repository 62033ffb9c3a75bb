#include "net/DownloadProgress.h"

#include <algorithm>

namespace vnt {

TProgressStep DownloadProgressStep(bool running, std::optional<uint64_t> received,
                                   std::optional<uint64_t> contentLength) {
  if (!running) return {ProgressPosition, 0};
  if (!received) return {ProgressMaximum, 100};
  if (!contentLength || *contentLength == 0) return {ProgressPosition, 0};
  // A server may send more than it announced; the bar never passes its end.
  uint64_t percent = std::min<uint64_t>(100, *received * 100 / *contentLength);
  return {ProgressPosition, int32_t(percent)};
}

}  // namespace vnt
