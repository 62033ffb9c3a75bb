// Opens one of the setup's small fixed windows over a stand-in for the wizard, for the
// end-to-end tests and for looking at them.
//
// usage: auxwindows.exe RESULT [--language NAME] WINDOW [ARG...]
//   needdisk DISK FOLDER PROGRAM      the next disk prompt for the volumes of PROGRAM
//   replace MODE EXISTING             the replace question (mode 2: a new file of 1536
//                                     bytes dated 2021-03-04 10:20:30)
//   replace-nocancel EXISTING         its variant without Cancel
//   copying [KIND:VALUE:TEXT]...      the copying window after these progress calls; its
//                                     Cancel asks "Stop copying?", Yes ends the program
//   connect                           the device connection window, shown at once
// The stand-in window "Auxiliary windows test" (frmHarness) carries btnCloseRequest, which
// posts WM_CLOSE to the window under test, and btnDone, which ends a device connection.
// The setup state has two languages, English and Deutsch; --language picks one (English by
// default). RESULT gets "key=value" lines when the program ends: the modal result and the
// folder, or the copying window's bar and the number of Cancel calls, or what the
// connection window did. It is written under another name first and then renamed.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "package/SetupStrings.h"
#include "ui/win32/windows/AuxiliaryTexts.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FixedForms.h"

using namespace vnt;

