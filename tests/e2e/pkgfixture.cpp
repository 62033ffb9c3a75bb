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

const std::string Font8 = "Tahoma|8|-2147483640|0|1|";

TControlDef Control(uint8_t kind, int left, int top, int height, int width, std::array<std::string, 6> p,
                    TScript script = {}, const std::string& binding = "") {
  TControlDef c;
  c.Kind = kind;
  c.Left = left;
  c.Top = top;
  c.Height = height;
  c.Width = width;
  c.P = std::move(p);
  c.Script = std::move(script);
  c.Binding = binding;
  return c;
}

TControlDef PageButton(int left, const std::string& caption, int type, const std::string& tag, uint8_t op) {
  return Control(KindButton, left, 215, 23, 75, {caption, Font8, std::to_string(type), "", tag, ""},
                 {Statement(op, {})});
}

TSetupDialog Page(const std::string& name, const std::string& title, std::vector<TControlDef> controls) {
  TSetupDialog d;
  d.Name = name;
  d.Title = title;
  d.ClientWidth = 400;
  d.ClientHeight = 250;
  d.DialogFont = {"Tahoma", 8, int32_t(0x80000008), 0, 1};
  d.Controls = std::move(controls);
  return d;
}

// Three pages: a welcome text set by its BeforeBuildScript, a folder box whose LeaveScript
// stores it and appends it to wizard-out.txt next to the setup, and a last page whose
// AfterBuildScript disables its "extra" button.
void AddWizardPages(TPackageContent& c) {
  TSetupDialog welcome = Page("Welcome", "%SoftwareName% Setup",
                              {Control(KindLabel, 12, 12, 40, 376, {"%D0_1%", Font8, "0"}),
                               PageButton(220, "&Next >", 2, "next", OpNextPage),
                               PageButton(310, "Cancel", 1, "cancel", OpCancelSetup)});
  welcome.BeforeBuildScript = {Statement(OpAssignVariable, {"%D0_1%", "Welcome to the %SoftwareName% Setup.", "0"})};
  TSetupDialog folder = Page("Folder", "Choose a folder",
                             {Control(KindLabel, 12, 12, 16, 376, {"Install %SoftwareName% to:", Font8, "0"}),
                              Control(KindTextBox, 12, 34, 21, 376, {"%InstallDir%", Font8, "0"}, {}, "%InstallDir%"),
                              PageButton(220, "< &Back", 0, "back", OpPreviousPage),
                              PageButton(310, "&Next >", 2, "next", OpNextPage)});
  folder.LeaveScript = {Statement(OpStorePageValues, {}),
                        Statement(OpFileOpen, {"%St%", "%SourceDir%\\wizard-out.txt", "0"}),
                        Statement(OpFileWriteLine, {"%InstallDir%"}), Statement(OpFileClose, {})};
  TSetupDialog finish = Page("Finish", "Ready",
                             {Control(KindLabel, 12, 12, 16, 376, {"%SoftwareName% is ready.", Font8, "0"}),
                              PageButton(130, "Help", 0, "extra", OpMessageBox),
                              PageButton(220, "< &Back", 0, "back", OpPreviousPage),
                              PageButton(310, "&Finish", 2, "finish", OpFinishSetup)});
  finish.AfterBuildScript = {Statement(OpDisableButton, {"extra"})};
  c.Description.Dialogs.Dialogs = {welcome, folder, finish};
  c.Description.Dialogs.FirstPage = "Welcome";
  c.Description.Dialogs.LastPage = "Finish";
}

std::string Variant(const std::string& kind, const std::string& stub) {
  TPackageContent c = test::RichContent();
  c.Description.Scripts[StartScript].clear();  // its question would wait for an answer
  if (kind == "wizard") {
    AddWizardPages(c);
    return AppendPackage(stub, c);
  }
  // The other variants test loading: without pages the setup ends after its start script.
  c.Description.Dialogs = {};
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
    std::cerr << "usage: pkgfixture valid|nopackage|badmagic|truncated|damaged|needs-appmgr|splash|start-script|resource-end|wizard <stub> <out>\n";
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
