// The programs the platform probe copies to the device, one per processor family.
#pragma once

#include <string>

#include "device/RapiDevice.h"

namespace vnt {

// The program for the family, empty for a family without one.
const std::string& ProbeProgramFor(TProcessorFamily family);

}  // namespace vnt
