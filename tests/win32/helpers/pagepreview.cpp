// Shows one page built from a dialog definition, for tests and for looking at the controls.
//
// usage: pagepreview.exe                      a page holding every kind of control
//        pagepreview.exe SECTION [DIALOG]     a dialog of a file holding a stored dialog
//                                             section (the first page when DIALOG is not given)
//        pagepreview.exe --save SECTION       stores the first page's dialog as such a file
// A file that cannot be read as a dialog section ends the program with exit code 2.
// The page's pictures and text files are made in a folder of their own under the temporary
// folder. Every control event shows in the label bound to "%Events%" (when there is one) as
// "<component name>: <value>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TestBitmaps.h"
#include "package/DialogEditorFuncs.h"
#include "package/PackageStream.h"
#include "platform/win32/Window.h"
#include "ui/win32/controls/ControlBuilder.h"
#include "ui/win32/controls/VNComponents.h"

using namespace vnt;

namespace {

constexpr char PreviewClass[] = "TPagePreview";
constexpr char PanelClass[] = "TPagePanel";
const std::string Font8 = "Tahoma|8|-2147483640|0|1|";

// Every kind: a light banner with a picture, transparent texts and a check box and radio over
// it; inputs, lists and drawings below; the usual three buttons at the bottom.
TSetupDialog PreviewDialog() {
  TSetupDialog d;
  d.Name = "Preview";
  d.Title = "Page preview";
  d.ClientHeight = 419;
  d.ClientWidth = 600;
  const std::string window = "-2147483643";
  d.Controls = {
      MakeControlDef(KindShape, 0, 0, 120, 600, {"0", window, window}),
      MakeControlDef(KindImage, 12, 12, 64, 64, {"picture.bmp", "0", "1", "0"}),
      MakeControlDef(KindLabel, 90, 14, 24, 400, {"Welcome to the Preview Setup", "Tahoma|12|8388608|1|0|", "1"}),
      MakeControlDef(KindLabel, 90, 42, 30, 480,
                     {"This long text wraps at the label's right edge and shows the shape behind it, as every "
                      "transparent label does.",
                      Font8, "1"}),
      MakeControlDef(KindCheckBox, 90, 80, 17, 180, {"Check box over the shape", Font8, "0", "1", "0"}),
      MakeControlDef(KindRadioBox, 290, 80, 17, 180, {"Radio over the shape", Font8, "1", "A"}),
      MakeControlDef(KindLine, 0, 118, 4, 600, {}),
      MakeControlDef(KindFrame, 12, 128, 92, 180, {"Options", Font8}),
      MakeControlDef(KindRadioBox, 24, 148, 17, 150, {"First choice", Font8, "1", "1"}, {}, "%Choice%"),
      MakeControlDef(KindRadioBox, 24, 170, 17, 150, {"Second choice", Font8, "0", "2"}, {}, "%Choice%"),
      MakeControlDef(KindCheckBox, 24, 192, 17, 150, {"Check in the frame", Font8, "%X%", "yes", "no"}),
      MakeControlDef(KindTextBox, 210, 130, 21, 180, {"C:\\Program Files\\Preview", Font8, "0"}),
      MakeControlDef(KindTextBox, 210, 156, 21, 180, {"read-only text", Font8, "1"}),
      MakeControlDef(KindCombo, 210, 182, 21, 180, {Font8, "0", "Red|Green|Blue", "Green", "", "colours"}),
      MakeControlDef(KindCombo, 210, 208, 21, 180, {Font8, "1", "Small|Medium|Large", "Medium"}),
      MakeControlDef(KindList, 400, 130, 99, 188, {Font8, "Alpha|Beta|Gamma|Delta", "Beta", "", "letters", "1"}),
      MakeControlDef(KindLabel, 12, 226, 14, 180, {"Opaque label", Font8, "0"}),
      MakeControlDef(KindList, 12, 244, 62, 180, {Font8, "first line|second line|third line", "", "", "memo"}, {}, "",
                     RoleMemo),
      MakeControlDef(KindList, 210, 238, 68, 180, {Font8, "", "licence.txt"}, {}, "", RoleTextFile),
      MakeControlDef(KindList, 400, 236, 70, 188, {Font8}, {}, "%InstallDir%", RoleDirList),
      MakeControlDef(KindCombo, 400, 312, 21, 188, {Font8}, {}, "%InstallDir%", RoleDrive),
      MakeControlDef(KindProgress, 12, 314, 16, 180, {}),
      MakeControlDef(KindShape, 210, 312, 24, 28, {"0", "0", "16744448"}),
      MakeControlDef(KindShape, 240, 312, 24, 28, {"1", "0", "65280"}),
      MakeControlDef(KindShape, 270, 312, 24, 28, {"2", "0", "255"}),
      MakeControlDef(KindShape, 300, 312, 24, 28, {"3", "0", "16711680"}),
      MakeControlDef(KindShape, 330, 312, 24, 28, {"4", "0", "65535"}),
      MakeControlDef(KindShape, 360, 312, 24, 28, {"5", "0", "16711935"}),
      MakeControlDef(KindImageButton, 12, 338, 22, 22, {"button.bmp"}),
      MakeControlDef(KindImageButton, 40, 338, 22, 22, {"tiny.bmp"}),
      MakeControlDef(KindImage, 70, 336, 26, 40, {"picture.bmp", "1", "0", "1"}),
      MakeControlDef(KindImage, 116, 336, 26, 30, {"missing.bmp", "0", "0", "1"}),
      MakeControlDef(KindLabel, 156, 342, 14, 236, {"Events: none", Font8, "0"}, {}, "%Events%"),
      MakeControlDef(KindImage, 400, 340, 34, 188, {"picture.bmp", "1", "0", "0"}),
      MakeControlDef(KindCheckBox, 410, 348, 17, 160, {"Over a picture", Font8, "1", "1", "0"}),
      MakeControlDef(KindLine, 0, 378, 2, 600, {}),
      MakeControlDef(KindButton, 340, 388, 23, 75, {"< &Back", Font8, "0", "", "back"}),
      MakeControlDef(KindButton, 420, 388, 23, 75, {"&Next >", Font8, "2", "", "next"}),
      MakeControlDef(KindButton, 510, 388, 23, 75, {"Cancel", Font8, "1", "", "cancel"}),
  };
  return d;
}

// A bitmap file whose pixels a drawing function gives.
void WriteBitmap(const std::string& path, int width, int height, COLORREF (*pixel)(int x, int y, int w, int h)) {
  std::ofstream(path, std::ios::binary) << test::Bitmap(width, height, [=](int x, int y) {
    COLORREF c = pixel(x, y, width, height);
    return uint32_t(GetRValue(c)) << 16 | uint32_t(GetGValue(c)) << 8 | GetBValue(c);
  });
}

constexpr COLORREF Key = RGB(255, 0, 255);

// A blue disc with a yellow centre on the key colour, which transparency leaves out.
COLORREF Disc(int x, int y, int w, int h) {
  int dx = 2 * x - w, dy = 2 * y - h, r2 = dx * dx + dy * dy;
  if (r2 < w * w / 9) return RGB(255, 220, 0);
  return r2 < w * w ? RGB(30, 80, 200) : Key;
}

// A green arrow pointing right.
COLORREF Arrow(int x, int y, int, int h) {
  int half = h / 2;
  return x >= 3 && x - 3 <= half - std::abs(y - half) ? RGB(0, 140, 0) : Key;
}

COLORREF Red(int, int, int, int) { return RGB(200, 0, 0); }

std::string MakeFiles() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "vnt_pagepreview_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteBitmap(folder + "\\picture.bmp", 64, 64, Disc);
  WriteBitmap(folder + "\\button.bmp", 16, 16, Arrow);
  WriteBitmap(folder + "\\tiny.bmp", 3, 3, Red);
  std::ofstream(folder + "\\licence.txt", std::ios::binary)
      << "Licence agreement\r\n\r\nRead it at http://www.example.com/licence before you go on.\r\n"
         "The product is given as it is.\r\n";
  return folder;
}

