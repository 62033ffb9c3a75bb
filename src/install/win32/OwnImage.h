// The running setup's program without the package after it. A package whose uninstaller
// member is empty installs this as the uninstaller: the program acts as one under that name.
#pragma once

#include "package/PackageStream.h"

namespace vnt {

// Writes the program to output, its checksum and signature entry cleared (the signature
// covered the whole setup). Raises std::runtime_error when the program cannot be read back,
// and whatever output raises when it cannot be written.
void WriteOwnImage(TStream& output);

}  // namespace vnt
