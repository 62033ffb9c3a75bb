// Writes setup variants for the end-to-end tests: pkgfixture <kind> <stub.exe> <out.exe>
#include <iostream>
#include <string>

#include "PackagePrimitives.h"
#include "PackageWriter.h"
#include "StdFileStream.h"
#include "TestPackages.h"

using namespace vnt;

namespace {

std::string Variant(const std::string& kind, const std::string& stub) {
  TPackageContent c = test::RichContent();
  if (kind == "valid") return AppendPackage(stub, c);
  if (kind == "nopackage") return stub;
  if (kind == "badmagic") {
    std::string file = AppendPackage(stub, c);
    file.back() = 'X';  // "fVN" followed by another byte
    return file;
  }
  if (kind == "truncated") {
    std::string file = AppendPackage(stub, c);
    return file.substr(0, stub.size() + (file.size() - stub.size()) / 2);
  }
  if (kind == "damaged") {
    c.RawSections[SecShortcuts] = std::string("\x01\0\0\0unterminated", 16);
    for (int i = SecShortcuts + 1; i < SectionCount; ++i) c.RawSections[i] = std::string();
    return AppendPackage(stub, c);
  }
  if (kind == "needs-appmgr") {
    c.SetOption(OptRequiresAppMgr, true);
    return AppendPackage(stub, c);
  }
  if (kind == "resource-end") return AppendPackage(stub, c, true) + std::string(4096, 'Z');
  throw std::runtime_error("unknown kind " + kind);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: pkgfixture valid|nopackage|badmagic|truncated|damaged|needs-appmgr|resource-end <stub> <out>\n";
    return 2;
  }
  try {
    WriteWholeFile(argv[3], Variant(argv[1], ReadWholeFile(argv[2])));
  } catch (const std::exception& e) {
    std::cerr << "pkgfixture: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
