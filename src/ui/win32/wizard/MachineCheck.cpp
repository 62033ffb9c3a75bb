#include "ui/win32/wizard/MachineCheck.h"

#include "archive/VolumeNames.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"
#include "setup/win32/RunMessages.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/RequirementRules.h"

namespace vnt {

std::optional<TCheckFailure> FailedMachineCheck(TSetupState& state) {
  TMachine m;
  m.Version = state.Info.OSVersionValue(0);
  m.ServicePack = uint16_t(state.Info.OSVersionValue(4));
  m.NT = TSystemInfo::IsNTFamily();
  m.ScreenWidth = GetSystemMetrics(SM_CXSCREEN);
  m.ScreenHeight = GetSystemMetrics(SM_CYSCREEN);
  m.ColorDepth = TSystemInfo::ColorDepth();
  m.MemoryMB = TSystemInfo::PhysicalMemory();
  std::string firstVolume = ChangeFileExtension(state.Package.Path, ".001");
  m.FirstVolumeMissing = state.Package.ArchiveOffset == 0 && !FileExists(firstVolume);
  const TSetupDescription& d = state.Description;
  std::optional<TRequirementFailure> failed = FailedRequirement(d.Requirements, d.VersionBounds, m);
  if (!failed) return std::nullopt;
  return TCheckFailure{ReplacePlaceholder(Message(state, failed->Message), "<file>", FileNamePart(firstVolume)),
                       failed->ErrorCode};
}

bool RunErrorProtocol(TSetupState& state, const std::string& text, int errorCode) {
  RunMessageBox(state, nullptr, text, MB_OK | MB_ICONERROR);
  TSetupVariables& vars = *state.Vars;
  vars.SetVariable("%CanClose%", "1");
  vars.SetVariable("%IsFinishingSetup%", "0");
  vars.SetVariable("%ErrorCode%", std::to_string(errorCode));
  state.Interpreter->RunScript(state.Description.Scripts[ErrorScript]);
  return vars.ExpandText("%CanClose%") == "0";
}

}  // namespace vnt
