#include "platform/ScreenScale.h"

#include <cstdint>

namespace vnt {

int ScaleLength(int value, int dpi) {
  if (dpi == DesignDpi || dpi <= 0) return value;
  int64_t product = int64_t(value) * dpi;
  int64_t half = DesignDpi / 2;
  int64_t scaled = product >= 0 ? (product + half) / DesignDpi : -((-product + half) / DesignDpi);
  return int(scaled);
}

TScaledSpan ScaleSpan(int start, int length, int dpi) {
  int first = ScaleLength(start, dpi);
  int end = ScaleLength(start + length, dpi);
  return {first, end - first};
}

}  // namespace vnt
