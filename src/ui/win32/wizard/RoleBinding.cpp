#include "ui/win32/wizard/RoleBinding.h"

#include <shellapi.h>

#include "package/SetupQueries.h"
#include "package/SystemRules.h"
#include "platform/win32/ScreenDpi.h"
#include "ui/BindingRules.h"
#include "ui/win32/controls/VNComponents.h"

namespace vnt {

namespace {

std::vector<std::string> SubfolderNames(const std::string& folder) {
  std::vector<std::string> names;
  if (folder.empty()) return names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((FolderWithBackslash(folder) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void ProgramGroupPicked(TVNControl& control, TBinding& binding) {
  if (binding.Refreshing) return;
  auto& list = static_cast<TVNListBox&>(control);
  if (list.ItemIndex() >= 0) binding.Vars().SetVariable("%ProgramGroup%", list.Value());
  if (binding.RunControlScript) binding.RunControlScript(list);
}

// A name set again is loaded again: the file may have changed since.
void ShowPictureFile(TVNPictureControl& picture, const std::string& name) {
  if (picture.File() == name)
    picture.Reload();
  else
    picture.SetFile(name);
}

}  // namespace

void SetValueQuietly(TVNControl& control, const std::string& value) {
  auto event = std::move(control.OnEvent);
  control.OnEvent = nullptr;
  control.SetValue(value);
  control.OnEvent = std::move(event);
}

void UpdateSizeLabel(TVNControl& label, TBinding& binding) {
  std::string text;
  if (label.Role() == RoleRequiredSpace) {
    // What the install drive must hold, beside its free space: files going elsewhere (the
    // uninstaller in the Windows folder on another drive) need room there, not here.
    TSetupQueries queries(binding.State.Description, binding.Vars());
    char letter = DriveOfPath(binding.Vars().ExpandText("%InstallDir%"));
    uint64_t bytes = letter ? queries.BytesByDrive()[letter] : queries.SelectedSize();
    text = RequiredSpaceText(bytes, TSystemInfo::DecimalSeparator());
  } else {
    // An unreadable drive shows 0 here; the installation's own check reports it.
    char letter = DriveLetterOf(binding.Vars().ExpandText("%InstallDir%"));
    std::optional<uint64_t> free = letter ? TSystemInfo::DiskFreeBytes(std::string(1, letter)) : std::nullopt;
    text = FreeSpaceText(free, TSystemInfo::DecimalSeparator());
  }
  if (label.Caption() != text) label.SetCaption(text);
}

void UpdateProgramGroupList(TVNListBox& list, TBinding& binding, bool initial) {
  bool common = binding.Vars().ExpandText("%COMMONSHELLFOLDERS%") == "1";
  list.OnEvent = [&binding](TVNControl& c) { ProgramGroupPicked(c, binding); };
  if (!initial && list.ProgramGroupsCommon == common) return;
  list.ProgramGroupsCommon = common;
  TListLook look;
  look.Images = binding.Images ? binding.Images->Handle() : nullptr;
  look.CustomDraw = look.ShowImages = look.Sorted = true;
  list.SetLook(look);
  std::vector<std::string> names = SubfolderNames(binding.State.Info.ShellFolder(ShellPrograms, common));
  SortItems(names);
  list.SetItems(names);
  // The group already chosen shows as picked when it is one of them.
  SetValueQuietly(list, binding.Vars().ExpandText("%ProgramGroup%"));
}

void LoadViewerText(TVNLicense& viewer, TBinding& binding) {
  TSetupVariables& vars = binding.Vars();
  std::string path;
  if (viewer.Role() == RoleAgreement) {
    const std::string& name = binding.State.Description.Properties.AgreementFile;
    if (!name.empty() && !binding.State.TempSetupDir.empty())
      path = binding.State.TempSetupDir + "\\" + vars.ExpandText(name);
  } else if (viewer.Role() == RoleTextFile) {
    const std::string& name = viewer.Definition().P[2];
    if (!name.empty()) path = vars.ExpandText(name);
  }
  if (path.empty())
    viewer.SetText("");
  else
    viewer.LoadFile(path);  // a missing file leaves it empty
}

void ShowNotDeleted(TVNNotDeletedList& list, const TBinding& binding) {
  // Set, not appended: the page is refreshed this way each time it is shown.
  list.SetLines(binding.State.NotDeleted);
}

void UpdatePicture(TVNPictureControl& picture, TBinding& binding) {
  switch (picture.Role()) {
    case RoleNone: ShowPictureFile(picture, picture.Definition().P[0]); break;
    case RoleProgramIcon: picture.SetBitmap(ProgramIconBitmap()); break;
    case RoleSetupPicture:
      if (dynamic_cast<TVNImage*>(&picture))
        ShowPictureFile(picture, binding.State.Description.Properties.SetupPicture);
      break;
    default: break;
  }
}

TBitmapHandle ProgramIconBitmap() {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  HICON own = n > 0 && n < sizeof path ? ExtractIconA(GetModuleHandleA(nullptr), path, 0) : nullptr;
  if (own == reinterpret_cast<HICON>(1)) own = nullptr;  // "not an executable"
  HICON icon = own ? own : LoadIconA(nullptr, IDI_APPLICATION);
  // The size a page's 32-pixel icon place has on this screen.
  SIZE size{Scaled(32), Scaled(32)};
  HDC screen = GetDC(nullptr);
  TBitmapHandle bitmap(CreateCompatibleBitmap(screen, size.cx, size.cy));
  HDC dc = CreateCompatibleDC(screen);
  if (bitmap && dc) {
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    RECT all{0, 0, size.cx, size.cy};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    DrawIconEx(dc, 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
  }
  if (dc) DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  if (own) DestroyIcon(own);
  return bitmap;
}

}  // namespace vnt
