#include "ui/win32/windows/DirectorySel.h"

#include "ui/win32/windows/FixedForms.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmDirectorySel";
constexpr int ClientWidth = 281, ClientHeight = 277;
constexpr char InvalidDirectoryText[] = "Invalid or not existent directory.";

}  // namespace

TfrmDirectorySel::TfrmDirectorySel(const TFontRecord& font) : FormFont(font) {}

TfrmDirectorySel::~TfrmDirectorySel() = default;

bool TfrmDirectorySel::Build(HWND owner) {
  SIZE client = ScaledClientSize(ClientWidth, ClientHeight);
  if (!CreateForm(FormClass, owner, Texts.Caption, client.cx, client.cy)) return false;
  SetComponentName(Handle(), "frmDirectorySel");
  HWND form = Handle();
  const TFontRecord& f = FormFont;
  // Created in tab order.
  lblDirectory = MakeLabel(form, "lblDirectory", f, Texts.Directory, 12, 12);
  txtDirectory = MakeControl<TVNEdit>(form, "txtDirectory", f, 12, 28, 257, 21);
  lblDirectories = MakeLabel(form, "lblDirectories", f, Texts.Directories, 12, 60);
  lstDirectories = MakeControl<TVNDirList>(form, "lstDirectories", f, 12, 76, 257, 97);
  lblDrives = MakeLabel(form, "lblDrives", f, Texts.Drives, 12, 188);
  cmbDrives = MakeControl<TVNDriveCombo>(form, "cmbDrives", f, 12, 204, 257, 21);
  btnOK = MakeButton(form, "btnOK", f, Texts.OK, 116, 244, 2);              // default: Enter
  btnCancel = MakeButton(form, "btnCancel", f, Texts.Cancel, 196, 244, 1);  // cancel: Esc
  if (!lblDirectory || !txtDirectory || !lblDirectories || !lstDirectories || !lblDrives || !cmbDrives || !btnOK ||
      !btnCancel)
    return false;
  txtDirectory->SetCaption("");
  cmbDrives->SetDirList(lstDirectories.get());
  lstDirectories->OnChange = [this](TVNDirList& list) { txtDirectory->SetCaption(list.Directory()); };
  btnOK->OnEvent = [this](TVNControl&) { btnOKClick(); };
  btnCancel->OnEvent = [this](TVNControl&) { EndModal(ModalCancel); };
  for (TVNControl* c : std::initializer_list<TVNControl*>{lblDirectory.get(), txtDirectory.get(), lblDirectories.get(),
                                                          lstDirectories.get(), lblDrives.get(), cmbDrives.get(),
                                                          btnOK.get(), btnCancel.get()})
    c->SetVisible(true);
  return true;
}

void TfrmDirectorySel::Open(HWND owner, const std::string& startFolder) {
  if (!startFolder.empty()) {
    if (lstDirectories->SetDirectory(startFolder)) {
      txtDirectory->SetCaption(startFolder);
      return;
    }
    MessageBoxA(owner, InvalidDirectoryText, Texts.MessageCaption.c_str(),
                MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
  }
  txtDirectory->SetCaption(lstDirectories->Directory());
}

int TfrmDirectorySel::Execute(HWND owner, const std::string& startFolder, const std::optional<std::string>& editText) {
  if (Handle()) return ModalCancel;  // already open
  owner = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
  bool built = Build(owner);
  int result = ModalCancel;
  if (built) {
    Open(owner, startFolder);
    if (editText) txtDirectory->SetCaption(*editText);
    SendMessageA(txtDirectory->Handle(), EM_SETSEL, 0, -1);
    result = ShowModal() == ModalOk ? ModalOk : ModalCancel;
  }
  // The window lives for one run only: the next may have another owner.
  btnCancel.reset();
  btnOK.reset();
  cmbDrives.reset();
  lblDrives.reset();
  lstDirectories.reset();
  lblDirectories.reset();
  txtDirectory.reset();
  lblDirectory.reset();
  TWindow::Destroy();
  return result;
}

void TfrmDirectorySel::btnOKClick() {
  std::string text = txtDirectory->Caption();
  // A blank answer names no folder: the window stays for a real one.
  if (text.find_first_not_of(" \t") == std::string::npos) {
    MessageBeep(MB_OK);
    SetFocus(txtDirectory->Handle());
    return;
  }
  Chosen = text;
  EndModal(ModalOk);
}

bool TfrmDirectorySel::DialogKey(WPARAM key) { return RouteDialogKey(Handle(), key); }

}  // namespace vnt
