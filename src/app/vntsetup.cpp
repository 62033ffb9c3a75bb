// The setup program: a fixed stub that runs the Setup Package appended to it. Written out
// without its package under the uninstaller's name, it is the uninstaller.
#include <windows.h>

#include <new>
#include <optional>

#include "app/DeviceSide.h"
#include "app/UninstallerMain.h"
#include "net/win32/WebCommands.h"
#include "install/win32/EarlierInstallation.h"
#include "install/win32/InterruptedRun.h"
#include "script/DesktopRules.h"
#include "package/SetupFuncs.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"
#include "setup/SetupSwitches.h"
#include "setup/win32/RunMessages.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/win32/wizard/SetupMain.h"
#include "ui/win32/wizard/SilentSetup.h"

namespace {

int RunSetup(vnt::TSetupState& state) {
  // The installation this run maintains, when the start script finds one.
  vnt::TUninstallRecord earlier;
  state.ReadUninstallRecord = [&state, &earlier](const std::string& path) {
    return vnt::TakeEarlierInstallation(state, path, earlier, [&state](const std::string& problem) {
      vnt::RunMessageBox(state, nullptr, problem, MB_OK | MB_ICONERROR);
    });
  };
  state.RecoverInterruptedRun = [&state] {
    const vnt::TSetupProperties& p = state.Description.Properties;
    const vnt::TDesktopSources& at = state.Desktop->Sources;
    std::optional<vnt::TRecoveredRun> run = vnt::RollBackNotedJournal(
        at.UninstallRoot, vnt::UninstallEntryKey(at.UninstallKey, p.CompanyName, p.SoftwareName),
        state.Info.FontsFolder());
    if (!run) return;
    std::string text = vnt::InterruptedRunMessage(p.SoftwareName);
    for (const auto& line : run->NotUndone) text += "\n" + line;
    vnt::RunMessageBox(state, nullptr, text, MB_OK | MB_ICONINFORMATION);
  };
  int result = vnt::RunStartup(state);
  // The wizard shows the pages; a package without pages installs at once, as does a run
  // without a person.
  if (result == vnt::StartupOk)
    result = state.Switches.Unattended() ? vnt::RunSilentSetup(state, &earlier) : vnt::RunWizard(state, &earlier);
  return result;
}

// The command line's switches; answers an exit code when the setup ends here (the usage
// asked for, or a switch that is wrong).
std::optional<int> TakeSwitches(vnt::TSetupState& state) {
  vnt::TSwitchReading reading = vnt::ReadSetupSwitches(vnt::CommandLineParams(GetCommandLineA()));
  const std::string usage = vnt::SetupUsageText(vnt::FileNamePart(vnt::ProgramPath()));
  if (!reading.Problem.empty()) {
    vnt::ReportToAdministrator(reading.Switches, reading.Problem + "\n\n" + usage, state.ApplicationTitle, true);
    return vnt::StartupFailed;
  }
  if (reading.Switches.Usage) {
    vnt::ReportToAdministrator(reading.Switches, usage, state.ApplicationTitle, false);
    return 0;
  }
  state.Switches = reading.Switches;
  // A run without a person always keeps a log: it is the only account of what happened.
  if (state.Switches.Log || state.Switches.Unattended()) state.Log.Enable();
  return std::nullopt;
}

// The log's last line; a run that ended before the product's name was known opens it now.
void EndLog(vnt::TSetupState& state, int result) {
  if (!state.Log.IsEnabled()) return;
  if (!state.Log.IsOpen()) state.Log.Open(state.Switches.LogFile, state.Info.TempFolder(), "");
  state.Log.Line(vnt::SetupResultText(result));
}

// The setup's own copy that it installed as the uninstaller: that name, and no package. A
// setup whose package is missing or damaged under any other name still says so.
bool RunsAsUninstaller() {
  const std::string path = vnt::ProgramPath();
  if (!vnt::SameTextIgnoringCase(vnt::FileNamePart(path), vnt::UninstallerProgramName)) return false;
  vnt::TPackage package;
  vnt::OpenPackage(package, path, vnt::TFileStream::OpenRead(path), vnt::PackageEndResourceValue());
  return package.Magic != vnt::PackageMagic;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vnt::RestrictLibrarySearch();
  if (RunsAsUninstaller()) return vnt::RunUninstallerProgram();
  try {
    vnt::TComSession com;
    vnt::TDeviceSide device;  // lent to the state, so made before it
    vnt::TSetupState state;
    state.ApplicationTitle = vnt::DefaultApplicationTitle;
    if (std::optional<int> ended = TakeSwitches(state)) return *ended;
    vnt::AttachDeviceSide(state, device);
    vnt::AttachWebCommands(state);
    int result;
    try {
      result = RunSetup(state);
    } catch (const std::bad_alloc&) {
      vnt::RunMessageBox(state, nullptr, vnt::OutOfMemoryMessage, MB_OK | MB_ICONERROR);
      result = vnt::StartupFailed;
    } catch (const std::exception& e) {
      // Whatever escapes is reported; the temporary folder is still removed.
      vnt::RunMessageBox(state, nullptr, e.what(), MB_OK | MB_ICONERROR);
      result = vnt::StartupFailed;
    }
    vnt::CleanUp(state);
    vnt::ClosePackage(state.Package);
    EndLog(state, result);
    return result;
  } catch (const vnt::ESystemStartup& e) {
    MessageBoxA(nullptr, e.what(), "Vantry Setup", MB_OK | MB_ICONERROR);
    return vnt::StartupFailed;
  }
}
