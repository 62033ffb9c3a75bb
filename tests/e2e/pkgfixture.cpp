// Writes setup variants for the end-to-end tests: pkgfixture <kind> <stub.exe> <out.exe>
#include <iostream>
#include <string>

#include "PackagePrimitives.h"
#include "ArchiveWriter.h"
#include "PackageWriter.h"
#include "StdFileStream.h"
#include "TestPackages.h"

using namespace vnt;

namespace {

// A 24-bit picture of the given size in one colour, as a .bmp file.
std::string Bitmap(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  int stride = (width * 3 + 3) & ~3;
  TMemoryStream s;
  s.Write("BM", 2);
  WriteU32(s, uint32_t(54 + stride * height));
  WriteU32(s, 0);
  WriteU32(s, 54);
  for (uint32_t v : {40u, uint32_t(width), uint32_t(height)}) WriteU32(s, v);
  WriteU16(s, 1);
  WriteU16(s, 24);
  for (int i = 0; i < 6; ++i) WriteU32(s, 0);
  std::string row(size_t(stride), '\0');
  for (int x = 0; x < width; ++x) {
    row[size_t(x * 3)] = char(b);
    row[size_t(x * 3 + 1)] = char(g);
    row[size_t(x * 3 + 2)] = char(r);
  }
  for (int y = 0; y < height; ++y) s.Write(row.data(), row.size());
  return s.Bytes();
}

TSetupInstallerFile SupportFile(int32_t id, const std::string& name) {
  TSetupInstallerFile f;
  f.Id = id;
  f.File.SourceName = name;
  f.File.DestFolder = "%TempSetupDir%\\";
  return f;
}

// Support files: a splash picture and a text, restored at start-up.
void AddSupportFiles(TPackageContent& c) {
  c.Description.Properties.SplashBitmap = "Splash.bmp";
  c.Description.SupportFiles = {SupportFile(1, "splash.bmp"), SupportFile(2, "readme.txt")};
  std::vector<TArchiveMember> members = {{1, 0x5A8B4C21u, Bitmap(240, 120, 40, 90, 160)},
                                         {2, 0x5A8B4C21u, "Read me first.\r\n"}};
  c.RawSections[SecSupportArchive] = std::string("\x01") + WriteArchive("", members);
}

ScriptStatement Statement(uint8_t op, std::array<std::string, 5> f, std::string condition = "") {
  ScriptStatement st;
  st.Opcode = op;
  st.F = std::move(f);
  st.Condition = std::move(condition);
  return st;
}

// A start script that shows where the support files went, then asks whether to go on.
void AddStartScript(TPackageContent& c) {
  c.Description.Scripts[StartScript] = {
      Statement(OpMessageBox, {"Start", "%TempSetupDir%", "INFORMATION"}),
      Statement(OpAskYesNo, {"%Go%", "Question", "Continue with %SoftwareName%?", "QUESTION"}),
      Statement(OpCancelSetup, {}, "%Go% = NO|"),
  };
}

std::string Variant(const std::string& kind, const std::string& stub) {
  TPackageContent c = test::RichContent();
  c.Description.Scripts[StartScript].clear();  // its question would wait for an answer
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
  if (kind == "splash") {
    AddSupportFiles(c);
    return AppendPackage(stub, c);
  }
  if (kind == "start-script") {
    AddSupportFiles(c);
    AddStartScript(c);
    return AppendPackage(stub, c);
  }
  if (kind == "resource-end") return AppendPackage(stub, c, true) + std::string(4096, 'Z');
  throw std::runtime_error("unknown kind " + kind);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: pkgfixture valid|nopackage|badmagic|truncated|damaged|needs-appmgr|splash|start-script|resource-end <stub> <out>\n";
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
