// Writes a Setup Package: the sections, the directory, the option bytes and the trailer, and
// appends it to a copy of the stub program.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "package/SetupDescription.h"
#include "package/SetupFuncs.h"

namespace vnt {

struct TPackageContent {
  TSetupDescription Description;
  std::array<uint8_t, OptionCount> Options{};
  // Stored bytes of sections whose records are written elsewhere (scripts, dialogs,
  // archives); an empty entry writes the section's empty form.
  std::array<std::optional<std::string>, SectionCount> RawSections;
  bool ExternalArchive = false;  // the product archive lives in volume files

  void SetOption(TOption n, bool on) { Options[n - 1] = on ? 1 : 0; }
};

// The product file record that carries the uninstaller program, for a setup that creates an
// uninstaller: the setup restores it as vntuninst.exe into the Windows folder. Products share
// that one copy, so an existing newer one stays.
TSetupInstallerFile UninstallerFileRecord(int32_t id, uint32_t size, uint32_t dosDateTime);

// Stored bytes of one section.
std::string WriteSection(const TPackageContent& content, int section);

// What goes around the sections of a package whose sections the caller writes itself (so
// that large ones need not be held): the directory before them and the trailer after them.
struct TPackageFrame {
  std::string Directory, Trailer;
};
// The frame for sections of these sizes after a program image of imageSize bytes;
// std::length_error when a section would start beyond 4 GB.
TPackageFrame PackageFrame(const TPackageContent& content, const std::array<uint64_t, SectionCount>& sectionSizes,
                           uint64_t imageSize);
// Records in the image's package-end resource that the package ends at packageEnd;
// std::runtime_error when the image has no such resource.
void SetPackageEnd(std::string& image, uint64_t packageEnd);

// Directory, sections and trailer, for a program image of imageSize bytes.
std::string BuildPackage(const TPackageContent& content, uint64_t imageSize);
// The stub image followed by its package. With endInResource the image's package-end
// resource records where the package ends, so that data may follow it.
std::string AppendPackage(std::string stubImage, const TPackageContent& content,
                          bool endInResource = false);

}  // namespace vnt
