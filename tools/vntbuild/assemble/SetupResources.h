// The built setup's own resources: the product's version resource and, when the project gives
// one, its icon in place of the stub's. Everything else the stub holds stays (the manifest,
// the package-end value, the loader picture).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vntbuild/assemble/IconFile.h"
#include "vntbuild/assemble/PeResourceTree.h"
#include "vntbuild/assemble/VersionResource.h"

namespace vnt {

constexpr uint16_t IconResourceType = 3;
constexpr uint16_t IconGroupResourceType = 14;
constexpr uint16_t VersionResourceType = 16;

// The stub's resources changed: every version resource replaced by info's; with pictures, the
// first icon group (the one Explorer shows) and the icons only it used replaced by them.
std::vector<TResourceItem> WithSetupResources(std::vector<TResourceItem> items, const TVersionInfo& info,
                                              const std::vector<TIconPicture>& pictures);

// The stub image with those resources; EBuildError when its headers or resources are damaged.
std::string SetupStubImage(const std::string& stub, const TVersionInfo& info, const std::vector<TIconPicture>& pictures);

// A setup's own resources read back for a dump: its version resource and its first icon group
// as an icon file; what it lacks, or holds damaged, is left empty.
struct TSetupOwnResources {
  std::optional<TVersionStrings> Version;
  std::string IconFile;
};
TSetupOwnResources ReadSetupOwnResources(const std::string& image);

}  // namespace vnt
