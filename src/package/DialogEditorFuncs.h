// Dialog definitions: pages, secondary dialogs and style dialogs with their controls, as
// the package stores them, and the pure rules of building them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "package/PackagePrimitives.h"
#include "package/PackageStream.h"
#include "package/ScriptTypes.h"

namespace vnt {

enum TControlKind : uint8_t {
  KindLabel = 1, KindTextBox, KindButton, KindCheckBox, KindRadioBox, KindList, KindCombo,
  KindImage, KindImageButton, KindLine, KindShape, KindStyleSpace, KindFrame, KindProgress
};

enum TControlRole : uint8_t {
  RoleNone = 0, RoleAgreement, RoleProgramGroups, RoleProgramGroup, RoleComponents,
  RoleRequiredSpace, RoleFreeSpace, RoleInstallDir, RoleProgramIcon, RoleSetupPicture,
  RoleTextFile, RoleComponentDescription, RoleNotDeleted, RoleStatus, RoleDetail, RoleDirList,
  RoleDrive, RoleMemo
};

constexpr int ControlParamCount = 6;

struct TControlDef {
  uint8_t Kind = 0;
  std::string Binding;
  uint8_t Role = 0;
  int32_t Left = 0, Top = 0, Height = 0, Width = 0;
  std::array<std::string, ControlParamCount> P;  // P[0] is P1
  TScript Script;
  bool operator==(const TControlDef&) const = default;
};

struct TSetupDialog {
  std::string Name, Title;
  int32_t ClientHeight = 0, ClientWidth = 0;
  TFontRecord DialogFont;
  uint8_t IsStyle = 0;
  std::string StyleName;
  std::vector<TControlDef> Controls;
  TScript BeforeBuildScript, AfterBuildScript, AfterShowScript, LeaveScript;
  bool operator==(const TSetupDialog&) const = default;
};

struct TDialogSection {
  std::vector<TSetupDialog> Dialogs;
  std::string FirstPage, LastPage;  // empty when there is none
  bool operator==(const TDialogSection&) const = default;
};

// A control definition of a kind at its place, with its parameters and the rest given or empty.
TControlDef MakeControlDef(uint8_t kind, int32_t left, int32_t top, int32_t height, int32_t width,
                           std::array<std::string, ControlParamCount> p, TScript script = {}, std::string binding = "",
                           uint8_t role = 0);

// How many parameter texts the stored form carries for a control kind.
int ControlParamsStored(uint8_t kind);

TDialogSection ReadDialogSection(TStream& s);
void WriteDialogSection(TStream& s, const std::vector<TSetupDialog>& dialogs);

// The first dialog of that name, ignoring case; null when none.
const TSetupDialog* FindDialog(const std::vector<TSetupDialog>& dialogs, const std::string& name);
// File-name-unsafe characters and hyphens become "_".
std::string CleanDialogName(const std::string& name);
// The suffix of a control's component name, by kind and role ("" for kinds without a control).
std::string ControlSuffix(uint8_t kind, uint8_t role, bool plainLists = false);
// The component names in use on one container, handing out free ones each in constant time
// on average: a page of many controls of one kind must not try every smaller number over
// every control.
class TComponentNames {
public:
  void Add(const std::string& name);
  // Takes and answers "VN_" + base + the smallest free n from 1 to 30000; empty when all are taken.
  std::string Take(const std::string& base);

private:
  std::unordered_set<std::string> Used;       // upper case: names compare ignoring case
  std::unordered_map<std::string, int> Next;  // per base: no smaller number is free
};

// The font of a control: the base font, changed by a five-field FontSpec.
TFontRecord ControlFont(const TFontRecord& base, const std::string& fontSpec, bool keepSetupFace);
std::string FormatFontSpec(const TFontRecord& font);

}  // namespace vnt
