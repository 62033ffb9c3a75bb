// Questions about the installation records that depend on the selection and on conditions.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "package/SetupDescription.h"
#include "package/SetupVariables.h"

namespace vnt {

class TSetupQueries {
public:
  TSetupQueries(const TSetupDescription& desc, TSetupVariables& vars) : Desc(desc), Vars(vars) {}

  bool IsDeviceCabinet(const std::string& fileName) const;
  bool GroupHasSelectedFile(const TSetupDeviceFileGroup& group) const;
  uint64_t SelectedSize() const;
  // The bytes of the files this run installs, summed by the drive letter of each file's
  // expanded destination; files going to a path without a drive letter are not counted.
  std::map<char, uint64_t> BytesByDrive() const;
  uint64_t ComponentSize(const std::string& name) const;
  bool ComponentHasEntries(const std::string& name) const;
  bool FolderIsUnused(const std::string& folder) const;
  bool ShortcutFolderIsUnused(const std::string& folder) const;
  // The same for a whole list at once, in one pass over the files (or shortcuts): an entry
  // for each folder, true when it is unused.
  std::vector<bool> UnusedFolders(const std::vector<std::string>& folders) const;
  std::vector<bool> UnusedShortcutFolders(const std::vector<std::string>& folders) const;
  std::string FindDestinationFolder(const std::string& fileName) const;
  bool IsInFolderList(const std::string& text) const { return Vars.IsInFolderList(text); }
  // A record of these components with this condition is part of the run.
  bool Selected(const std::string& components, const std::string& condition) const;
  // The same for what a run installs: in maintenance mode only the newly chosen components.
  bool SelectedForInstall(const std::string& components, const std::string& condition) const;

private:

  const TSetupDescription& Desc;
  TSetupVariables& Vars;
};

// The part after the last backslash (or slash, or drive colon).
std::string FileNamePart(const std::string& path);
// Whether text begins with prefix, ignoring case.
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

}  // namespace vnt
