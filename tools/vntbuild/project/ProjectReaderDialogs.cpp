// Scripts and dialogs of a project file: the seven setup scripts, pages with their controls
// and the controls' parameters by name.

#include "package/DialogEditorFuncs.h"
#include "vntbuild/project/ProjectError.h"
#include "vntbuild/project/ProjectReaderParts.h"
#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/script/ScriptSource.h"

namespace vnt {

namespace {

std::string Compile(const std::string& text, const std::string& name, TScript& script, std::vector<int>& lines) {
  try {
    script = CompileScriptText(text, name, lines);
    return "";
  } catch (const EScriptSyntaxError& e) {
    return e.what();
  }
}

std::string FixedText(const TNode& node) {
  std::string text = node.Text();
  if (text.size() > FixedFieldLength) node.Fail("a text here holds at most 1000 characters");
  return text;
}

// A parameter as the control keeps it: texts as they are, flags as "1"/"0", numbers as digits.
std::string ParamText(const TNode& node, const std::string& name, const TFontRecord& dialogFont) {
  const TJson& j = node.Json();
  if (name == "font" && j.is_object()) return FormatFontSpec(node.Font(dialogFont));
  if (name == "items" && j.is_array()) return node.List();
  if (name == "buttonType" && j.is_string())
    if (auto code = CodeOfName(ButtonTypeNames(), j.get<std::string>())) return std::to_string(*code);
  bool colourText = j.is_string() && (CodeOfName(SystemColorNames(), j.get<std::string>()) ||
                                      j.get<std::string>().rfind('#', 0) == 0);
  if ((name == "penColor" || name == "brushColor") && (j.is_number_integer() || colourText))
    return std::to_string(node.Color());
  if (j.is_boolean()) return j.get<bool>() ? "1" : "0";
  if (j.is_number_integer()) return std::to_string(j.get<int64_t>());
  return FixedText(node);
}

TControlDef ReadControl(const TNode& node, const TFontRecord& dialogFont) {
  TObject o(node);
  TControlDef c;
  c.Kind = uint8_t(o.Need("kind").Code(ControlKindNames(), 0, 255));
  c.Role = uint8_t(o.Code("role", ControlRoleNames(), 0, 0, 255));
  if (auto binding = o.Get("binding")) c.Binding = FixedText(*binding);
  c.Left = int32_t(o.Integer("left", 0, INT32_MIN, INT32_MAX));
  c.Top = int32_t(o.Integer("top", 0, INT32_MIN, INT32_MAX));
  c.Width = int32_t(o.Integer("width", 0, INT32_MIN, INT32_MAX));
  c.Height = int32_t(o.Integer("height", 0, INT32_MIN, INT32_MAX));
  std::vector<std::string> names = ControlParamNames(c.Kind, c.Role);
  names.resize(ControlParamCount);
  int stored = ControlParamsStored(c.Kind);
  for (int i = 0; i < ControlParamCount; ++i) {
    auto byNumber = o.Get("p" + std::to_string(i + 1));
    auto byName = names[i].empty() ? std::nullopt : o.Get(names[i]);
    if (byNumber && byName) byNumber->Fail("the parameter is also given as \"" + names[i] + "\"");
    auto given = byName ? byName : byNumber;
    if (!given) continue;
    if (i >= stored) given->Fail("a control of this kind keeps only " + std::to_string(stored) + " parameters");
    c.P[i] = ParamText(*given, byName ? names[i] : "", dialogFont);
  }
  if (auto script = o.Get("script")) c.Script = ReadScript(*script);
  o.Done();
  return c;
}

TSetupDialog ReadDialog(const TNode& node, const TFontRecord& setupFont) {
  TObject o(node);
  TSetupDialog d = ReadDialogKeys(o, setupFont);
  d.IsStyle = o.Flag("styleDialog");
  d.StyleName = o.Text("style");
  o.Done();
  return d;
}

}  // namespace

TSetupDialog ReadDialogKeys(TObject& o, const TFontRecord& baseFont) {
  TSetupDialog d;
  d.Name = FixedText(o.Need("name"));
  if (auto title = o.Get("title")) d.Title = FixedText(*title);
  d.ClientWidth = int32_t(o.Integer("width", 0, INT32_MIN, INT32_MAX));
  d.ClientHeight = int32_t(o.Integer("height", 0, INT32_MIN, INT32_MAX));
  d.DialogFont = baseFont;
  if (auto font = o.Get("font")) d.DialogFont = font->Font(baseFont);
  if (auto scripts = o.Get("scripts")) {
    TObject s(*scripts);
    TScript* targets[] = {&d.BeforeBuildScript, &d.AfterBuildScript, &d.AfterShowScript, &d.LeaveScript};
    const char* names[] = {"beforeBuild", "afterBuild", "afterShow", "leave"};
    for (int i = 0; i < 4; ++i)
      if (auto script = s.Get(names[i])) *targets[i] = ReadScript(*script);
    s.Done();
  }
  ForEach(o, "controls", [&](const TNode& n) { d.Controls.push_back(ReadControl(n, d.DialogFont)); });
  return d;
}

TScript ReadScript(const TNode& node) {
  const TJson& j = node.Json();
  std::string text, name = node.Context().FileName + " " + node.JsonPath();
  if (j.is_string()) {
    text = node.Text();
  } else if (j.is_array()) {
    for (size_t i = 0; i < node.Size(); ++i) text += node[i].Text() + "\n";
  } else if (j.is_object()) {
    TObject o(node);
    TNode file = o.Need("file");
    o.Done();
    name = file.FilePath().string();
    try {
      text = ScriptSourceToCodePage(ReadNamedTextFile(file, "script file"), name, node.Context().CodePage);
    } catch (const EScriptSyntaxError& e) {
      throw EProjectError(e.what());
    }
  } else {
    node.Fail("expected a script: a text, an array of lines or {\"file\": ...}");
  }
  TScript script;
  TScriptSource source{name, {}};
  std::string errors = Compile(text, name, script, source.Lines);
  if (!errors.empty()) throw EProjectError(errors);
  if (auto* sources = node.Context().ScriptSources) (*sources)[node.JsonPath()] = std::move(source);
  return script;
}

void ReadScripts(TObject& root, TProject& project) {
  auto node = root.Get("scripts");
  if (!node) return;
  TObject o(*node);
  for (int i = 0; i < PackageScriptCount; ++i)
    if (auto script = o.Get(PackageScriptNames()[i])) project.Content.Description.Scripts[i] = ReadScript(*script);
  o.Done();
}

void ReadDialogs(TObject& root, TProject& project) {
  std::vector<TSetupDialog> dialogs;
  const TFontRecord& font = project.Content.Description.Properties.SetupFont;
  project.DialogsGiven = root.Has("dialogs");
  // Only the default wizard's finish page carries the box that starts the program.
  if (project.DialogsGiven && !project.LaunchProgram.empty())
    TObject(root.Need("product")).Need("launch").Fail(
        "only the default wizard offers to start the program; a project with dialogs starts it from its own "
        "finish page (ExecuteProgram)");
  ForEach(root, "dialogs", [&](const TNode& n) { dialogs.push_back(ReadDialog(n, font)); });
  // The first and last page are found exactly as the setup finds them.
  TMemoryStream stored;
  WriteDialogSection(stored, dialogs);
  stored.Seek(0);
  project.Content.Description.Dialogs = ReadDialogSection(stored);
}

}  // namespace vnt
