// The device side as the programs use it: the HotSync software's users and their script
// commands, attached to a run's state before start-up.
#pragma once

#include "device/win32/HotSync.h"
#include "setup/win32/SetupState.h"

namespace vnt {

// Reads the HotSync software's facts once and lends them to the run; hotSync outlives state.
void AttachDeviceSide(TSetupState& state, THotSync& hotSync);

}  // namespace vnt
