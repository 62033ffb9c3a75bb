// Package contents for tests: a rich one that fills every record kind with non-trivial
// values, and helpers to turn content into bytes and read it back.
#pragma once

#include <string>

#include "package/PackageWriter.h"
#include "package/SetupFuncs.h"

namespace vnt::test {

TPackageContent RichContent();
// A fake program image: the writer only needs its size.
std::string FakeImage(size_t size = 4096);
// Opens the bytes of a whole file as a package.
TPackage OpenBytes(const std::string& file, uint32_t packageEndResource = 0);

}  // namespace vnt::test
