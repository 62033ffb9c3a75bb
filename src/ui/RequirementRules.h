// Whether the machine meets the setup's requirements: the Windows version bounds, the screen
// size, the colour depth and the memory. The first failing check names its message and code.
#pragma once

#include <cstdint>
#include <optional>

#include "package/SetupTypes.h"

namespace vnt {

struct TMachine {
  uint32_t Version = 0;       // packed: major << 24 | minor << 16 | build
  uint16_t ServicePack = 0;   // major << 8 | minor; 0 on Windows 9x
  bool NT = true;
  int ScreenWidth = 0, ScreenHeight = 0;
  int ColorDepth = 0;
  uint64_t MemoryMB = 0;      // units of 1,000,000 bytes
  bool FirstVolumeMissing = false;  // the archive lies in volume files and ".001" is not there
};

struct TRequirementFailure {
  int Message = 0;
  int ErrorCode = 0;
  bool operator==(const TRequirementFailure&) const = default;
};

bool VersionBoundsPass(const TWindowsVersionBounds& bounds, uint32_t version, uint16_t servicePack, bool nt);
// The first requirement the machine fails, in the order they are checked.
std::optional<TRequirementFailure> FailedRequirement(const TSetupMinimumRequeriments& needs,
                                                     const TWindowsVersionBounds& bounds, const TMachine& machine);

}  // namespace vnt
