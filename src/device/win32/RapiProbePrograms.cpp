// The device programs cannot be built on this machine: these blocks have the programs' sizes
// and a header naming them, so that the probe's handling can be run against the stand-in
// device. They do not run on a real device.
#include "device/win32/RapiProbePrograms.h"

namespace vnt {

namespace {

std::string Placeholder(const char* family, size_t size) {
  std::string block = std::string("VNTPROBE ") + family;
  block.resize(size, '\0');
  return block;
}

}  // namespace

const std::string& ProbeProgramFor(TProcessorFamily family) {
  static const std::string arm = Placeholder("ARM", 4096), mips = Placeholder("MIPS", 4608),
                           sh3 = Placeholder("SH3", 4096), sh4 = Placeholder("SH4", 4096), none;
  switch (family) {
    case TProcessorFamily::Arm: return arm;
    case TProcessorFamily::Mips: return mips;
    case TProcessorFamily::Sh3: return sh3;
    case TProcessorFamily::Sh4: return sh4;
    case TProcessorFamily::Other: break;
  }
  return none;
}

}  // namespace vnt
