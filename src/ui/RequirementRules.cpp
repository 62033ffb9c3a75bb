#include "ui/RequirementRules.h"

#include "package/MessageIds.h"

namespace vnt {

namespace {

bool NtBoundPasses(const TVersionLimit& bound, uint32_t version, uint16_t servicePack) {
  if (bound.Version == 0 || bound.Version < version) return true;
  return bound.Version == version && (bound.ServicePack == 0 || bound.ServicePack <= servicePack);
}

// Screen classes 1 to 5: 640 by 480 up to 1024 by 768.
std::optional<std::pair<int, int>> ScreenBound(uint8_t screenClass) {
  switch (screenClass) {
    case 1: return std::pair{640, 480};
    case 2: return std::pair{720, 480};
    case 3: return std::pair{720, 576};
    case 4: return std::pair{800, 600};
    case 5: return std::pair{1024, 768};
    default: return std::nullopt;
  }
}

}  // namespace

bool VersionBoundsPass(const TWindowsVersionBounds& b, uint32_t version, uint16_t servicePack, bool nt) {
  if (nt) return NtBoundPasses(b.Lower, version, servicePack) && NtBoundPasses(b.Upper, version, servicePack);
  bool first = b.Lower.Version == 0 || b.Lower.Version <= version;
  bool second = b.Upper.Version == 0 || b.Upper.Version >= version;
  return first && second;
}

std::optional<TRequirementFailure> FailedRequirement(const TSetupMinimumRequeriments& needs,
                                                     const TWindowsVersionBounds& bounds, const TMachine& m) {
  if (m.FirstVolumeMissing) return TRequirementFailure{MsgFileNotFound, 3};
  if (!VersionBoundsPass(bounds, m.Version, m.ServicePack, m.NT)) return TRequirementFailure{MsgUnsupportedWindows, 4};
  if (auto screen = ScreenBound(needs.ScreenClass); screen && (m.ScreenWidth < screen->first || m.ScreenHeight < screen->second))
    return TRequirementFailure{MsgScreenTooSmall, 5};
  if (m.ColorDepth < needs.ColorDepth) return TRequirementFailure{MsgTooFewColors, 6};
  if (needs.Memory > 0 && m.MemoryMB < uint64_t(needs.Memory)) return TRequirementFailure{MsgTooLittleMemory, 7};
  return std::nullopt;
}

}  // namespace vnt
