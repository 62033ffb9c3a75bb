// The Windows CE Application Manager on this PC: where it is, its installation files written,
// and its run. Hiding the setup's windows while it runs is the caller's part.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "device/AppMgrFiles.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

// The program's full path: the registered program's folder, else the ActiveSync folder under
// the program files. Whether it is there is another question (AppMgrArgumentsIfPresent).
std::string AppMgrPath(TSystemInfo& info);

// Writes each file anew and answers their paths, in order. When one cannot be written, those
// written before it go again and std::runtime_error says which file and why: the caller records
// only what it is answered.
std::vector<std::string> WriteAppMgrFiles(const std::vector<TAppMgrFile>& files);

// The quoted files joined by blanks; empty when the program is missing or there are none.
std::string AppMgrArgumentsIfPresent(const std::string& appMgrPath, const std::vector<TAppMgrFile>& files);

// Starts the program with the arguments in installDir (expanded), waits until it takes input
// and then until it ends, letting pump keep the setup's windows working. Answers the system's
// error code when it could not start, else 0; the program's own result is not looked at.
DWORD RunAppMgr(const std::string& appMgrPath, const std::string& arguments, const std::string& installDir,
                const TMessagePump& pump);

}  // namespace vnt
