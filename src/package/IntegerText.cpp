#include "package/IntegerText.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

namespace vnt {

int32_t AsInteger(const std::string& text) {
  std::string kept;
  for (char c : text)
    if ((c >= '0' && c <= '9') || c == '-') kept.push_back(c);
  if (kept.empty()) return 0;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(kept.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
    return 0;
  return int32_t(v);
}

}  // namespace vnt
