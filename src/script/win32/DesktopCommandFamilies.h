// Each family of desktop commands registers its commands with the context of the commands
// object; only TDesktopCommands::Install calls these.
#pragma once

#include "script/win32/DesktopCommands.h"

namespace vnt {

void InstallMessageCommands(TDesktopCommands& desktop);
void InstallScriptFileCommands(TDesktopCommands& desktop);
void InstallRegistryCommands(TDesktopCommands& desktop);
void InstallFileCommands(TDesktopCommands& desktop);
void InstallShellCommands(TDesktopCommands& desktop);
void InstallWindowCommands(TDesktopCommands& desktop);

}  // namespace vnt
