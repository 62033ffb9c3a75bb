// The removal's reach into the machine: files, folders, registry values and keys, and the
// registrations an installed file may carry.
#pragma once

#include "install/RemoveItems.h"

namespace vnt {

// The questions and the progress come from the caller's windows.
TRemovalSystem MachineRemovalSystem(std::function<TReplaceAnswer(int textPosition, const std::string& path)> ask,
                                    std::function<bool(size_t done, size_t total)> progress);

}  // namespace vnt
