// Puts a new resource section into a program image. A resource section that ends the image is
// written anew in its place; any other stays and a new section at the end takes over. The
// image keeps its other sections, the data after them, and its alignments.
#pragma once

#include <string>
#include <vector>

#include "vntbuild/assemble/PeResourceTree.h"

namespace vnt {

// The image with exactly these resources. A certificate the image carried no longer matches
// and is taken off; the checksum is set again. EBuildError when the image's headers are
// damaged or leave no room for another section header.
std::string WithResources(const std::string& image, const std::vector<TResourceItem>& items);

// Sets the checksum of the headers' image over the whole file, appended data included, as
// Windows computes it.
void SetPeChecksum(std::string& file);

}  // namespace vnt