void RemoveFiles(const std::string& folder) {
  for (const char* name : {"picture.bmp", "button.bmp", "tiny.bmp", "licence.txt"})
    DeleteFileA((folder + "\\" + name).c_str());
  RemoveDirectoryA(folder.c_str());
}

class TPreviewWindow : public TWindow {
protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return TWindow::HandleMessage(msg, wParam, lParam);
  }
};

class TPanel : public TWindow {};

bool LoadDialog(int argc, char** argv, TSetupDialog& dialog) {
  if (argc < 2) {
    dialog = PreviewDialog();
    return true;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) return false;
  std::stringstream bytes;
  bytes << in.rdbuf();
  TMemoryStream stream(bytes.str());
  try {
    TDialogSection section = ReadDialogSection(stream);
    const TSetupDialog* found = FindDialog(section.Dialogs, argc > 2 ? argv[2] : section.FirstPage);
    if (!found) return false;
    dialog = *found;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--save") {
    TMemoryStream section;
    WriteDialogSection(section, {PreviewDialog()});
    std::ofstream out(argv[2], std::ios::binary);
    out.write(section.Bytes().data(), std::streamsize(section.Bytes().size()));
    return out ? 0 : 1;
  }
  TSetupDialog dialog;
  if (!LoadDialog(argc, argv, dialog)) {
    std::fprintf(stderr, "pagepreview: no dialog to show in %s\n", argc > 1 ? argv[1] : "");
    return 2;
  }
  std::string folder = MakeFiles();
  TFontRecord setupFont{"Tahoma", 8, int32_t(0x80000008), 0, 1};

  TWindow::RegisterWindowClass(PreviewClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  TWindow::RegisterWindowClass(PanelClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, dialog.ClientWidth, dialog.ClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  TPreviewWindow form;
  TPanel panel;
  if (!form.CreateWindowOf(PreviewClass, style, 0, nullptr, dialog.Title, 40, 40, frame.right - frame.left,
                           frame.bottom - frame.top) ||
      !panel.CreateWindowOf(PanelClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, form.Handle(),
                            "", 0, 0, dialog.ClientWidth, dialog.ClientHeight))
    return 1;

  TPageControls controls;
  TVNControl* events = nullptr;
  auto show = [&](TVNControl& c, const std::string& value) {
    if (events && &c != events) events->SetCaption(c.Name() + ": " + value);
  };
  TBuildCallbacks callbacks;
  callbacks.ResolveImageFile = [&](const std::string& name) { return folder + "\\" + name; };
  callbacks.ControlEvent = [&](TVNControl& c) { show(c, c.Value()); };
  callbacks.ControlCreated = [&](TVNControl& c) {
    if (c.Binding() == "%Events%") events = &c;
    if (auto* license = dynamic_cast<TVNLicense*>(&c)) license->LoadFile(folder + "\\" + c.Definition().P[2]);
  };
  bool built = BuildControls(CleanDialogName(dialog.Name), panel.Handle(), dialog.Controls, callbacks, setupFont,
                             false, false, controls);
  TVNDirList* dirs = nullptr;
  TVNDriveCombo* drives = nullptr;
  for (auto& c : controls) {
    if (auto* d = dynamic_cast<TVNDirList*>(c.get())) dirs = d;
    if (auto* d = dynamic_cast<TVNDriveCombo*>(c.get())) drives = d;
  }
  if (dirs) {
    dirs->SetDirectory(folder);
    dirs->SetDriveCombo(drives);
    dirs->OnChange = [&](TVNDirList& d) { show(d, d.Directory()); };
  }
  if (drives) drives->OnChange = [&](TVNDriveCombo& d) { show(d, d.Value()); };
  if (!built) std::fprintf(stderr, "pagepreview: the page was built only in part\n");

  ShowWindow(form.Handle(), SW_SHOW);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  controls.clear();
  RemoveFiles(folder);
  return built ? 0 : 3;
}
