#include "vntbuild/assemble/ArchiveLayout.h"

#include <cmath>

#include "package/ComponentLists.h"

namespace vnt {

int ComponentArchiveOf(const TSetupFile& file, const std::vector<TInstallerComponent>& components,
                       const std::vector<std::string>& ownArchives) {
  std::vector<std::string> names = SplitComponentList(file.Components);
  if (names.size() != 1) return -1;
  for (size_t i = 0; i < components.size(); ++i) {
    if (!ComponentListContains(names.front(), components[i].Name)) continue;
    for (const auto& own : ownArchives)
      if (ComponentListContains(own, components[i].Name)) return int(i);
    return -1;
  }
  return -1;
}

void SetArchiveTable(TSetupDescription& d, uint32_t mainLength, const std::vector<uint32_t>& componentLengths,
                     uint32_t archivePosition) {
  uint64_t total = mainLength;
  for (uint32_t n : componentLengths) total += n;
  d.ProductArchiveRange = mainLength;
  d.ProgressScale = total > 0 ? 100.0 / double(total) : 0;
  // A component without an archive starts where the next archive starts, so that the
  // archive before it ends there too.
  uint64_t before = mainLength, position = uint64_t(archivePosition) + mainLength;
  for (size_t i = 0; i < d.Components.size(); ++i) {
    TInstallerComponent& c = d.Components[i];
    uint32_t length = i < componentLengths.size() ? componentLengths[i] : 0;
    c.ProgressStart = uint32_t(std::lround(double(before) * d.ProgressScale));
    if (c.ProgressStart > 100) c.ProgressStart = 100;
    c.ArchiveRange = length;
    c.ArchivePosition = length > 0 ? uint32_t(position) : 0;
    before += length;
    position += length;
  }
}

void SetExternalArchiveTable(TSetupDescription& d) {
  d.ProductArchiveRange = 0;
  d.ProgressScale = 0;
  for (auto& c : d.Components) c.ArchivePosition = c.ArchiveRange = c.ProgressStart = 0;
}

}  // namespace vnt
