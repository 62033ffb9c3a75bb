// The uninstaller program of packages that carry one of their own.
#include <windows.h>

#include "app/UninstallerMain.h"
#include "platform/win32/SystemServices.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vnt::RestrictLibrarySearch();
  return vnt::RunUninstallerProgram();
}
