#include "package/FolderPrefixes.h"

namespace vnt {

void TFolderPrefixes::AddDestination(const std::string& destination) {
  // Longest first: a part already there came with all the parts above it.
  for (size_t end = destination.size(); end > 0;) {
    size_t cut = destination.rfind('\\', end - 1);
    if (cut == std::string::npos || !Prefixes.insert(destination.substr(0, cut + 1)).second) return;
    end = cut;
  }
}

bool TFolderPrefixes::Holds(const std::string& folder) const {
  if (!folder.empty() && folder.back() == '\\') return Prefixes.count(folder) > 0;
  return Prefixes.count(folder + "\\") > 0;
}

}  // namespace vnt
