// The script commands that reach the web: CheckConnection, DownloadFile, PostData, GetUrlText
// and AbortDownload. A failure of the network or the server never stops a script: each
// command reports it only through its result, and the log keeps the reason.
#pragma once

#include "setup/win32/SetupState.h"

namespace vnt {

// Lets the run's interpreter take the web commands when it is made; state.ProgressSink
// receives a download's progress whenever it is set.
void AttachWebCommands(TSetupState& state);

}  // namespace vnt
