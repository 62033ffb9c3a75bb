// The checks of the machine against the setup's requirements, and the error protocol a
// failed check follows; the wizard and the run without a person share them.
#pragma once

#include <optional>
#include <string>

#include "setup/win32/SetupState.h"

namespace vnt {

struct TCheckFailure {
  std::string Text;  // the message, expanded
  int ErrorCode = 0;
};

// The first check the machine fails, or nothing.
std::optional<TCheckFailure> FailedMachineCheck(TSetupState& state);

// A failed check: its message, then the error script, which may let the setup go on by
// leaving %CanClose% at "0". Answers whether the setup goes on.
bool RunErrorProtocol(TSetupState& state, const std::string& text, int errorCode);

}  // namespace vnt
