#include "ui/win32/controls/VNDriveDir.h"

#include <shellapi.h>

#include <algorithm>

#include "package/VarList.h"
#include "platform/win32/ScreenDpi.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

constexpr int IndentStep = 8;  // at 96 DPI

// The small icons' side on this screen.
int IconSize() { return Scaled(16); }

int ItemHeight(HFONT font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return std::max<int>(IconSize(), tm.tmHeight) + 2;
}

// One row: selection colours, the icon at the indent, then the text.
void DrawIconRow(const DRAWITEMSTRUCT& item, HICON icon, const std::string& text, int indent) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  bool selected = item.itemState & ODS_SELECTED;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  int size = IconSize();
  int x = r.left + Scaled(2 + indent * IndentStep);
  if (icon) DrawIconEx(dc, x, r.top + (r.bottom - r.top - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
  RECT textRect{x + size + Scaled(4), r.top, r.right, r.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextA(dc, text.c_str(), int(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

std::vector<std::string> Subfolders(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  std::string pattern = dir + (dir.back() == '\\' ? "*" : "\\*");
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    bool folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    bool hidden = found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
    if (folder && !hidden && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string DriveRoot(char letter) { return std::string(1, letter) + ":\\"; }

char DriveOf(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' ? FoldCase(path[0]) : 0;
}

std::string DriveText(char letter) {
  std::string root = DriveRoot(letter), text = std::string(1, letter) + ":";
  UINT type = GetDriveTypeA(root.c_str());
  // Removable and optical drives are not asked: an empty one would wait or prompt.
  if (type != DRIVE_FIXED && type != DRIVE_REMOTE && type != DRIVE_RAMDISK) return text;
  char label[MAX_PATH + 1] = "";
  if (GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0) && *label)
    text += std::string(" [") + label + "]";
  return text;
}

}  // namespace

HICON TShellIcons::Get(const std::string& path, bool useAttributes, bool open) {
  SHFILEINFOA info{};
  UINT flags = SHGFI_ICON | SHGFI_SMALLICON | (useAttributes ? SHGFI_USEFILEATTRIBUTES : 0) | (open ? SHGFI_OPENICON : 0);
  if (!SHGetFileInfoA(path.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags) || !info.hIcon) return nullptr;
  Icons.push_back(info.hIcon);
  return info.hIcon;
}

void TShellIcons::Clear() {
  for (HICON icon : Icons) DestroyIcon(icon);
  Icons.clear();
}

std::string DriveDirectory(char letter) {
  char path[MAX_PATH] = "";
  std::string drive = std::string(1, letter) + ":";
  DWORD n = GetFullPathNameA(drive.c_str(), sizeof path, path, nullptr);
  std::string dir = n > 0 && n < sizeof path ? NormalDirectory(path) : "";
  return !dir.empty() && FolderExists(dir) ? dir : DriveRoot(letter);
}

TVNDirList::~TVNDirList() { SetDriveCombo(nullptr); }

void TVNDirList::SetDriveCombo(TVNDriveCombo* combo) {
  if (Drives == combo) return;
  if (Drives) Drives->List = nullptr;
  Drives = combo;
  if (combo) {
    if (combo->List) combo->List->Drives = nullptr;
    combo->List = this;
  }
}

void TVNDirList::AfterCreate() {
  if (Dir.empty()) {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    Dir = NormalDirectory(current);
  }
  SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight(FontHandle()));
  Fill();
}

void TVNDirList::SetFont(const TFontRecord& font) {
  TVNControl::SetFont(font);
  if (Handle()) SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight(FontHandle()));
}

void TVNDirList::Fill() {
  Shown = Dir.empty() ? std::vector<TDirEntry>{} : DirectoryEntries(Dir, Subfolders(Dir));
  if (!Handle()) return;
  SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
  for (const auto& entry : Shown) SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Text.c_str()));
  SendMessageA(Handle(), LB_SETCURSEL, WPARAM(CurrentDirectoryEntry(Shown)), 0);
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool TVNDirList::SetDirectory(const std::string& path) {
  std::string dir = NormalDirectory(path);
  if (dir.empty() || !FolderExists(dir)) return false;
  bool changed = CompareTextIgnoringCase(dir, Dir) != 0;
  Dir = dir;
  Fill();
  if (Drives && DriveOf(dir) && Drives->Drive() != DriveOf(dir)) Drives->SetDrive(DriveOf(dir));
  if (changed && OnChange) OnChange(*this);
  return true;
}

void TVNDirList::OpenEntry(int index) {
  if (index >= 0 && index < int(Shown.size())) SetDirectory(Shown[size_t(index)].Path);
}

LRESULT TVNDirList::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
    OpenEntry(int(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)));
    return 0;
  }
  return TVNControl::HandleMessage(msg, wParam, lParam);
}

