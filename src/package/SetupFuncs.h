// The Setup Package container: trailer, section directory and option bytes, read from the
// program's own file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "package/PackageStream.h"

namespace vnt {

constexpr int SectionCount = 18;
constexpr int OptionCount = 7;
constexpr size_t TrailerSize = 12;
constexpr size_t DirectorySize = SectionCount * 4;
// "fVN" and a zero byte, compared as one little-endian 32-bit value.
constexpr uint32_t PackageMagic = 0x004E5666;
// The custom resource that may move the package end away from the end of the file.
constexpr int PackageEndResourceType = 9090;
constexpr int PackageEndResourceName = 9091;

enum TSection {
  SecProperties = 0, SecMessages, SecProperties2, SecOptions, SecVariables, SecBackItems,
  SecComponents, SecProgressBitmaps, SecScripts, SecDialogs, SecFolders, SecSupportFiles,
  SecProductFiles, SecShortcuts, SecRegistry, SecSupportArchive, SecProductArchive, SecDeviceTable
};

// Option bytes, numbered 1 to 7 as they stand in the option section.
enum TOption {
  OptDeviceOnly = 1, OptBackgroundWindow, OptRequiresAppMgr, OptRequiresHotSync,
  OptUninstallOption, OptCreateUninstaller, OptOwnFonts
};

struct TPackage {
  std::string Path;
  std::unique_ptr<TStream> PackageStream;
  uint64_t PackageEnd = 0;
  uint32_t DirectoryOffset = 0;
  int32_t ArchiveOffset = 0;  // < 1: the product archive is in external volume files
  uint32_t Magic = 0;
  std::array<uint32_t, SectionCount> Directory{};
  std::array<uint8_t, OptionCount> Options{};
  bool Damaged = false;  // the trailer is right but the directory cannot be

  bool Option(TOption n) const { return Options[n - 1] != 0; }
};

// Reads trailer, directory and option bytes from an opened file. file is empty when the file
// could not be opened; packageEndResource is the resource value (0 = the end of the file).
// Answers false only when there is nothing to read; damage shows in PackageIsValid.
bool OpenPackage(TPackage& pkg, const std::string& path, std::unique_ptr<TStream> file,
                 uint32_t packageEndResource);
bool PackageIsValid(const TPackage& pkg);
// Positions the package stream at section i and answers it.
TStream& SeekSection(TPackage& pkg, int section);
void ClosePackage(TPackage& pkg);

}  // namespace vnt
