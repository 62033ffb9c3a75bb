// Names that refer to other parts of a project: components, pages and style dialogs, support
// files, languages, shortcut targets; and names defined twice.
#include "vntbuild/project/ProjectReferences.h"

#include <algorithm>
#include <optional>
#include <set>

#include "package/ComponentLists.h"
#include "package/Conditions.h"
#include "package/SetupQueries.h"
#include "package/VarList.h"
#include "vntbuild/project/ProjectCheckParts.h"
#include "vntbuild/project/ProjectNames.h"

namespace vnt {

namespace {

bool SameName(const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) == 0; }

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
}

// The part of a path after "%TempSetupDir%\", where support files lie; none when it is elsewhere.
std::optional<std::string> BelowTempFolder(const std::string& path) {
  const std::string temp = "%TempSetupDir%\\";
  if (path.size() < temp.size() || !SameName(path.substr(0, temp.size()), temp)) return std::nullopt;
  return path.substr(temp.size());
}

// The tags of the controls that carry one (buttons, lists, combo boxes).
std::vector<std::string> ControlTags(const std::vector<TSetupDialog>& dialogs) {
  std::vector<std::string> tags;
  for (const auto& d : dialogs)
    for (const auto& control : d.Controls) {
      std::vector<std::string> names = ControlParamNames(control.Kind, control.Role);
      auto tag = std::find(names.begin(), names.end(), "tag");
      if (tag != names.end() && !control.P[size_t(tag - names.begin())].empty())
        tags.push_back(control.P[size_t(tag - names.begin())]);
    }
  return tags;
}

// A name defined twice, ignoring case as the setup compares names.
void CheckUnique(TCheckReport& r, const std::vector<std::string>& names, const std::string& list,
                 const std::string& what) {
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t k = 0; k < i; ++k)
      if (SameName(names[i], names[k])) {
        r.Error(r.At(IndexedPath(list, i) + "/name"), what + " \"" + names[i] + "\" is defined twice (first at " +
                                                          IndexedPath(list, k) + "; names are compared ignoring case)");
        break;
      }
}

class TReferences {
 public:
  explicit TReferences(TCheckReport& report) : R(report), D(report.Project.Content.Description) {
    for (const auto& c : D.Components) Components.push_back(c.Name);
    for (const auto& d : D.Dialogs.Dialogs) (d.IsStyle ? Styles : Pages).push_back(d.Name);
    for (const auto& l : D.Languages) Languages.push_back(l.Name);
    // Support files are looked for in %TempSetupDir%, by their path below it.
    for (const auto& f : R.Project.SupportFiles)
      if (auto folder = BelowTempFolder(f.Record.File.DestFolder))
        SupportFiles.push_back(*folder + f.Record.File.SourceName);
    for (const auto& f : R.Project.ProductFiles) ProductFiles.push_back(FileNamePart(f.Record.File.SourceName));
    Tags = ControlTags(D.Dialogs.Dialogs);
    TagsWithVariables =
        std::any_of(Tags.begin(), Tags.end(), [](const std::string& t) { return t.find('%') != std::string::npos; });
  }

  void Check() {
    std::vector<std::string> variables;
    for (const auto& v : D.Variables) variables.push_back(v.Name);
    CheckUnique(R, Components, "/components", "component");
    CheckUnique(R, Languages, "/languages", "language");
    CheckUnique(R, variables, "/variables", "variable");
    if (R.Project.DialogsGiven) {
      std::vector<std::string> dialogs;
      for (const auto& d : D.Dialogs.Dialogs) dialogs.push_back(d.Name);
      CheckUnique(R, dialogs, "/dialogs", "dialog");
    }
    ComponentLists();
    SupportFileNames();
    ShortcutTargets();
    if (R.Project.DialogsGiven) StyleNames();
    for (const TScriptAt& s : ProjectScripts(R.Project)) Script(s);
    for (const TTextAt& t : ProjectTexts(R))
      if (t.Kind == TTextKind::Condition) ComponentTests(t);
  }

 private:
  TCheckReport& R;
  const TSetupDescription& D;
  std::vector<std::string> Components, Pages, Styles, Languages, SupportFiles, ProductFiles, Tags;
  bool TagsWithVariables = false;

  // The commands that find controls by their tag: the tag they name.
  static const std::string* TagOf(const ScriptStatement& st) {
    switch (st.Opcode) {
      case OpForEachSelected:
        return &st.F[1];
      case OpAddListItem:
      case OpClearList:
      case OpSortList:
      case OpFillLanguageList:
      case OpSelectAllItems:
      case OpDeselectAllItems:
      case OpSelectItems:
      case OpEnableButton:
      case OpDisableButton:
        return &st.F[0];
      default:
        return nullptr;
    }
  }

