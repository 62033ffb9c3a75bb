// What a progress display is told: its main line, its second line, the bar's position and the
// bar's maximum. The installation and the removals report by these; the windows show them.
#pragma once

#include <cstdint>

namespace vnt {

enum TProgressKind : uint8_t { ProgressStatus = 0, ProgressDetail = 1, ProgressPosition = 2, ProgressMaximum = 3 };

}  // namespace vnt
