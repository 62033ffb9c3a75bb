// Where the product files go and the archive table that tells the setup where to find them:
// a file of exactly one component travels in that component's archive when the project gives
// the component one, every other file in the main product archive. The archives lie end to end in the product archive section, and
// each takes the share of the copying progress that its length takes of all of them, so the
// progress bar moves evenly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/SetupDescription.h"

namespace vnt {

// Index of the component whose archive carries the file; -1 for the main archive (no
// component, several, a name that no component has, or a component without its own archive).
int ComponentArchiveOf(const TSetupFile& file, const std::vector<TInstallerComponent>& components,
                       const std::vector<std::string>& ownArchives);

// Fills range, scale and progress figures; mainLength 0 means no main archive is restored.
// The main archive starts at archivePosition and the component archives follow it in order.
void SetArchiveTable(TSetupDescription& d, uint32_t mainLength, const std::vector<uint32_t>& componentLengths,
                     uint32_t archivePosition);

// The table of a product archive in volume files: the setup restores only the volumes.
void SetExternalArchiveTable(TSetupDescription& d);

}  // namespace vnt
