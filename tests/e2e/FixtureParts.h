// Building blocks of the end-to-end setup fixtures: pictures, script statements, page
// controls and the support files a setup restores at start-up.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "DialogEditorFuncs.h"
#include "PackageWriter.h"

namespace vnt::fixture {

// 0xRRGGBB of the pixel at (x, y), y counted from the top.
using TPixel = std::function<uint32_t(int x, int y)>;

// A 24-bit .bmp file.
std::string Bitmap(int width, int height, const TPixel& pixel);
std::string Bitmap(int width, int height, uint8_t r, uint8_t g, uint8_t b);

ScriptStatement Statement(uint8_t op, std::array<std::string, ScriptFieldCount> f, std::string condition = "");
// Statements from script source as vntbuild compiles it; a mistake in it is the fixture's
// own and throws with the compiler's messages.
TScript Script(const std::string& source);

// The usual page font: Tahoma 8 in window-text colour.
extern const std::string Font8;

// A 23 by 75 button; type 0 plain, 1 cancel, 2 default.
TControlDef PageButton(int left, int top, const std::string& caption, int type, const std::string& tag,
                       TScript script);
// A dialog in Tahoma 8.
TSetupDialog Page(const std::string& name, const std::string& title, int width, int height,
                  std::vector<TControlDef> controls);

// Support files: each goes into the temporary setup folder, restored from the support
// archive, which the package stores with the flag that it is present.
class TSupportFiles {
public:
  void Add(const std::string& name, std::string data);
  // Replaces the content's support file records and archive.
  void Store(TPackageContent& content) const;

private:
  std::vector<TSetupInstallerFile> Records;
  std::vector<TArchiveMember> Members;
};

}  // namespace vnt::fixture
