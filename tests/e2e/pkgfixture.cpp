// Writes setup variants for the end-to-end tests: pkgfixture <kind> <stub.exe> <out.exe>
#include <iostream>
#include <string>

#include "FixtureParts.h"
#include "StdFileStream.h"
#include "TestPackages.h"

using namespace vnt;
using namespace vnt::fixture;

namespace {

// Support files: a splash picture and a text, restored at start-up.
void AddSupportFiles(TPackageContent& c) {
  c.Description.Properties.SplashBitmap = "Splash.bmp";
  TSupportFiles files;
  files.Add("splash.bmp", Bitmap(240, 120, 40, 90, 160));
  files.Add("readme.txt", "Read me first.\r\n");
  files.Store(c);
}

// A start script that shows where the support files went, then asks whether to go on.
void AddStartScript(TPackageContent& c) {
  c.Description.Scripts[StartScript] = {
      Statement(OpMessageBox, {"Start", "%TempSetupDir%", "INFORMATION"}),
      Statement(OpAskYesNo, {"%Go%", "Question", "Continue with %SoftwareName%?", "QUESTION"}),
      Statement(OpCancelSetup, {}, "%Go% = NO|"),
  };
}

// Three pages: a welcome text set by its BeforeBuildScript, a folder box whose LeaveScript
// stores it and appends it to wizard-out.txt next to the setup, and a last page whose
// AfterBuildScript disables its "extra" button.
void AddWizardPages(TPackageContent& c) {
  TSetupDialog welcome = Page("Welcome", "%SoftwareName% Setup", 400, 250,
                              {MakeControlDef(KindLabel, 12, 12, 40, 376, {"%D0_1%", Font8, "0"}),
                               PageButton(220, 215, "&Next >", 2, "next", {Statement(OpNextPage, {})}),
                               PageButton(310, 215, "Cancel", 1, "cancel", {Statement(OpCancelSetup, {})})});
  welcome.BeforeBuildScript = {Statement(OpAssignVariable, {"%D0_1%", "Welcome to the %SoftwareName% Setup.", "0"})};
  TSetupDialog folder =
      Page("Folder", "Choose a folder", 400, 250,
           {MakeControlDef(KindLabel, 12, 12, 16, 376, {"Install %SoftwareName% to:", Font8, "0"}),
            MakeControlDef(KindTextBox, 12, 34, 21, 376, {"%InstallDir%", Font8, "0"}, {}, "%InstallDir%"),
            PageButton(220, 215, "< &Back", 0, "back", {Statement(OpPreviousPage, {})}),
            PageButton(310, 215, "&Next >", 2, "next", {Statement(OpNextPage, {})})});
  folder.LeaveScript = {Statement(OpStorePageValues, {}),
                        Statement(OpFileOpen, {"%St%", "%SourceDir%\\wizard-out.txt", "0"}),
                        Statement(OpFileWriteLine, {"%InstallDir%"}), Statement(OpFileClose, {})};
  TSetupDialog finish = Page("Finish", "Ready", 400, 250,
                             {MakeControlDef(KindLabel, 12, 12, 16, 376, {"%SoftwareName% is ready.", Font8, "0"}),
                              PageButton(130, 215, "Help", 0, "extra", {Statement(OpMessageBox, {})}),
                              PageButton(220, 215, "< &Back", 0, "back", {Statement(OpPreviousPage, {})}),
                              PageButton(310, 215, "&Finish", 2, "finish", {Statement(OpFinishSetup, {})})});
  finish.AfterBuildScript = {Statement(OpDisableButton, {"extra"})};
  c.Description.Dialogs.Dialogs = {welcome, folder, finish};
  c.Description.Dialogs.FirstPage = "Welcome";
  c.Description.Dialogs.LastPage = "Finish";
}

// Two pages whose BeforeBuildScripts send the wizard to each other without end.
void AddLoopingPages(TPackageContent& c) {
  std::vector<TSetupDialog> pages;
  for (const char* name : {"Ping", "Pong"}) {
    TSetupDialog page = Page(name, std::string("Loop ") + name, 400, 250,
                             {MakeControlDef(KindLabel, 12, 12, 16, 376, {name, Font8, "0"}),
                              PageButton(310, 215, "Cancel", 1, "cancel", {Statement(OpCancelSetup, {})})});
    TScript go = {Statement(OpGoToPage, {name == std::string("Ping") ? "Pong" : "Ping"})};
    page.BeforeBuildScript = go;
    pages.push_back(page);
  }
  c.Description.Dialogs.Dialogs = pages;
  c.Description.Dialogs.FirstPage = "Ping";
  c.Description.Dialogs.LastPage = "Pong";
}

std::string Variant(const std::string& kind, const std::string& stub) {
  TPackageContent c = test::RichContent();
  c.Description.Scripts[StartScript].clear();  // its question would wait for an answer
  if (kind == "wizard") {
    AddWizardPages(c);
    return AppendPackage(stub, c);
  }
  if (kind == "page-loop") {
    AddLoopingPages(c);
    return AppendPackage(stub, c);
  }
  if (kind == "close-finishes") {  // a CloseScript that finishes the setup itself
    AddWizardPages(c);
    c.Description.Scripts[CloseScript] = {Statement(OpFinishSetup, {})};
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
    std::cerr << "usage: pkgfixture valid|nopackage|badmagic|truncated|damaged|needs-appmgr|splash|start-script|resource-end|wizard|page-loop|close-finishes <stub> <out>\n";
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
