#include "ui/win32/windows/NeedDisk.h"

#include "package/SystemRules.h"
#include "platform/win32/SystemServices.h"
#include "ui/AuxiliaryRules.h"
#include "ui/ControlRules.h"
#include "ui/win32/windows/DiskPicture.h"
#include "ui/win32/windows/FixedForms.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmNeedDisk";
constexpr int ClientWidth = 377, ClientHeight = 169;

}  // namespace

TfrmNeedDisk::TfrmNeedDisk(const TFontRecord& font) : FormFont(font) {}

TfrmNeedDisk::~TfrmNeedDisk() { Free(); }

bool TfrmNeedDisk::Build(HWND owner) {
  SIZE client = ScaledClientSize(ClientWidth, ClientHeight);
  if (!CreateForm(FormClass, owner, Texts.Caption, client.cx, client.cy)) return false;
  SetComponentName(Handle(), "frmNeedDisk");
  HWND form = Handle();
  const TFontRecord& f = FormFont;
  imgDisks = MakeControl<TVNImage>(form, "imgDisks", f, 8, 8, 48, 48);
  lblMsg = MakeControl<TVNLabel>(form, "lblMsg", f, 72, 8, 297, 72);
  lblPath = MakeLabel(form, "lblPath", f, Texts.PathLabel, 8, 80);
  txtPath = MakeControl<TVNEdit>(form, "txtPath", f, 8, 96, 281, 21);
  btnBrowse = MakeButton(form, "btnBrowse", f, Texts.Browse, 296, 95, 0);
  // Component names are atoms, which ignore case: spelt as the directory selection's.
  btnOk = MakeButton(form, "btnOK", f, Texts.OK, 216, 137, 2);              // default: Enter
  btnCancel = MakeButton(form, "btnCancel", f, Texts.Cancel, 296, 137, 1);  // cancel: Esc
  if (!imgDisks || !lblMsg || !lblPath || !txtPath || !btnBrowse || !btnOk || !btnCancel) return false;
  imgDisks->SetBitmap(DrawDiskPicture(Scaled(48), GetSysColor(COLOR_BTNFACE)));  // drawn at the screen's size
  lblMsg->SetCaption(Texts.Message);
  txtPath->SetReadOnly(true);
  btnOk->OnEvent = [this](TVNControl&) { btnOkClick(); };
  btnBrowse->OnEvent = [this](TVNControl&) { btnBrowseClick(); };
  btnCancel->OnEvent = [this](TVNControl&) { EndModal(ModalCancel); };
  for (TVNControl* c : std::initializer_list<TVNControl*>{imgDisks.get(), lblMsg.get(), lblPath.get(), txtPath.get(),
                                                          btnBrowse.get(), btnOk.get(), btnCancel.get()})
    c->SetVisible(true);
  return true;
}

void TfrmNeedDisk::Free() {
  btnCancel.reset();
  btnOk.reset();
  btnBrowse.reset();
  txtPath.reset();
  lblPath.reset();
  lblMsg.reset();
  imgDisks.reset();
  if (Handle()) ReleaseComponentName(Handle());
  TWindow::Destroy();
}

int TfrmNeedDisk::Execute(HWND owner, uint32_t disk, const std::string& folder, const std::string& programPath) {
  if (Handle()) return ModalCancel;  // already open
  Disk = disk;
  ProgramPath = programPath;
  int result = ModalCancel;
  if (Build(owner ? GetAncestor(owner, GA_ROOT) : nullptr)) {
    txtPath->SetCaption(WithFolderBackslash(folder));
    result = ShowModal() == ModalOk ? ModalOk : ModalCancel;
  }
  // The window lives for one question only: the next may have another owner.
  Free();
  return result;
}

void TfrmNeedDisk::btnOkClick() {
  std::string folder = WithFolderBackslash(txtPath->Caption());
  if (FileExists(NeedDiskVolumeFile(folder, ProgramPath, Disk))) {
    Chosen = folder;
    EndModal(ModalOk);
    return;
  }
  MessageBoxA(Handle(), Texts.NotFound.c_str(), Texts.MessageCaption.c_str(), MB_OK | MB_ICONERROR);
}

void TfrmNeedDisk::btnBrowseClick() {
  TfrmDirectorySel window(FormFont);
  window.Texts = Texts.DirectorySel;
  window.Texts.OK = Texts.OK;
  window.Texts.Cancel = Texts.Cancel;
  window.Texts.MessageCaption = Texts.MessageCaption;
  std::string shown = txtPath->Caption();
  std::string start = NearestExistingFolder(shown, FolderExists, SystemWindowsFolder());
  if (window.Execute(Handle(), start, shown) == ModalOk) txtPath->SetCaption(WithFolderBackslash(window.Directory()));
}

bool TfrmNeedDisk::DialogKey(WPARAM key) { return RouteDialogKey(Handle(), key); }

}  // namespace vnt
