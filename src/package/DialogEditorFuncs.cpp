#include "package/DialogEditorFuncs.h"

#include "package/IntegerText.h"
#include "package/ScriptCodec.h"
#include "package/VarList.h"

namespace vnt {

namespace {

// Past this, a control has no name of its own.
constexpr int MaxComponentNumber = 30000;

// Kind, binding, role, four coordinates, the script's count: the least a control takes.
constexpr uint32_t MinControlBytes = 1 + 1 + 1 + 16 + 4;
// Name, title, sizes, font, style flag, style name, control count, four empty scripts.
constexpr uint32_t MinDialogBytes = 1 + 1 + 8 + 11 + 1 + 1 + 4 + 16;

int32_t CheckedCount(TStream& s, uint32_t minItemBytes) {
  int32_t count = ReadI32(s);
  if (count < 0 || uint64_t(count) * minItemBytes > s.Remaining())
    throw EPackageError("dialog list count larger than its data");
  return count;
}

TControlDef ReadControl(TStream& s) {
  TControlDef c;
  c.Kind = ReadByte(s);
  c.Binding = FixedField(ReadPackageString(s));
  c.Role = ReadByte(s);
  c.Left = ReadI32(s);
  c.Top = ReadI32(s);
  c.Height = ReadI32(s);
  c.Width = ReadI32(s);
  for (int i = 0; i < ControlParamsStored(c.Kind); ++i) c.P[i] = FixedField(ReadPackageString(s));
  c.Script = ReadScript(s);
  return c;
}

void WriteControl(TStream& s, const TControlDef& c) {
  WriteByte(s, c.Kind);
  WritePackageString(s, FixedField(c.Binding));
  WriteByte(s, c.Role);
  WriteI32(s, c.Left);
  WriteI32(s, c.Top);
  WriteI32(s, c.Height);
  WriteI32(s, c.Width);
  for (int i = 0; i < ControlParamsStored(c.Kind); ++i) WritePackageString(s, FixedField(c.P[i]));
  WriteScript(s, c.Script);
}

TSetupDialog ReadDialog(TStream& s) {
  TSetupDialog d;
  d.Name = FixedField(ReadPackageString(s));
  d.Title = FixedField(ReadPackageString(s));
  d.ClientHeight = ReadI32(s);
  d.ClientWidth = ReadI32(s);
  d.DialogFont = ReadFontRecord(s);
  d.IsStyle = ReadByte(s);
  d.StyleName = FixedField(ReadPackageString(s));
  int32_t controls = CheckedCount(s, MinControlBytes);
  for (int32_t i = 0; i < controls; ++i) d.Controls.push_back(ReadControl(s));
  for (TScript* script : {&d.BeforeBuildScript, &d.AfterBuildScript, &d.AfterShowScript, &d.LeaveScript})
    *script = ReadScript(s);
  return d;
}

void WriteDialog(TStream& s, const TSetupDialog& d) {
  WritePackageString(s, FixedField(d.Name));
  WritePackageString(s, FixedField(d.Title));
  WriteI32(s, d.ClientHeight);
  WriteI32(s, d.ClientWidth);
  WriteFontRecord(s, d.DialogFont);
  WriteByte(s, d.IsStyle);
  WritePackageString(s, FixedField(d.StyleName));
  WriteI32(s, int32_t(d.Controls.size()));
  for (const auto& c : d.Controls) WriteControl(s, c);
  for (const TScript* script : {&d.BeforeBuildScript, &d.AfterBuildScript, &d.AfterShowScript, &d.LeaveScript})
    WriteScript(s, *script);
}

std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t bar = text.find('|', start);
    fields.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (fields.size() > 1 && fields.back().empty()) fields.pop_back();  // a trailing "|" is allowed
  return fields;
}

}  // namespace

TControlDef MakeControlDef(uint8_t kind, int32_t left, int32_t top, int32_t height, int32_t width,
                           std::array<std::string, ControlParamCount> p, TScript script, std::string binding,
                           uint8_t role) {
  return {kind, std::move(binding), role, left, top, height, width, std::move(p), std::move(script)};
}

