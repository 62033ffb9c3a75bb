// The device side as the programs use it: the HotSync software's users, the connected Windows
// CE device, their script commands, and the window shown while a device connects. Attached to
// a run's state before start-up.
#pragma once

#include <memory>
#include <optional>

#include "device/win32/HotSync.h"
#include "device/win32/RapiTool.h"
#include "setup/win32/SetupState.h"
#include "ui/win32/windows/StartCEConnection.h"

namespace vnt {

struct TDeviceSide {
  THotSync HotSync;
  // One per run, made with the interpreter; freed (and disconnected) when the program ends.
  std::unique_ptr<TRapiTool> Rapi;
  std::optional<TDeviceConnectionWindow> ConnectionWindow;
};

// Reads the HotSync software's facts once and lends the device side to the run; device
// outlives state.
void AttachDeviceSide(TSetupState& state, TDeviceSide& device);

}  // namespace vnt
