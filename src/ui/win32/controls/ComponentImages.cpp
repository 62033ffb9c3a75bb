#include "ui/win32/controls/ComponentImages.h"

#include <shellapi.h>

#include "package/SetupStrings.h"
#include "platform/win32/ScreenDpi.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

HICON SmallFolderIcon() {
  SHFILEINFOA info{};
  if (SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                     SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
    return info.hIcon;
  return nullptr;
}

}  // namespace

TComponentImages::TComponentImages() {
  List = ImageList_Create(Size(), Size(), ILC_COLOR24 | ILC_MASK, 4, 4);
  if (!List) return;
  HICON folder = SmallFolderIcon();
  ImageList_AddIcon(List, folder ? folder : LoadIconA(nullptr, IDI_APPLICATION));
  if (folder) DestroyIcon(folder);
}

TComponentImages::~TComponentImages() {
  if (List) ImageList_Destroy(List);
}

void TComponentImages::Load(const std::vector<TInstallerComponent>& components, TSetupVariables& vars,
                            const std::string& folder) {
  if (!List || folder.empty()) return;
  for (const auto& c : components) {
    if (c.IconFile.empty()) continue;
    std::string path = folder + "\\" + vars.ExpandText(c.IconFile);
    if (FileExists(path) && AddPicture(path)) Indexes.emplace_back(c.Name, ImageList_GetImageCount(List) - 1);
  }
}

// Pictures of another size are scaled to the list's: one picture, one image.
bool TComponentImages::AddPicture(const std::string& path) {
  auto* picture = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!picture) return false;
  BITMAP info{};
  GetObjectA(picture, sizeof info, &info);
  HDC screen = GetDC(nullptr);
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, Size(), Size());
  bool added = false;
  if (from && to && scaled && info.bmWidth > 0 && info.bmHeight > 0) {
    HGDIOBJ oldFrom = SelectObject(from, picture), oldTo = SelectObject(to, scaled);
    COLORREF mask = GetPixel(from, 0, info.bmHeight - 1);
    SetStretchBltMode(to, COLORONCOLOR);  // no blending: the mask colour stays exact
    StretchBlt(to, 0, 0, Size(), Size(), from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
    added = ImageList_AddMasked(List, scaled, mask) >= 0;
  }
  if (scaled) DeleteObject(scaled);
  if (to) DeleteDC(to);
  if (from) DeleteDC(from);
  ReleaseDC(nullptr, screen);
  DeleteObject(picture);
  return added;
}

int32_t TComponentImages::IndexOf(const std::string& component) const {
  for (const auto& [name, index] : Indexes)
    if (SameTextIgnoringCase(name, component)) return index;
  return -1;
}

int TComponentImages::Size() { return Scaled(16); }

}  // namespace vnt