  // A tag that no control bears makes the command do nothing; tags with variables (in the
  // command or on a control) are only known at run time.
  void TagName(const ScriptStatement& st, const std::string& place) {
    const std::string* tag = TagOf(st);
    if (!tag || tag->empty() || tag->find('%') != std::string::npos || TagsWithVariables || Contains(Tags, *tag))
      return;
    R.Error(place, OpcodeName(st.Opcode) + " \"" + *tag + "\": no control has that tag" + DidYouMean(*tag, Tags));
  }

  void ComponentList(const std::string& list, const std::string& path) {
    std::vector<std::string> names = SplitComponentList(list);
    for (size_t i = 0; i < names.size(); ++i)
      if (!Contains(Components, names[i])) R.Error(R.At(R.ItemPath(path, i)), NoComponent(names[i]));
  }

  std::string NoComponent(const std::string& name) const {
    if (Components.empty()) return "no component \"" + name + "\": the project defines no components";
    return "no component \"" + name + "\"" + DidYouMean(name, Components);
  }

  void ComponentLists() {
    for (int i = 0; i < SetupTypeCount; ++i)
      ComponentList(D.Properties.SetupTypeComponents[size_t(i)], IndexedPath("/setupTypes", size_t(i)));
    std::set<std::string> entries;  // a wildcard's files share their entry
    for (const auto& f : R.Project.ProductFiles) {
      std::string path = FileEntryPath(R.Project, f) + "/components";
      if (entries.insert(path).second) ComponentList(f.Record.File.Components, path);
    }
    for (size_t i = 0; i < D.Shortcuts.size(); ++i)
      ComponentList(D.Shortcuts[i].Components, IndexedPath("/shortcuts", i) + "/components");
    for (size_t i = 0; i < D.RegChanges.size(); ++i)
      ComponentList(D.RegChanges[i].Components, IndexedPath("/registry", i) + "/components");
  }

  // "%SetupComponents% = Help|": the other operand names a component, unless a variable gives it.
  void ComponentTests(const TTextAt& t) {
    for (const TConditionClause& c : ConditionClauses(t.Text)) {
      if (c.Op.empty() || IsComponentsOperand(c.Left) == IsComponentsOperand(c.Right)) continue;
      const std::string& name = IsComponentsOperand(c.Left) ? c.Right : c.Left;
      if (name.find('%') == std::string::npos && !Contains(Components, name) && !Components.empty())
        R.Error(t.Place, NoComponent(name) + " in the condition \"" + t.Text + "\"");
    }
  }

  // Names the setup finds below %TempSetupDir%; a variable or an absolute path is not judged.
  void SupportFile(const std::string& name, const std::string& path) {
    if (name.empty() || name.find_first_of("%:") != std::string::npos || name.rfind("\\\\", 0) == 0) return;
    if (Contains(SupportFiles, name)) return;
    if (SupportFiles.empty())
      return R.Error(R.At(path), "no support file \"" + name + "\": the project gives no supportFiles");
    std::string hint = DidYouMean(name, SupportFiles);
    // The file's own name, given without the folder it lies in below %TempSetupDir%.
    for (const auto& file : SupportFiles)
      if (hint.empty() && SameName(FileNamePart(file), FileNamePart(name))) hint = " (did you mean \"" + file + "\"?)";
    R.Error(R.At(path), "no support file \"" + name + "\"" + hint);
  }

  void SupportFileNames() {
    const TSetupProperties& p = D.Properties;
    SupportFile(p.SetupPicture, "/product/picture");
    SupportFile(p.SplashBitmap, "/product/splash");
    SupportFile(p.AgreementFile, "/product/agreement");
    SupportFile(p.BackgroundBitmap, "/background/bitmap");
    for (size_t i = 0; i < D.Components.size(); ++i)
      SupportFile(D.Components[i].IconFile, IndexedPath("/components", i) + "/icon");
    for (size_t i = 0; i < D.ProgressBitmaps.size(); ++i)
      SupportFile(D.ProgressBitmaps[i], IndexedPath("/progressBitmaps", i));
    for (size_t i = 0; i < D.BackItems.size(); ++i)
      if (!D.BackItems[i].IsText())
        SupportFile(D.BackItems[i].Picture, IndexedPath("/background/items", i) + "/picture");
    if (!R.Project.DialogsGiven) return;
    for (size_t i = 0; i < D.Dialogs.Dialogs.size(); ++i)
      for (size_t j = 0; j < D.Dialogs.Dialogs[i].Controls.size(); ++j) {
        const TControlDef& c = D.Dialogs.Dialogs[i].Controls[j];
        std::string at = IndexedPath(IndexedPath("/dialogs", i) + "/controls", j);
        if ((c.Kind == KindImage || c.Kind == KindImageButton) && c.Role == RoleNone)
          SupportFile(c.P[0], at + "/picture");
        auto file = BelowTempFolder(c.P[2]);
        if (c.Kind == KindList && c.Role == RoleTextFile && file) SupportFile(*file, at + "/file");
      }
  }

