// Prints what a reader finds in a setup's package, in readable form.
#pragma once

#include <ostream>

#include "package/SetupDescription.h"
#include "package/SetupFuncs.h"

namespace vnt {

// Loads every section it knows and prints it; raises EPackageError on damaged data.
void DumpPackage(TPackage& pkg, std::ostream& out);

}  // namespace vnt
