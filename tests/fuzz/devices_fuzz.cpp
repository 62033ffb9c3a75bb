// libFuzzer target: a device definition list as the package and the uninstall record keep
// it; the first byte says whether definitions carry their match byte. Promises: only
// EPackageError is raised, and then the list is left as it was; a list that reads is written
// and reads back the same; matching a few devices against it raises nothing.
#include "device/RapiDevice.h"

using namespace vnt;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool withMatchByte = data[0] & 1;
  TMemoryStream s(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  const TRapiDevices before{TRapiDevice{}};
  TRapiDevices list = before;
  try {
    LoadDefinitions(s, withMatchByte, true, list);
  } catch (const EPackageError&) {
    if (!(list == before)) __builtin_trap();
    return 0;
  }
  TMemoryStream out;
  SaveDefinitions(out, list);
  out.Seek(0);
  TRapiDevices back;
  LoadDefinitions(out, true, false, back);
  if (!(back == list)) __builtin_trap();
  for (const TDeviceFacts& device : {TDeviceFacts{"PocketPC", 2577, 4, 20}, TDeviceFacts{"HPC Pro", 4000, 2, 11},
                                     TDeviceFacts{"", 0, -1, 0}}) {
    FindPlatform(list, device);
    InExtraProcessors(list, device);
  }
  return 0;
}
