#include "install/win32/EarlierInstallation.h"

#include <fstream>
#include <sstream>

namespace vnt {

namespace {

std::optional<std::string> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void TakeSettings(TSetupState& state, const TUninstallRecord& r) {
  TSetupProperties& p = state.Description.Properties;
  p.SoftwareName = r.SoftwareName;
  p.Description = r.Description;
  p.CompanyName = r.CompanyName;
  if (!r.OwnFonts) p.SetupFont = r.SetupFont;
  state.Description.DeviceTable = r.Devices;
  // The earlier run's values, as they were: no change handlers run for them.
  state.Vars->Table.Clear();
  for (const auto& line : r.Variables) state.Vars->Table.AddLine(line);
  state.Vars->InstalledComponents = r.InstalledComponents;
}

}  // namespace

std::optional<std::string> TakeEarlierInstallation(TSetupState& state, const std::string& path,
                                                   TUninstallRecord& earlier) {
  std::optional<std::string> bytes = FileBytes(path);
  if (!bytes) return std::nullopt;
  try {
    earlier = ReadUninstallRecord(*bytes);
  } catch (const EUninstallRecord& e) {
    MessageBoxA(nullptr, e.what(), state.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
    return std::nullopt;
  }
  TakeSettings(state, earlier);
  return earlier.InstalledComponents;
}

}  // namespace vnt
