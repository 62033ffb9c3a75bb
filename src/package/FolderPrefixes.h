// Which folders of a list hold a destination: each destination given once adds every leading
// part of it that ends in a backslash, so a folder is then a single look-up, ignoring case.
#pragma once

#include <string>
#include <unordered_set>

#include "package/TextKeys.h"

namespace vnt {

class TFolderPrefixes {
public:
  void AddDestination(const std::string& destination);
  // Whether a destination given lies in the folder (with or without its trailing backslash).
  bool Holds(const std::string& folder) const;

private:
  std::unordered_set<std::string, TIgnoreCaseHash, TIgnoreCaseEqual> Prefixes;
};

}  // namespace vnt
