#include "vntbuild/project/ProjectNames.h"

#include <algorithm>
#include <cctype>

#include "package/DialogEditorFuncs.h"

namespace vnt {

const TNameTable& OverwriteModeNames() {
  static const TNameTable t = {{"ask", 0},        {"askMustReplace", 1},  {"never", 2},
                               {"existingOnly", 3}, {"ifNewerVersion", 4}, {"ifNewerDate", 5},
                               {"always", 6},     {"askExistingOnly", 7}, {"askByVersion", 8},
                               {"askByDate", 9}};
  return t;
}

const TNameTable& RegRootNames() {
  static const TNameTable t = {{"HKCR", 0}, {"HKCU", 1}, {"HKLM", 2}};
  return t;
}

const TNameTable& RegTypeNames() {
  static const TNameTable t = {{"string", 0}, {"number", 1}, {"binary", 2}, {"multiString", 3}};
  return t;
}

const TNameTable& ShowCommandNames() {
  static const TNameTable t = {{"hide", 0},     {"normal", 1},      {"minimized", 2}, {"maximized", 3},
                               {"noActivate", 4}, {"show", 5},        {"minimize", 6},  {"minNoActive", 7},
                               {"showNA", 8},   {"restore", 9},     {"default", 10}};
  return t;
}

const TNameTable& ScreenClassNames() {
  static const TNameTable t = {{"none", 0},    {"640x480", 1}, {"720x480", 2},
                               {"720x576", 3}, {"800x600", 4}, {"1024x768", 5}};
  return t;
}

const TNameTable& BackgroundModeNames() {
  static const TNameTable t = {{"stretch", 0}, {"tile", 1}, {"center", 2}};
  return t;
}

const TNameTable& GradientNames() {
  static const TNameTable t = {{"horizontal", 0}, {"vertical", 1}};
  return t;
}

const TNameTable& BackgroundSizeNames() {
  static const TNameTable t = {{"maximized", 0}, {"fullScreen", 1}, {"centered", 2}};
  return t;
}

const TNameTable& BackItemPositionNames() {
  static const TNameTable t = {{"topLeft", 0}, {"bottomLeft", 1}, {"topRight", 2}, {"bottomRight", 3}};
  return t;
}

const TNameTable& BackItemEffectNames() {
  static const TNameTable t = {{"none", 0},        {"fromLeft", 1},       {"fromRight", 2},
                               {"fromTop", 3},     {"fromBottom", 4},     {"fromTopLeft", 5},
                               {"fromBottomLeft", 6}, {"fromTopRight", 7}, {"fromBottomRight", 8}};
  return t;
}

const TNameTable& ControlKindNames() {
  static const TNameTable t = {{"label", KindLabel},     {"textBox", KindTextBox},
                               {"button", KindButton},   {"checkBox", KindCheckBox},
                               {"radioButton", KindRadioBox}, {"list", KindList},
                               {"combo", KindCombo},     {"image", KindImage},
                               {"imageButton", KindImageButton}, {"line", KindLine},
                               {"shape", KindShape},     {"styleSpace", KindStyleSpace},
                               {"frame", KindFrame},     {"progress", KindProgress}};
  return t;
}

const TNameTable& ControlRoleNames() {
  static const TNameTable t = {
      {"none", RoleNone},           {"agreement", RoleAgreement},   {"programGroups", RoleProgramGroups},
      {"programGroup", RoleProgramGroup}, {"components", RoleComponents}, {"requiredSpace", RoleRequiredSpace},
      {"freeSpace", RoleFreeSpace}, {"installDir", RoleInstallDir}, {"programIcon", RoleProgramIcon},
      {"setupPicture", RoleSetupPicture}, {"textFile", RoleTextFile},
      {"componentDescription", RoleComponentDescription}, {"notDeleted", RoleNotDeleted},
      {"status", RoleStatus},       {"detail", RoleDetail},         {"dirList", RoleDirList},
      {"drive", RoleDrive},         {"memo", RoleMemo}};
  return t;
}

const TNameTable& ButtonTypeNames() {
  static const TNameTable t = {{"none", 0}, {"cancel", 1}, {"default", 2}};
  return t;
}

const TNameTable& ProcessorNames() {
  static const TNameTable t = {{"other", 0},    {"ARM720", 1},   {"ARM820", 2},   {"ARM920", 3},
                               {"SH3", 4},      {"SH4", 5},      {"MIPS2000", 6}, {"MIPS3000", 7},
                               {"MIPS4000", 8}, {"STRONGARM", 9}};
  return t;
}

const TNameTable& SystemColorNames() {
  static const char* const names[] = {
      "scrollBar",    "desktop",        "activeCaption", "inactiveCaption", "menu",
      "window",       "windowFrame",    "menuText",      "windowText",      "captionText",
      "activeBorder", "inactiveBorder", "appWorkspace",  "highlight",       "highlightText",
      "buttonFace",   "buttonShadow",   "grayText",      "buttonText",      "inactiveCaptionText",
      "buttonHighlight", "3dDarkShadow", "3dLight",      "infoText",        "infoBackground"};
  static const TNameTable t = [] {
    TNameTable table;
    int64_t index = 0;
    for (const char* name : names) table.push_back({name, int64_t(0x80000000u) + index++});
    return table;
  }();
  return t;
}

const std::vector<const char*>& PackageScriptNames() {
  static const std::vector<const char*> names = {"start", "beforeInstall",   "afterInstall",  "close",
                                                 "error", "beforeUninstall", "afterUninstall"};
  return names;
}

std::optional<int64_t> CodeOfName(const TNameTable& table, const std::string& name) {
  for (const auto& entry : table)
    if (name == entry.Name) return entry.Code;
  return std::nullopt;
}

std::string NameOfCode(const TNameTable& table, int64_t code) {
  for (const auto& entry : table)
    if (entry.Code == code) return entry.Name;
  return "";
}

std::string NameList(const TNameTable& table) {
  std::string list;
  for (const auto& entry : table) list += (list.empty() ? "" : ", ") + std::string(entry.Name);
  return list;
}

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t up = row[j];
      bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) == std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

