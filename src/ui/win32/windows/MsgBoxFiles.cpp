#include "ui/win32/windows/MsgBoxFiles.h"

#include <shellapi.h>

#include "platform/win32/SystemInfo.h"

namespace vnt {

namespace {

constexpr char FormClass[] = "TfrmMsgBoxFiles";
constexpr int ClientWidth = 418, ClientHeight = 269;
constexpr int FileTop1 = 88, FileTop2 = 164, FileTextHeight = 32;

std::string LocalDate(const SYSTEMTIME& time) {
  char text[128] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, sizeof text);
  return text;
}

std::string LocalTime(const SYSTEMTIME& time) {
  char text[128] = "";
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text);
  return text;
}

std::string FileText(const TReplaceFileInfo& info) {
  return ReplaceFileText(info.Size, LocalDate(info.Time), LocalTime(info.Time), TSystemInfo::DecimalSeparator());
}

// Size and last change of a file; nothing when it cannot be read.
std::optional<TReplaceFileInfo> ExistingFileInfo(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  TReplaceFileInfo info;
  info.Size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  FILETIME local;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &info.Time))
    return std::nullopt;
  return info;
}

// The icon the shell shows for the file's type; null when it has none.
HICON FileTypeIcon(const std::string& path) {
  SHFILEINFOA info{};
  if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON)) return nullptr;
  return info.hIcon;
}

// The message is plain text: an ampersand in a file name is not a mnemonic.
std::string Literal(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

}  // namespace

TfrmMsgBoxFiles::TfrmMsgBoxFiles() = default;

TfrmMsgBoxFiles::~TfrmMsgBoxFiles() { Free(); }

int TfrmMsgBoxFiles::Execute(HWND owner, int mode, const std::string& existingFile,
                             const std::optional<TReplaceFileInfo>& newFile) {
  return Run(owner, mode, true, existingFile, newFile);
}

int TfrmMsgBoxFiles::ExecuteWithoutCancel(HWND owner, const std::string& existingFile) {
  return Run(owner, ReplaceOneFile, false, existingFile, std::nullopt);
}

int TfrmMsgBoxFiles::Run(HWND owner, int mode, bool withCancel, const std::string& existingFile,
                         const std::optional<TReplaceFileInfo>& newFile) {
  if (Handle()) return withCancel ? ModalCancel : ModalNo;  // already open
  WithCancel = withCancel;
  int result = WithCancel ? ModalCancel : ModalNo;
  if (Build(owner ? GetAncestor(owner, GA_ROOT) : nullptr)) {
    TReplaceLayout layout = ReplaceQuestionLayout(mode, withCancel, false);
    if (layout.ShowFile1) {
      FileIcon = FileTypeIcon(existingFile);
      layout = ReplaceQuestionLayout(mode, withCancel, FileIcon != nullptr);
      if (auto existing = ExistingFileInfo(existingFile)) lblFile1->SetCaption(FileText(*existing));
      if (newFile) lblFile2->SetCaption(FileText(*newFile));
    }
    Arrange(layout);
    CentreOnScreen();
    MessageBeep(MB_ICONASTERISK);
    int answer = ShowModal();
    if (answer == ModalYes || answer == ModalYesToAll || answer == ModalNo || answer == ModalNoToAll ||
        (answer == ModalCancel && WithCancel))
      result = answer;
  }
  Free();
  return result;
}