void TVNDirList::Command(WORD code) {
  if (code == LBN_DBLCLK) OpenEntry(int(SendMessageA(Handle(), LB_GETCURSEL, 0, 0)));
}

void TVNDirList::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == UINT(-1) || item.itemID >= Shown.size()) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  const TDirEntry& entry = Shown[item.itemID];
  HICON icon = item.itemID == 0 ? Icons.Get(entry.Path, false) : Icons.Get("folder", true, entry.Open);
  DrawIconRow(item, icon, entry.Text, entry.Indent);
  Icons.Clear();  // fetched per row: a few per paint, nothing kept
}

TVNDriveCombo::~TVNDriveCombo() {
  if (List) List->Drives = nullptr;
}

void TVNDriveCombo::SetDirList(TVNDirList* list) {
  if (list) list->SetDriveCombo(this);
  else if (List) List->SetDriveCombo(nullptr);
}

void TVNDriveCombo::AfterCreate() {
  if (!Current) {
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    Current = Remembered = DriveOf(current);
  }
  SendMessageA(Handle(), CB_SETITEMHEIGHT, WPARAM(-1), ItemHeight(FontHandle()));
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, ItemHeight(FontHandle()));
  Refresh();
}

void TVNDriveCombo::SetFont(const TFontRecord& font) {
  TVNControl::SetFont(font);
  if (!Handle()) return;
  SendMessageA(Handle(), CB_SETITEMHEIGHT, WPARAM(-1), ItemHeight(FontHandle()));
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, ItemHeight(FontHandle()));
}

void TVNDriveCombo::Refresh() {
  Letters.clear();
  ItemIcons.clear();
  Icons.Clear();
  if (!Handle()) return;
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(mask & (1u << i))) continue;
    char letter = char('A' + i);
    Letters.push_back(letter);
    ItemIcons.push_back(Icons.Get(DriveRoot(letter), false));
    SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DriveText(letter).c_str()));
  }
  SelectCurrent();
}

void TVNDriveCombo::SelectCurrent() {
  auto it = std::find(Letters.begin(), Letters.end(), Current);
  SendMessageA(Handle(), CB_SETCURSEL, it == Letters.end() ? WPARAM(-1) : WPARAM(it - Letters.begin()), 0);
}

bool TVNDriveCombo::SetDrive(char letter) {
  letter = FoldCase(letter);
  if (std::find(Letters.begin(), Letters.end(), letter) == Letters.end()) return false;
  Current = letter;
  SelectCurrent();
  if (List && DriveOf(List->Directory()) != letter) List->SetDirectory(DriveDirectory(letter));
  return true;
}

void TVNDriveCombo::Command(WORD code) {
  if (code != CBN_SELCHANGE) return;
  int index = int(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
  if (index < 0 || index >= int(Letters.size())) return;
  char letter = Letters[size_t(index)];
  if (!FolderExists(DriveRoot(letter))) {  // not ready: the pick is undone
    SelectCurrent();
    return;
  }
  SetDrive(letter);
  if (OnChange) OnChange(*this);
}

void TVNDriveCombo::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == UINT(-1) || item.itemID >= Letters.size()) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    return;
  }
  char text[MAX_PATH] = "";
  if (SendMessageA(Handle(), CB_GETLBTEXTLEN, item.itemID, 0) < LRESULT(sizeof text))
    SendMessageA(Handle(), CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
  DrawIconRow(item, ItemIcons[item.itemID], text, 0);
}

}  // namespace vnt
