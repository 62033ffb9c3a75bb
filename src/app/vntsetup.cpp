// The setup program: a fixed stub that runs the Setup Package appended to it.
#include <windows.h>

#include <new>

#include "app/DeviceSide.h"
#include "install/win32/EarlierInstallation.h"
#include "install/win32/InterruptedRun.h"
#include "script/DesktopRules.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/win32/wizard/SetupMain.h"

namespace {

int RunSetup(vnt::TSetupState& state) {
  // The installation this run maintains, when the start script finds one.
  vnt::TUninstallRecord earlier;
  state.ReadUninstallRecord = [&state, &earlier](const std::string& path) {
    return vnt::TakeEarlierInstallation(state, path, earlier, [&state](const std::string& problem) {
      MessageBoxA(nullptr, problem.c_str(), state.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
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
    MessageBoxA(nullptr, text.c_str(), state.ApplicationTitle.c_str(), MB_OK | MB_ICONINFORMATION);
  };
  int result = vnt::RunStartup(state);
  // The wizard shows the pages; a package without pages installs at once.
  if (result == vnt::StartupOk) result = vnt::RunWizard(state, &earlier);
  return result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vnt::RestrictLibrarySearch();
  try {
    vnt::TComSession com;
    vnt::TDeviceSide device;  // lent to the state, so made before it
    vnt::TSetupState state;
    vnt::AttachDeviceSide(state, device);
    int result;
    try {
      result = RunSetup(state);
    } catch (const std::bad_alloc&) {
      MessageBoxA(nullptr, vnt::OutOfMemoryMessage, state.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
      result = vnt::StartupFailed;
    } catch (const std::exception& e) {
      // Whatever escapes is reported; the temporary folder is still removed.
      MessageBoxA(nullptr, e.what(), state.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
      result = vnt::StartupFailed;
    }
    vnt::CleanUp(state);
    vnt::ClosePackage(state.Package);
    return result;
  } catch (const vnt::ESystemStartup& e) {
    MessageBoxA(nullptr, e.what(), "Vantry Setup", MB_OK | MB_ICONERROR);
    return vnt::StartupFailed;
  }
}
