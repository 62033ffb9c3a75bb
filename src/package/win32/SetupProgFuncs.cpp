#include "SetupProgFuncs.h"

#include <windows.h>

#include "FileStream.h"
#include "SetupSections.h"
#include "SetupStrings.h"

namespace vnt {

namespace {

void FatalMessage(const TSetupState& state, const char* text) {
  MessageBoxA(nullptr, text, state.ApplicationTitle.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

void LoadDescription(TSetupState& state) {
  state.Description = TSetupDescription{};
  ReadDescription(state.Package, state.Description, state.Language,
                  state.Package.Option(OptBackgroundWindow));
}

TStartupResult RunStartup(TSetupState& state) {
  state.ApplicationTitle = DefaultApplicationTitle;
  std::string path = ProgramPath();
  if (!OpenPackage(state.Package, path, TFileStream::OpenRead(path), PackageEndResourceValue())) {
    FatalMessage(state, FatalOpenMessage);
    return StartupFailed;
  }
  if (!PackageIsValid(state.Package)) {
    FatalMessage(state, FatalCorruptMessage);
    return StartupFailed;
  }
  try {
    LoadDescription(state);
  } catch (const EPackageError&) {
    // A damaged section never becomes data.
    FatalMessage(state, FatalCorruptMessage);
    return StartupFailed;
  }
  return StartupOk;
}

}  // namespace vnt
