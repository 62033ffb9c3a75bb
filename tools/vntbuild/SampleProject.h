// The sample product the demo builds until projects are read from files.
#pragma once

#include "PackageWriter.h"

namespace vnt {

TPackageContent SampleHelloPackage();

}  // namespace vnt
