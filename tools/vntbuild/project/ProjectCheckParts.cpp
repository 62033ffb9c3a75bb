// The report of the cross-reference checks and the walk over the project's scripts and texts.
#include "vntbuild/project/ProjectCheckParts.h"

#include "script/VariableNames.h"
#include "vntbuild/project/ProjectJson.h"
#include "vntbuild/project/ProjectNames.h"
#include "vntbuild/script/ScriptBlocks.h"

namespace vnt {

namespace {

// Fields of a statement that name no text the setup expands: the variable it writes, page and
// label names, block ids.
bool NamesOnly(const ScriptStatement& st, size_t field) {
  uint8_t op = st.Opcode;
  if (field == 0 && (WritesVariable(op) || op == OpGoToPage || op == OpShowDialog || op == OpLabel || op == OpGoTo))
    return true;
  return int(field) == BlockIdField(op);
}

class TTextWalk {
 public:
  explicit TTextWalk(const TCheckReport& report) : R(report), D(report.Project.Content.Description) {}

  std::vector<TTextAt> Walk() {
    Product();
    for (size_t i = 0; i < D.Variables.size(); ++i) {
      Text(D.Variables[i].Reg.Data, IndexedPath("/variables", i) + "/default");
      Text(D.Variables[i].Reg.Key, IndexedPath("/variables", i) + "/registry/key");
    }
    Files(R.Project.ProductFiles);
    Files(R.Project.SupportFiles);
    Records();
    Dialogs();
    for (const TScriptAt& s : ProjectScripts(R.Project)) Script(s);
    return std::move(Out);
  }

 private:
  const TCheckReport& R;
  const TSetupDescription& D;
  std::vector<TTextAt> Out;

  void Text(const std::string& text, const std::string& path, TTextKind kind = TTextKind::Text) {
    if (text.find('%') != std::string::npos) Out.push_back({text, R.At(path), kind});
  }

  void Product() {
    const TSetupProperties& p = D.Properties;
    const std::pair<const char*, const std::string*> texts[] = {{"name", &p.SoftwareName},
                                                                {"company", &p.CompanyName},
                                                                {"description", &p.Description},
                                                                {"installDir", &p.DefaultInstallDir},
                                                                {"programGroup", &p.DefaultProgramGroup},
                                                                {"title", &p.SetupTitle},
                                                                {"displayName", &p.DisplayName},
                                                                {"displayVersion", &p.DisplayVersion},
                                                                {"contact", &p.Contact},
                                                                {"aboutUrl", &p.AboutUrl},
                                                                {"helpLink", &p.HelpLink},
                                                                {"updateUrl", &p.UpdateUrl}};
    for (const auto& [key, text] : texts) Text(*text, std::string("/product/") + key);
  }

  void Files(const std::vector<TProjectFile>& files) {
    for (const auto& f : files) {
      std::string entry = FileEntryPath(R.Project, f);
      Text(f.Record.File.DestFolder, entry + "/destination");
      Text(f.Record.File.Condition, entry + "/condition", TTextKind::Condition);
    }
  }

  void Records() {
    for (size_t i = 0; i < D.Shortcuts.size(); ++i) {
      const TSetupShortcut& s = D.Shortcuts[i];
      std::string at = IndexedPath("/shortcuts", i);
      for (const auto& [key, text] : {std::pair{"/name", &s.Name},
                                      {"/target", &s.Target},
                                      {"/arguments", &s.Arguments},
                                      {"/description", &s.Description},
                                      {"/folder", &s.Folder},
                                      {"/icon", &s.IconFile}})
        Text(*text, at + key);
      Text(s.Condition, at + "/condition", TTextKind::Condition);
    }
    for (size_t i = 0; i < D.RegChanges.size(); ++i) {
      const TSetupRegChange& r = D.RegChanges[i];
      std::string at = IndexedPath("/registry", i);
      Text(r.Key, at + "/key");
      Text(r.ValueName, at + "/value");
      Text(r.Data, at + "/data");
      Text(r.Condition, at + "/condition", TTextKind::Condition);
    }
    for (size_t i = 0; i < D.Conduits.size(); ++i) {
      const THotSyncConduit& c = D.Conduits[i];
      std::string at = IndexedPath("/conduits", i);
      for (const auto& [key, text] : {std::pair{"/name", &c.Name},
                                      {"/conduitFile", &c.ConduitFile},
                                      {"/directory", &c.Directory},
                                      {"/remoteDatabase", &c.RemoteDatabase},
                                      {"/file", &c.File},
                                      {"/information", &c.Information},
                                      {"/module", &c.Module},
                                      {"/comClient", &c.ComClient}})
        Text(*text, at + key);
    }
    Text(D.Properties.MainGroupDesktopFolder, "/device/desktopFolder");
    for (size_t i = 0; i < D.DeviceGroups.size(); ++i) {
      Text(D.DeviceGroups[i].DesktopFolder, IndexedPath("/device/groups", i) + "/desktopFolder");
      Text(D.DeviceGroups[i].Description, IndexedPath("/device/groups", i) + "/description");
    }
    for (size_t i = 0; i < D.BackItems.size(); ++i)
      if (D.BackItems[i].IsText()) Text(D.BackItems[i].Text, IndexedPath("/background/items", i) + "/text");
  }

