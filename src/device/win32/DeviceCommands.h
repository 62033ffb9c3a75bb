// The script commands that work on the connected Windows CE device through the device tool:
// what the device is, its files and folders, the one open device file, its registry, and
// copies between PC and device. Every one but DeviceConnected first makes sure a device is
// connected, connecting when one answers; when none can be reached it gives its unavailable
// answer and does nothing else. Failing device calls are otherwise silent.
#pragma once

#include "device/win32/RapiTool.h"
#include "script/ScriptContext.h"

namespace vnt {

// tool outlives context's commands.
void RegisterDeviceCommands(TScriptContext& context, TRapiTool& tool);

}  // namespace vnt
