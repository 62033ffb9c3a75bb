// The setup's scripts and its dialogs with their controls, written as project entries.
#include "package/DialogEditorFuncs.h"
#include "package/SetupStrings.h"
#include "vntbuild/project/ProjectWriterParts.h"
#include "vntbuild/script/ScriptDecompiler.h"

namespace vnt {

namespace {

// Control scripts up to this many lines stay inline even when scripts go into files.
constexpr size_t InlineControlLines = 3;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// A script file name not yet taken (file systems that ignore case count too).
std::string FreeScriptPath(const std::string& baseName, TWriteContext& ctx) {
  std::string base = CleanDialogName(baseName);
  for (int n = 1;; ++n) {
    std::string path = "scripts/" + base + (n > 1 ? "-" + std::to_string(n) : "") + ".vns";
    std::string key = path;
    for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
    if (ctx.UsedNames.insert(key).second) return path;
  }
}

// A stored parameter text that the reader would take the same under the parameter's name.
bool NameKeepsText(const std::string& name, const std::string& text) {
  if (name == "buttonType") return !CodeOfName(ButtonTypeNames(), text);
  if (name == "penColor" || name == "brushColor") return !CodeOfName(SystemColorNames(), text) && text.rfind('#', 0) != 0;
  return true;
}

TOrderedJson ControlJson(const TControlDef& c, const std::string& baseName, TWriteContext& ctx) {
  TOrderedJson o;
  o["kind"] = CodeJson(ControlKindNames(), c.Kind);
  if (c.Role) o["role"] = CodeJson(ControlRoleNames(), c.Role);
  PutText(o, "binding", c.Binding);
  o["left"] = c.Left;
  o["top"] = c.Top;
  o["width"] = c.Width;
  o["height"] = c.Height;
  std::vector<std::string> names = ControlParamNames(c.Kind, c.Role);
  names.resize(ControlParamCount);
  for (int i = 0; i < ControlParamsStored(c.Kind); ++i) {
    if (c.P[i].empty()) continue;
    bool byName = !names[i].empty() && NameKeepsText(names[i], c.P[i]);
    std::string typeName = names[i] == "buttonType" && c.P[i].size() == 1 && c.P[i][0] >= '0' && c.P[i][0] <= '2'
                               ? NameOfCode(ButtonTypeNames(), c.P[i][0] - '0')
                               : "";
    o[byName ? names[i] : "p" + std::to_string(i + 1)] = Utf8(typeName.empty() ? c.P[i] : typeName);
  }
  if (!c.Script.empty()) o["script"] = ScriptJson(c.Script, baseName, false, ctx);
  return o;
}

TOrderedJson DialogJson(const TSetupDialog& d, const TFontRecord& setupFont, TWriteContext& ctx) {
  TOrderedJson o;
  o["name"] = Utf8(d.Name);
  PutText(o, "title", d.Title);
  o["width"] = d.ClientWidth;
  o["height"] = d.ClientHeight;
  TOrderedJson font = FontJson(d.DialogFont, setupFont);
  if (!font.empty()) o["font"] = font;
  if (d.IsStyle) o["styleDialog"] = FlagJson(d.IsStyle);
  PutText(o, "style", d.StyleName);
  const std::pair<const char*, const TScript*> scripts[] = {{"beforeBuild", &d.BeforeBuildScript},
                                                            {"afterBuild", &d.AfterBuildScript},
                                                            {"afterShow", &d.AfterShowScript},
                                                            {"leave", &d.LeaveScript}};
  std::string base = d.Name.empty() ? "dialog" : d.Name;
  for (const auto& [key, script] : scripts)
    if (!script->empty()) o["scripts"][key] = ScriptJson(*script, base + "." + key, true, ctx);
  for (size_t i = 0; i < d.Controls.size(); ++i)
    o["controls"].push_back(ControlJson(d.Controls[i], base + ".control" + std::to_string(i + 1), ctx));
  return o;
}

}  // namespace

TOrderedJson ScriptJson(const TScript& script, const std::string& baseName, bool alwaysFile, TWriteContext& ctx) {
  std::string text = DecompileScript(script);
  std::vector<std::string> lines = Lines(text);
  if (ctx.ScriptsInFiles && (alwaysFile || lines.size() > InlineControlLines)) {
    std::string path = FreeScriptPath(baseName, ctx);
    ctx.Files.push_back({path, Utf8(text)});
    return TOrderedJson{{"file", Utf8(path)}};
  }
  if (lines.size() == 1) return Utf8(lines[0]);
  TOrderedJson array = TOrderedJson::array();
  for (const auto& line : lines) array.push_back(Utf8(line));
  return array;
}

void WriteScriptsAndDialogs(const TSetupDescription& d, TOrderedJson& root, TWriteContext& ctx) {
  for (int i = 0; i < PackageScriptCount; ++i)
    if (!d.Scripts[i].empty())
      root["scripts"][PackageScriptNames()[i]] = ScriptJson(d.Scripts[i], PackageScriptNames()[i], true, ctx);
  // Written also when empty: a setup without pages must not get the default wizard when built again.
  root["dialogs"] = TOrderedJson::array();
  for (const auto& dialog : d.Dialogs.Dialogs)
    root["dialogs"].push_back(DialogJson(dialog, d.Properties.SetupFont, ctx));
}

}  // namespace vnt
