// libFuzzer target: bytes as an uninstall record of any of its five versions. Promises: only
// EUninstallRecord is raised; a record that reads is written in the current form and reads
// back the same.
#include "install/UninstallData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vnt::TUninstallRecord record;
  try {
    record = vnt::ReadUninstallRecord(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const vnt::EUninstallRecord&) {
    return 0;
  }
  // Writing keeps file records in their reduced form.
  for (auto& item : record.Items)
    if (item.Kind <= vnt::UninstDeviceFile) item.File = vnt::UninstallFileRecord(*item.File);
  if (!(vnt::ReadUninstallRecord(vnt::WriteUninstallRecord(record)) == record)) __builtin_trap();
  return 0;
}
