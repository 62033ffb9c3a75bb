// The shared uninstaller cannot delete itself while it runs. Once the last product that used
// it is gone, a copy of it in a temporary folder waits for it to end and deletes it.
#pragma once

#include <string>

namespace vnt {

// Starts the copy that deletes program once this process has ended; false when it cannot
// be started (the caller has the file deleted when Windows next starts instead).
bool DeleteWhenEnded(const std::string& program, const std::string& tempFolder);

// The copy's whole run, from its /DELETEAFTER value ("<process handle>:<path>"): waits for
// the process to end (a minute at most) and deletes the file, unless a product set up in the
// meantime has taken it over (counted itself as its user, or written it anew). Answers the
// exit code.
int RunDeleteAfter(const std::string& value);

}  // namespace vnt