const std::string* NearestName(const std::string& given, const std::vector<std::string>& candidates) {
  const std::string* best = nullptr;
  size_t bestDistance = std::max<size_t>(2, given.size() / 3) + 1;
  for (const auto& candidate : candidates) {
    size_t d = EditDistance(given, candidate);
    if (d < bestDistance) {
      bestDistance = d;
      best = &candidate;
    }
  }
  return best;
}

std::string DidYouMean(const std::string& given, const std::vector<std::string>& known) {
  const std::string* best = NearestName(given, known);
  return best ? " (did you mean \"" + *best + "\"?)" : "";
}

std::vector<std::string> ControlParamNames(uint8_t kind, uint8_t role) {
  switch (kind) {
    case KindLabel: return {"caption", "font", "transparent"};
    case KindTextBox: return {"text", "font", "readOnly"};
    case KindButton: return {"caption", "font", "buttonType", "", "tag"};
    case KindCheckBox: return {"caption", "font", "value", "checkedValue", "uncheckedValue"};
    case KindRadioBox: return {"caption", "font", "checked", "value"};
    case KindList:
      if (role == RoleAgreement || role == RoleTextFile) return {"font", "", "file"};
      return {"font", "items", "selection", "", "tag", "multiSelect"};
    case KindCombo: return {"font", "listOnly", "items", "value", "", "tag"};
    case KindImage: return {"picture", "stretch", "transparent", "border"};
    case KindImageButton: return {"picture"};
    case KindShape: return {"shape", "penColor", "brushColor"};
    case KindFrame: return {"caption", "font"};
    default: return {};
  }
}

}  // namespace vnt
