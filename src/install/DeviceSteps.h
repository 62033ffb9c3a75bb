// What the installation hands to the device side: the Application Manager's files and its
// run, the HotSync users' queues and the Palm conduits. A step that is not given is left out:
// the installation on the PC does not depend on it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "package/SetupTypes.h"

namespace vnt {

struct TDeviceSteps {
  // Writes the Application Manager files of the device file groups with a selected cabinet
  // file and answers their paths.
  std::function<std::vector<std::string>()> WriteAppMgrFiles;
  // The Application Manager's arguments for those files; empty when there is nothing to run.
  std::function<std::string()> AppMgrCommand;
  // Runs the Application Manager with those arguments and waits for it.
  std::function<void(const std::string& command)> RunAppMgr;
  // Queues a restored file for the HotSync users listed in users (the %HotSyncUser% text).
  std::function<void(const std::string& path, const std::string& users)> QueueHotSyncFile;
  // Registers a conduit whose library exists; false on failure.
  std::function<bool(const THotSyncConduit& conduit)> RegisterConduit;
};

}  // namespace vnt
