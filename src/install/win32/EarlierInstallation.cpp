#include "install/win32/EarlierInstallation.h"

#include "package/SetupStrings.h"
#include "platform/win32/FileStream.h"
#include "setup/win32/SetupProgFuncs.h"

namespace vnt {

namespace {

void TakeSettings(TSetupState& state, const TUninstallRecord& r) {
  TSetupProperties& p = state.Description.Properties;
  p.SoftwareName = r.SoftwareName;
  p.Description = r.Description;
  p.CompanyName = r.CompanyName;
  if (!r.OwnFonts) p.SetupFont = r.SetupFont;
  state.Description.DeviceTable = r.Devices;
  if (state.DeviceTableRead) state.DeviceTableRead();
  // The earlier run's values, as they were, over the current ones: no change handlers run for
  // them, and what the earlier run did not have (a newer version's variables, what the start
  // script set) stays.
  for (const auto& line : r.Variables) state.Vars->Table.AddLine(line);
  state.Vars->InstalledComponents = r.InstalledComponents;
}

}  // namespace

TRecordLoad LoadUninstallRecord(const std::string& path, TUninstallRecord& record, std::string& problem,
                                std::string* bytesRead) {
  std::optional<std::string> bytes = path.empty() ? std::nullopt : ReadFileBytes(path);
  if (!bytes) return TRecordLoad::Missing;
  try {
    record = ReadUninstallRecord(*bytes);
    if (bytesRead) *bytesRead = std::move(*bytes);
    return TRecordLoad::Loaded;
  } catch (const EUninstallRecord& e) {
    problem = e.what();
    return TRecordLoad::Unusable;
  }
}

TRecordLoad LoadEntryRecord(const TProductEntry& entry, const std::string& path, TUninstallRecord& record,
                            std::string& problem) {
  std::string bytes;
  TRecordLoad load = LoadUninstallRecord(path, record, problem, &bytes);
  if (load != TRecordLoad::Loaded) return load;
  problem = RecordTrustProblem(entry, path, record, bytes);
  return problem.empty() ? TRecordLoad::Loaded : TRecordLoad::Unusable;
}

TProductEntry ProductEntryOf(const TSetupState& state, const std::string& company, const std::string& software) {
  const TDesktopSources& at = state.Desktop->Sources;
  return ProductEntryOf(at.UninstallRoot, at.UninstallKey, company + " " + software);
}

std::optional<std::string> TakeEarlierInstallation(TSetupState& state, const std::string& path,
                                                   TUninstallRecord& earlier,
                                                   const std::function<void(const std::string&)>& tell) {
  std::string problem;
  const TSetupProperties& p = state.Description.Properties;
  TRecordLoad load = LoadEntryRecord(ProductEntryOf(state, p.CompanyName, p.SoftwareName), path, earlier, problem);
  if (load == TRecordLoad::Unusable && tell) tell(problem);
  if (load != TRecordLoad::Loaded) return std::nullopt;
  TakeSettings(state, earlier);
  return earlier.InstalledComponents;
}

void RunStateFromRecord(TSetupState& state, const TUninstallRecord& record) {
  TSetupDescription& d = state.Description;
  d.SingleTable.Texts = DefaultMessages();
  for (int i = 0; i < UninstallerMessageCount; ++i)
    d.SingleTable.Texts[size_t(UninstallerMessageIds[size_t(i)])] = record.Messages[size_t(i)];
  d.DeviceConnectionMessage = record.DeviceConnectionMessage;
  d.Scripts[BeforeUninstallScript] = record.BeforeUninstallScript;
  d.Scripts[AfterUninstallScript] = record.AfterUninstallScript;
  d.Properties.SetupFont = record.SetupFont;
  MakeRunState(state);
  TakeSettings(state, record);
  state.ApplicationTitle = state.Vars->ExpandText(record.Messages[UtCaption]);
}

}  // namespace vnt
