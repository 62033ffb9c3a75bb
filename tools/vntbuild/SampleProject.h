// The sample product the demo builds until projects are read from files.
#pragma once

#include "package/PackageWriter.h"

namespace vnt {

TPackageContent SampleHelloPackage();

}  // namespace vnt
