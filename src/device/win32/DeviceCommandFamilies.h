// Each family of device commands registers its commands through Set, which puts the device
// check in front of them; only RegisterDeviceCommands calls these.
#pragma once

#include <cstdint>

#include "device/win32/RapiTool.h"
#include "script/ScriptContext.h"

namespace vnt {

// The commands hold the context and the tool, never the set.
struct TDeviceCommandSet {
  TScriptContext& Context;
  TRapiTool& Tool;
  // The command runs only with a device connected; else its unavailable answer is given.
  void Set(uint8_t opcode, TScriptContext::TCommand command);
};

void InstallDeviceFactCommands(TDeviceCommandSet& device);
void InstallDeviceFileCommands(TDeviceCommandSet& device);
void InstallDeviceOpenFileCommands(TDeviceCommandSet& device);
void InstallDeviceRegistryCommands(TDeviceCommandSet& device);

}  // namespace vnt