bool TfrmMsgBoxFiles::Build(HWND owner) {
  SIZE client = ScaledClientSize(ClientWidth, ClientHeight);
  if (!CreateForm(FormClass, owner, Texts.Caption, client.cx, client.cy)) return false;
  SetComponentName(Handle(), "frmMsgBoxFiles");
  HWND form = Handle();
  const TFontRecord& f = FormFont;
  imgInfo = MakeIconPicture(form, "imgInfo", 15, 16, 32);
  imgFile1 = MakeIconPicture(form, "imgFile1", 76, FileTop1, 32);
  imgFile2 = MakeIconPicture(form, "imgFile2", 76, FileTop2, 32);
  lblMsg = MakeControl<TVNLabel>(form, "lblMsg", f, 59, 12, 349, 41);
  lblExistent = MakeLabel(form, "lblExistent", f, Texts.Existent, 59, 64);
  lblFile1 = MakeControl<TVNLabel>(form, "lblFile1", f, 120, FileTop1, 285, FileTextHeight);
  lblDestination = MakeLabel(form, "lblDestination", f, Texts.Destination, 59, 140);
  lblFile2 = MakeControl<TVNLabel>(form, "lblFile2", f, 120, FileTop2, 285, FileTextHeight);
  // Created in tab order; places follow with the layout.
  btnYes = MakeButton(form, "btnYes", f, Texts.Yes, 0, 0, 0, 23);
  btnYesToAll = MakeButton(form, "btnYesToAll", f, Texts.YesToAll, 0, 0, 0, 23);
  btnNo = MakeButton(form, "btnNo", f, Texts.No, 0, 0, 2, 23);  // default: Enter
  btnNoToAll = MakeButton(form, "btnNoToAll", f, Texts.NoToAll, 0, 0, 0, 23);
  btnCancel = MakeButton(form, "btnCancel", f, Texts.Cancel, 0, 0, 1, 23);  // cancel: Esc
  if (!imgInfo || !imgFile1 || !imgFile2 || !lblMsg || !lblExistent || !lblFile1 ||
      !lblDestination || !lblFile2 || !btnYes || !btnYesToAll || !btnNo || !btnNoToAll || !btnCancel)
    return false;
  imgInfo->SetIcon(LoadIcon(nullptr, IDI_QUESTION));  // the system's size, which follows its DPI
  imgInfo->SetVisible(true);
  lblMsg->SetCaption(Literal(Texts.Message));
  lblFile1->SetCaption("");
  lblFile2->SetCaption("");
  const std::pair<TVNButton*, int> answers[] = {
      {btnYes.get(), ModalYes}, {btnYesToAll.get(), ModalYesToAll}, {btnNo.get(), ModalNo},
      {btnNoToAll.get(), ModalNoToAll}, {btnCancel.get(), ModalCancel}};
  for (auto [button, answer] : answers) button->OnEvent = [this, answer = answer](TVNControl&) { EndModal(answer); };
  return true;
}

void TfrmMsgBoxFiles::Arrange(const TReplaceLayout& layout) {
  // The layout is in 96-DPI pixels, as the controls' first places were.
  SIZE client = ScaledClientSize(ClientWidth, layout.ClientHeight);
  SetClientSize(client.cx, client.cy);
  TVNButton* buttons[] = {btnYes.get(), btnYesToAll.get(), btnNo.get(), btnNoToAll.get(), btnCancel.get()};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    bool shown = i < layout.ButtonLefts.size();
    if (shown) buttons[i]->SetBounds(ScaledBounds(layout.ButtonLefts[i], layout.ButtonTop, 75, 23));
    buttons[i]->SetVisible(shown);
  }
  lblFile1->SetBounds(ScaledBounds(layout.FileTextLeft, FileTop1, layout.FileTextWidth, FileTextHeight));
  lblFile2->SetBounds(ScaledBounds(layout.FileTextLeft, FileTop2, layout.FileTextWidth, FileTextHeight));
  imgFile1->SetIcon(FileIcon);
  imgFile2->SetIcon(FileIcon);
  imgFile1->SetVisible(layout.ShowIcons);
  imgFile2->SetVisible(layout.ShowIcons && layout.ShowFile2);
  lblMsg->SetVisible(true);
  lblExistent->SetVisible(layout.ShowFile1);
  lblFile1->SetVisible(layout.ShowFile1);
  lblDestination->SetVisible(layout.ShowFile2);
  lblFile2->SetVisible(layout.ShowFile2);
}

void TfrmMsgBoxFiles::Free() {
  btnCancel.reset();
  btnNoToAll.reset();
  btnNo.reset();
  btnYesToAll.reset();
  btnYes.reset();
  lblFile2.reset();
  lblDestination.reset();
  lblFile1.reset();
  lblExistent.reset();
  lblMsg.reset();
  imgFile2.reset();
  imgFile1.reset();
  imgInfo.reset();
  if (Handle()) ReleaseComponentName(Handle());
  TWindow::Destroy();
  if (FileIcon) DestroyIcon(FileIcon);
  FileIcon = nullptr;
}

LRESULT TfrmMsgBoxFiles::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Without Cancel, closing the window keeps the file.
  if (msg == WM_CLOSE && !WithCancel) {
    EndModal(ModalNo);
    return 0;
  }
  return TModalForm::HandleMessage(msg, wParam, lParam);
}

bool TfrmMsgBoxFiles::DialogKey(WPARAM key) { return RouteDialogKey(Handle(), key); }

}  // namespace vnt
