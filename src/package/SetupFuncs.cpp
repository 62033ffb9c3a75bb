#include "package/SetupFuncs.h"

#include "package/PackagePrimitives.h"

namespace vnt {

namespace {

// Directory and option bytes must lie inside the package, before its trailer.
bool ReadDirectory(TPackage& pkg, TStream& s, uint64_t dataEnd) {
  if (uint64_t(pkg.DirectoryOffset) + DirectorySize > dataEnd) return false;
  s.Seek(pkg.DirectoryOffset);
  for (auto& entry : pkg.Directory) {
    entry = ReadU32(s);
    if (entry > dataEnd) return false;
  }
  if (uint64_t(pkg.Directory[SecOptions]) + OptionCount > dataEnd) return false;
  s.Seek(pkg.Directory[SecOptions]);
  for (auto& option : pkg.Options) option = ReadByte(s);
  return true;
}

}  // namespace

bool OpenPackage(TPackage& pkg, const std::string& path, std::unique_ptr<TStream> file,
                 uint32_t packageEndResource) {
  pkg = TPackage{};
  pkg.Path = path;
  if (!file) return false;
  uint64_t size = file->Size();
  pkg.PackageEnd = packageEndResource != 0 ? packageEndResource : size;
  if (pkg.PackageEnd > size || pkg.PackageEnd < TrailerSize) {
    // Too short to carry a trailer: there is no package here.
    pkg.PackageStream = std::move(file);
    return true;
  }
  uint64_t dataEnd = pkg.PackageEnd - TrailerSize;
  try {
    file->Seek(dataEnd);
    pkg.DirectoryOffset = ReadU32(*file);
    pkg.ArchiveOffset = ReadI32(*file);
    pkg.Magic = ReadU32(*file);
    // Values of a file without a valid trailer are never used.
    if (pkg.Magic == PackageMagic) pkg.Damaged = !ReadDirectory(pkg, *file, dataEnd);
  } catch (const EPackageError&) {
    pkg.Damaged = true;
  }
  pkg.PackageStream = std::make_unique<TStreamWindow>(std::move(file), dataEnd);
  return true;
}

bool PackageIsValid(const TPackage& pkg) {
  return pkg.PackageStream && pkg.Magic == PackageMagic && !pkg.Damaged;
}

TStream& SeekSection(TPackage& pkg, int section) {
  if (!pkg.PackageStream || section < 0 || section >= SectionCount)
    throw EPackageError("no such package section");
  pkg.PackageStream->Seek(pkg.Directory[section]);
  return *pkg.PackageStream;
}

void ClosePackage(TPackage& pkg) { pkg.PackageStream.reset(); }

}  // namespace vnt
