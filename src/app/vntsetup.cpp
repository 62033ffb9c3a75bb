// The setup program: a fixed stub that runs the Setup Package appended to it.
#include <windows.h>

#include "SetupProgFuncs.h"
#include "SystemServices.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    vnt::TComSession com;
    vnt::TSetupState state;
    int result = vnt::RunStartup(state);
    vnt::CleanUp(state);
    vnt::ClosePackage(state.Package);
    return result;
  } catch (const vnt::ESystemStartup& e) {
    MessageBoxA(nullptr, e.what(), "Vantry Setup", MB_OK | MB_ICONERROR);
    return 1;
  }
}