namespace {

constexpr char HarnessClass[] = "TAuxHarness";

void German(TSetupMessages& m) {
  m[0] = "OK";
  m[1] = "Abbrechen";
  m[2] = "Ja";
  m[3] = "Nein";
  m[4] = "Ja, alle";
  m[5] = "Nein, keine";
  m[20] = "Die Daten der Diskette <disk> sind nicht im Pfad.";
  m[25] = "Die Datei <file> gibt es schon. Ersetzen?";
  m[46] = "Ordnerwahl";
  m[47] = "Ordner";
  m[48] = "Ordnerliste";
  m[49] = "Laufwerke";
  m[50] = "Naechste Diskette";
  m[51] = "Bitte Diskette <disk> von %SoftwareName% einlegen.";
  m[52] = "Pfad";
  m[57] = "Suchen";
  m[61] = "Verbinde %SoftwareName% mit dem Geraet...";
  m[67] = "Vorhandene Datei";
  m[68] = "Neue Datei";
}

// A state as start-up leaves it, with two message tables.
void PrepareState(TSetupState& state, const std::string& language) {
  TSetupDescription& d = state.Description;
  d.Properties.SoftwareName = "Tools & Co";
  d.Properties.SetupFont = {"Tahoma", 8, int32_t(0x80000008), 0, 1};
  TSetupLanguage english{"English", 0x409, 1, {DefaultMessages(), 0x409}};
  TSetupLanguage german{"Deutsch", 0x407, 0, {DefaultMessages(), 0x407}};
  German(german.Messages.Texts);
  d.Languages = {english, german};
  d.DefaultLanguageName = "English";
  state.ApplicationTitle = "Aux Test Setup";
  state.Vars = std::make_unique<TSetupVariables>(d, state.Builtins);
  state.Vars->InitVariables({}, "");
  state.Vars->SetVariable("%Language%", language);
  d.DeviceConnectionMessage = GetMessage(d, MsgDeviceConnecting, language);
}

class THarness : public TWindow {
public:
  bool Open() {
    RegisterWindowClass(HarnessClass, LoadCursor(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (!CreateWindowOf(HarnessClass, style, 0, nullptr, "Auxiliary windows test", 20, 20, 320, 110)) return false;
    SetComponentName(Handle(), "frmHarness");
    TFontRecord font{"Tahoma", 8, int32_t(0x80000008), 0, 1};
    btnCloseRequest = MakeButton(Handle(), "btnCloseRequest", font, "Close request", 12, 12, 0);
    btnDone = MakeButton(Handle(), "btnDone", font, "Done", 100, 12, 0);
    if (!btnCloseRequest || !btnDone) return false;
    btnCloseRequest->SetVisible(true);
    btnDone->SetVisible(true);
    ShowWindow(Handle(), SW_SHOW);
    UpdateWindow(Handle());
    return true;
  }
  std::unique_ptr<TVNButton> btnCloseRequest, btnDone;

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return TWindow::HandleMessage(msg, wParam, lParam);
  }
};

void RunLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::string ShowReplace(TSetupState& state, HWND owner, bool withCancel, int mode, const std::string& existing) {
  TfrmMsgBoxFiles window;
  window.Texts = MsgBoxFilesTexts(state, 25, existing.substr(existing.find_last_of('\\') + 1));
  TReplaceFileInfo newFile;
  newFile.Size = 1536;
  newFile.Time = SYSTEMTIME{2021, 3, 4, 4, 10, 20, 30, 0};
  int result = withCancel ? window.Execute(owner, mode, existing, newFile) : window.ExecuteWithoutCancel(owner, existing);
  return "result=" + std::to_string(result) + "\n";
}

std::string ShowNeedDisk(TSetupState& state, HWND owner, char** args, int count) {
  if (count < 3) return "error=needdisk DISK FOLDER PROGRAM\n";
  uint32_t disk = uint32_t(std::strtoul(args[0], nullptr, 10));
  TfrmNeedDisk window(state.Description.Properties.SetupFont);
  window.Texts = NeedDiskTexts(state, disk);
  int result = window.Execute(owner, disk, args[1], args[2]);
  return "result=" + std::to_string(result) + "\nfolder=" + window.Folder() + "\n";
}

std::string ShowCopying(TSetupState& state, THarness& harness, char** args, int count) {
  TfrmCopyingFiles window;
  if (!window.Create(harness.Handle())) return "error=no copying window\n";
  TCopyingFilesTexts texts = CopyingFilesTexts(state);
  window.SetCaption(texts.Caption);
  window.SetButtonCaption(texts.Cancel);
  window.SetFonts(state.Description.Properties.SetupFont);
  window.MoveTo(360, 40);
  for (int i = 0; i < count; ++i) {
    std::string call = args[i];
    size_t first = call.find(':'), second = call.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos) continue;
    window.Progress(std::atoi(call.substr(0, first).c_str()), call.substr(second + 1),
                    std::atoi(call.substr(first + 1, second - first - 1).c_str()));
  }
  int cancels = 0;
  std::ostringstream out;
  window.OnCancel = [&] {
    ++cancels;
    if (MessageBoxA(window.Handle(), "Stop copying?", "Aux Test Setup", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    HWND bar = nullptr;
    for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (ComponentName(child) == "pbProgress") bar = child;
    out << "cancels=" << cancels << "\nposition=" << SendMessageA(bar, PBM_GETPOS, 0, 0)
        << "\nmaximum=" << SendMessageA(bar, PBM_GETRANGE, FALSE, 0) << "\n";
    DestroyWindow(harness.Handle());
  };
  harness.btnCloseRequest->OnEvent = [&](TVNControl&) { PostMessageA(window.Handle(), WM_CLOSE, 0, 0); };
  window.Show();
  out << "activated=" << (GetActiveWindow() == window.Handle()) << "\n";
  RunLoop();
  return out.str();
}

std::string CursorName() {
  HCURSOR cursor = GetCursor();
  if (cursor == LoadCursor(nullptr, IDC_WAIT)) return "wait";
  if (cursor == LoadCursor(nullptr, IDC_ARROW)) return "arrow";
  return "other";
}

std::string ShowConnection(TSetupState& state, THarness& harness) {
  TDeviceConnectionWindow connecting([&state] { return StartCEConnectionTexts(state); });
  bool cancelAsked = false;
  connecting.OnCancel = [&cancelAsked] { cancelAsked = true; };
  std::function<void(bool)> callback = [&connecting](bool done) { connecting(done); };
  SetActiveWindow(harness.Handle());
  callback(false);
  HWND window = connecting.Handle();
  std::ostringstream out;
  out << "shown=" << (window && IsWindowVisible(window)) << "\nowner_is_harness="
      << (window && GetWindow(window, GW_OWNER) == harness.Handle())
      << "\nactivated=" << (window && GetActiveWindow() == window) << "\ncursor_while=" << CursorName() << "\n";
  harness.btnCloseRequest->OnEvent = [&](TVNControl&) { PostMessageA(window, WM_CLOSE, 0, 0); };
  harness.btnDone->OnEvent = [&](TVNControl&) {
    out << "alive_at_done=" << IsWindow(window) << "\ncancel_asked=" << cancelAsked << "\n";
    callback(true);
    out << "freed=" << !IsWindow(window) << "\ncursor_after=" << CursorName() << "\n";
    DestroyWindow(harness.Handle());
  };
  RunLoop();
  return out.str();
}

void WriteResult(const std::string& path, const std::string& text) {
  std::string part = path + ".part";
  { std::ofstream(part, std::ios::binary) << text; }
  MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: auxwindows RESULT [--language NAME] WINDOW [ARG...]\n");
    return 2;
  }
  std::string result = argv[1];
  int at = 2;
  std::string language = "English";
  if (std::string(argv[at]) == "--language" && at + 2 < argc) {
    language = argv[at + 1];
    at += 2;
  }
  std::string window = argv[at++];
  char** args = argv + at;
  int count = argc - at;

  TSetupState state;
  PrepareState(state, language);
  THarness harness;
  if (!harness.Open()) return 1;
  std::string text;
  if (window == "needdisk") text = ShowNeedDisk(state, harness.Handle(), args, count);
  else if (window == "replace" && count >= 2) text = ShowReplace(state, harness.Handle(), true, std::atoi(args[0]), args[1]);
  else if (window == "replace-nocancel" && count >= 1) text = ShowReplace(state, harness.Handle(), false, 1, args[0]);
  else if (window == "copying") text = ShowCopying(state, harness, args, count);
  else if (window == "connect") text = ShowConnection(state, harness);
  else text = "error=unknown window " + window + "\n";
  WriteResult(result, text);
  return text.rfind("error=", 0) == 0 ? 2 : 0;
}
