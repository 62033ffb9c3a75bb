// The Application Manager's installation files: which device file groups get one, where it
// goes and what it says, and the argument list that hands them over.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupQueries.h"
#include "package/SetupVariables.h"

namespace vnt {

// The address named in the files' header.
inline constexpr const char* AppMgrFileWebAddress = "https://vantry.example/";

// Whether a group has a cabinet file that this run installs into the group's folder.
using TGroupIsUsed = std::function<bool(const TSetupDeviceFileGroup& group)>;
// A stored text with the variables replaced.
using TExpandText = std::function<std::string(const std::string& text)>;

struct TAppMgrFile {
  std::string Path;  // the expanded folder, a backslash, the safe name and ".ini"
  std::string Text;  // the whole file, CR LF line ends
};

// The main group (named after the software, described by the setup's description) first,
// then the listed groups in order.
std::vector<TSetupDeviceFileGroup> DeviceGroupsInOrder(const TSetupDescription& desc);
// Those of them that are used, same order.
std::vector<TSetupDeviceFileGroup> UsedDeviceGroups(const TSetupDescription& desc, const TGroupIsUsed& isUsed);

// The name with every character Windows or the file's own list syntax cannot hold as "_";
// dots and blanks stay.
std::string AppMgrSafeName(const std::string& name);
std::string AppMgrFilePath(const std::string& expandedFolder, const std::string& groupName);

// One file's text. iconFile is the installed product icon's path, empty when none.
std::string AppMgrFileText(const TSetupDeviceFileGroup& group, const std::string& company,
                           bool withUninstall, const std::string& iconFile);
// The files of the used groups, in order; only the first carries the Uninstall line.
std::vector<TAppMgrFile> PlanAppMgrFiles(const TSetupDescription& desc, const TGroupIsUsed& isUsed,
                                         const TExpandText& expand, const std::string& iconFile);
// The same for this run: a group is used when it has a selected cabinet file in its folder,
// and folders are expanded with the run's variables.
std::vector<TAppMgrFile> PlanAppMgrFiles(const TSetupDescription& desc, const TSetupQueries& queries,
                                         TSetupVariables& vars, const std::string& iconFile);

// The paths, each quoted, joined by one blank.
std::string AppMgrArguments(const std::vector<std::string>& paths);

}  // namespace vnt
