// The setup program: a fixed stub that runs the Setup Package appended to it.
#include <windows.h>

#include "SetupProgFuncs.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vnt::TSetupState state;
  int result = vnt::RunStartup(state);
  vnt::ClosePackage(state.Package);
  return result;
}