int ControlParamsStored(uint8_t kind) {
  switch (kind) {
    case KindLabel:
    case KindShape: return 3;
    case KindImageButton: return 1;
    case KindTextBox:
    case KindImage: return 4;
    case KindButton:
    case KindRadioBox: return 5;
    case KindCheckBox:
    case KindList:
    case KindCombo: return 6;
    case KindFrame: return 2;
    default: return 0;
  }
}

TDialogSection ReadDialogSection(TStream& s) {
  TDialogSection section;
  int32_t count = CheckedCount(s, MinDialogBytes);
  for (int32_t i = 0; i < count; ++i) {
    TSetupDialog d = ReadDialog(s);
    if (!d.IsStyle && CompareTextIgnoringCase(d.Name, "INSTALL") != 0) {
      if (section.FirstPage.empty()) section.FirstPage = d.Name;
      section.LastPage = d.Name;
    }
    section.Dialogs.push_back(std::move(d));
  }
  return section;
}

void WriteDialogSection(TStream& s, const std::vector<TSetupDialog>& dialogs) {
  WriteI32(s, int32_t(dialogs.size()));
  for (const auto& d : dialogs) WriteDialog(s, d);
}

const TSetupDialog* FindDialog(const std::vector<TSetupDialog>& dialogs, const std::string& name) {
  for (const auto& d : dialogs)
    if (CompareTextIgnoringCase(d.Name, name) == 0) return &d;
  return nullptr;
}

std::string CleanDialogName(const std::string& name) {
  std::string clean = name;
  for (char& c : clean)
    if (std::string(".  \\/:*?\"<>|,-").find(c) != std::string::npos) c = '_';
  return clean;
}

std::string ControlSuffix(uint8_t kind, uint8_t role, bool plainLists) {
  switch (kind) {
    case KindLabel: return "_Label";
    case KindTextBox: return "_TextBox";
    case KindButton: return "_Button";
    case KindCheckBox: return "_CheckBox";
    case KindRadioBox: return "_RadioBox";
    case KindList:
      if (plainLists) return "_ListBox";
      if (role == RoleAgreement || role == RoleTextFile) return "_License";
      if (role == RoleNotDeleted) return "_NotDeleted";
      if (role == RoleDirList) return "_DirList";
      if (role == RoleMemo) return "_MemoList";
      return "_ListBox";
    case KindCombo: return !plainLists && role == RoleDrive ? "_DriveCombo" : "_ComboBox";
    case KindImage: return "_Image";
    case KindImageButton: return "_ImageButton";
    case KindLine: return "_Line";
    case KindShape: return "_Shape";
    case KindFrame: return "_Frame";
    case KindProgress: return "_Progress";
    default: return "";
  }
}

void TComponentNames::Add(const std::string& name) { Used.insert(UpperCase(name)); }

std::string TComponentNames::Take(const std::string& base) {
  // Names are only ever added, so the smallest free number never goes down.
  int& n = Next.try_emplace(UpperCase(base), 1).first->second;
  for (; n <= MaxComponentNumber; ++n) {
    std::string name = "VN_" + base + std::to_string(n);
    if (Used.insert(UpperCase(name)).second) return name;
  }
  return "";
}

TFontRecord ControlFont(const TFontRecord& base, const std::string& fontSpec, bool keepSetupFace) {
  std::vector<std::string> f = SplitFields(fontSpec);
  if (f.size() != 5) return base;
  for (const auto& field : f)
    if (field.empty()) return base;
  TFontRecord font = base;
  int32_t size = AsInteger(f[1]);
  bool keepFace = keepSetupFace && f[0] != base.Name && size == base.Size;
  if (!keepFace) font.Name = FixedField(f[0]);
  font.Charset = uint8_t(AsInteger(f[4]));
  font.Size = size;
  font.Color = AsInteger(f[2]);
  font.Style = uint8_t(AsInteger(f[3]));
  return font;
}

std::string FormatFontSpec(const TFontRecord& font) {
  return font.Name + "|" + std::to_string(font.Size) + "|" + std::to_string(font.Color) + "|" +
         std::to_string(unsigned(font.Style)) + "|" + std::to_string(unsigned(font.Charset)) + "|";
}

}  // namespace vnt