  void Dialogs() {
    if (!R.Project.DialogsGiven) return;
    const auto& dialogs = D.Dialogs.Dialogs;
    for (size_t i = 0; i < dialogs.size(); ++i) {
      std::string at = IndexedPath("/dialogs", i);
      Text(dialogs[i].Title, at + "/title");
      for (size_t j = 0; j < dialogs[i].Controls.size(); ++j) {
        const TControlDef& c = dialogs[i].Controls[j];
        std::vector<std::string> names = ControlParamNames(c.Kind, c.Role);
        names.resize(ControlParamCount);
        for (size_t k = 0; k < ControlParamCount; ++k)
          Text(c.P[k],
               IndexedPath(at + "/controls", j) + "/" + (names[k].empty() ? "p" + std::to_string(k + 1) : names[k]));
      }
    }
  }

  void Script(const TScriptAt& s) {
    for (size_t i = 0; i < s.Script.size(); ++i) {
      const ScriptStatement& st = s.Script[i];
      std::string place = R.StatementPlace(s.Path, i);
      auto add = [&](const std::string& text, TTextKind kind) {
        if (text.find('%') != std::string::npos) Out.push_back({text, place, kind});
      };
      add(st.Condition, TTextKind::Condition);
      for (size_t f = 0; f < ScriptFieldCount; ++f) {
        if (NamesOnly(st, f)) continue;
        bool condition = f == 0 && (st.Opcode == OpIf || st.Opcode == OpWhile);
        add(st.F[f], condition ? TTextKind::Condition : TTextKind::Text);
      }
    }
  }
};

}  // namespace

std::string FileEntryPath(const TProject& project, const TProjectFile& file) {
  // Origin is "p.json: /files/3/source".
  std::string path = file.Origin;
  std::string prefix = project.Path + ": ";
  if (path.rfind(prefix, 0) == 0) path.erase(0, prefix.size());
  const std::string source = "/source";
  if (path.size() >= source.size() && path.compare(path.size() - source.size(), source.size(), source) == 0)
    path.resize(path.size() - source.size());
  return path;
}

std::string TCheckReport::At(const std::string& jsonPath) const { return Project.Path + ": " + jsonPath; }

std::string TCheckReport::ItemPath(const std::string& listPath, size_t i) const {
  return Project.ArrayLists.count(listPath) ? IndexedPath(listPath, i) : listPath;
}

std::string TCheckReport::StatementPlace(const std::string& scriptPath, size_t i) const {
  auto source = Project.ScriptSources.find(scriptPath);
  if (source == Project.ScriptSources.end() || i >= source->second.Lines.size()) return At(scriptPath);
  return source->second.Name + ":" + std::to_string(source->second.Lines[i]);
}


std::vector<TScriptAt> ProjectScripts(const TProject& project) {
  const TSetupDescription& d = project.Content.Description;
  std::vector<TScriptAt> scripts;
  for (int i = 0; i < PackageScriptCount; ++i)
    scripts.push_back({d.Scripts[size_t(i)], std::string("/scripts/") + PackageScriptNames()[size_t(i)]});
  if (!project.DialogsGiven) return scripts;
  const auto& dialogs = d.Dialogs.Dialogs;
  const char* names[] = {"beforeBuild", "afterBuild", "afterShow", "leave"};
  for (size_t i = 0; i < dialogs.size(); ++i) {
    const TSetupDialog& dialog = dialogs[i];
    std::string at = IndexedPath("/dialogs", i);
    const TScript* own[] = {&dialog.BeforeBuildScript, &dialog.AfterBuildScript, &dialog.AfterShowScript,
                            &dialog.LeaveScript};
    for (size_t k = 0; k < 4; ++k) scripts.push_back({*own[k], at + "/scripts/" + names[k]});
    for (size_t j = 0; j < dialog.Controls.size(); ++j)
      scripts.push_back({dialog.Controls[j].Script, IndexedPath(at + "/controls", j) + "/script"});
  }
  return scripts;
}

std::vector<TTextAt> ProjectTexts(const TCheckReport& report) { return TTextWalk(report).Walk(); }

}  // namespace vnt