  // A target written as a bare file name is looked for among the product files; the setup
  // falls back to %InstallDir%, which is legal but rarely meant.
  void ShortcutTargets() {
    for (size_t i = 0; i < D.Shortcuts.size(); ++i) {
      const std::string& target = D.Shortcuts[i].Target;
      if (target.find_first_of("%:\\") != std::string::npos || SameName(target, "UNINSTALLER")) continue;
      if (!Contains(ProductFiles, target))
        R.Warn(R.At(IndexedPath("/shortcuts", i) + "/target"), "no product file is named \"" + target +
                                                                   "\"; the shortcut points into %InstallDir%" +
                                                                   DidYouMean(target, ProductFiles));
    }
  }

  void StyleNames() {
    for (size_t i = 0; i < D.Dialogs.Dialogs.size(); ++i) {
      const std::string& style = D.Dialogs.Dialogs[i].StyleName;
      if (style.empty() || Contains(Styles, style)) continue;
      std::string what = Contains(Pages, style)
                             ? "\"" + style + "\" is a page, not a style dialog (\"styleDialog\": true)"
                             : "no style dialog \"" + style + "\"" + DidYouMean(style, Styles);
      R.Error(R.At(IndexedPath("/dialogs", i) + "/style"), what);
    }
  }

  void Script(const TScriptAt& s) {
    std::vector<std::string> dialogs = Pages;
    dialogs.insert(dialogs.end(), Styles.begin(), Styles.end());
    for (size_t i = 0; i < s.Script.size(); ++i) {
      const ScriptStatement& st = s.Script[i];
      const std::string& name = st.F[0];
      if (st.Opcode == OpGoToPage && !Contains(Pages, name))
        R.Error(R.StatementPlace(s.Path, i),
                Contains(Styles, name) ? "GoToPage \"" + name + "\": a style dialog is not a page"
                                       : "GoToPage \"" + name + "\": no page of that name" + DidYouMean(name, Pages));
      if (st.Opcode == OpShowDialog && !Contains(dialogs, name))
        R.Error(R.StatementPlace(s.Path, i),
                "ShowDialog \"" + name + "\": no dialog of that name" + DidYouMean(name, dialogs));
      TagName(st, R.StatementPlace(s.Path, i));
      // A language chosen by its name.
      const std::string& value = st.F[1];
      if (st.Opcode == OpAssignVariable && SameName(name, "%Language%") && !Languages.empty() &&
          value.find('%') == std::string::npos && !Contains(Languages, value))
        R.Error(R.StatementPlace(s.Path, i), "no language \"" + value + "\"" + DidYouMean(value, Languages));
    }
  }
};

}  // namespace

std::string TBuildWarnings::CountText() const {
  return std::to_string(List.size()) + (List.size() == 1 ? " warning" : " warnings");
}

std::string FormatWarning(const TBuildWarning& w) { return w.Place + ": warning: " + w.Text; }

TBuildWarnings CheckProjectReferences(const TProject& project) {
  TCheckReport report(project);
  TReferences(report).Check();
  CheckVariables(report);
  if (!report.Errors.empty()) {
    std::string all;
    std::set<std::string> seen;  // the files of one wildcard entry share its texts
    for (const auto& e : report.Errors)
      if (seen.insert(e).second) all += (all.empty() ? "" : "\n") + e;
    throw EProjectError(all);
  }
  // Each warning once.
  std::vector<TBuildWarning> unique;
  for (const auto& w : report.Warnings.List)
    if (std::none_of(unique.begin(), unique.end(),
                     [&](const TBuildWarning& u) { return u.Place == w.Place && u.Text == w.Text; }))
      unique.push_back(w);
  return {unique};
}

}  // namespace vnt
