#include "vntbuild/project/ProjectWriter.h"

#include <fstream>
#include <tuple>
#include <stdexcept>

#include "package/SetupStrings.h"
#include "vntbuild/project/CodePage.h"
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectWriterParts.h"

namespace vnt {

std::string Utf8(const std::string& text) { return CodePageToUtf8(text); }

TOrderedJson CodeJson(const TNameTable& names, int64_t code) {
  std::string name = NameOfCode(names, code);
  return name.empty() ? TOrderedJson(code) : TOrderedJson(name);
}

TOrderedJson FlagJson(uint8_t value) { return value <= 1 ? TOrderedJson(value == 1) : TOrderedJson(value); }

TOrderedJson ColorJson(int32_t color) {
  std::string name = NameOfCode(SystemColorNames(), int64_t(uint32_t(color)));
  if (!name.empty()) return name;
  uint32_t v = uint32_t(color);
  if (v >> 24) return color;
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  return text;
}

TOrderedJson ListJson(const std::string& list) {
  TOrderedJson items = TOrderedJson::array();
  if (list.empty()) return items;
  size_t start = 0;
  while (true) {
    size_t bar = list.find('|', start);
    std::string item = list.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (item.empty()) return Utf8(list);
    items.push_back(Utf8(item));
    if (bar == std::string::npos) return items;
    start = bar + 1;
  }
}

TOrderedJson FontJson(const TFontRecord& font, const TFontRecord& base) {
  TOrderedJson o = TOrderedJson::object();
  PutText(o, "face", font.Name, base.Name);
  Put(o, "size", font.Size, base.Size);
  if (font.Color != base.Color) o["color"] = ColorJson(font.Color);
  if (font.Style != base.Style) {
    if ((font.Style ^ base.Style) & 0xF0) {
      o["style"] = font.Style;
    } else {
      const char* const bits[] = {"bold", "italic", "underline", "strikeOut"};
      for (int bit = 0; bit < 4; ++bit)
        if (((font.Style ^ base.Style) >> bit) & 1) o[bits[bit]] = bool((font.Style >> bit) & 1);
    }
  }
  Put(o, "charset", font.Charset, base.Charset);
  return o;
}

void PutText(TOrderedJson& o, const char* key, const std::string& value, const std::string& def) {
  if (value != def) o[key] = Utf8(value);
}

namespace {

std::string VersionText(const TVersionStrings& v, const std::string& name) {
  for (const auto& [key, text] : v.Values)
    if (key == name) return text;
  return "";
}

// The keys of the version resource that differ from what the reader makes of the product.
TOrderedJson VersionInfoJson(const TSetupDescription& d, const TVersionStrings& v) {
  const TSetupProperties& p = d.Properties;
  std::string name = Utf8(p.SoftwareName), company = Utf8(p.CompanyName), display = Utf8(p.DisplayVersion);
  TOrderedJson o = TOrderedJson::object();
  TVersionInfo def = DefaultVersionInfo(name, company, display);
  if (v.FileHigh != def.VersionHigh || v.FileLow != def.VersionLow) {
    o["version"] = FormatFileVersion(v.FileHigh, v.FileLow);
    def = DefaultVersionInfo(name, company, display, std::make_pair(v.FileHigh, v.FileLow));
  }
  const std::tuple<const char*, const char*, std::string> texts[] = {
      {"fileVersion", "FileVersion", def.FileVersion},     {"productVersion", "ProductVersion", def.ProductVersion},
      {"productName", "ProductName", def.ProductName},     {"company", "CompanyName", def.CompanyName},
      {"description", "FileDescription", def.Description}, {"copyright", "LegalCopyright", ""},
      // Always written: built again under another name, the setup keeps the name it had.
      {"originalFileName", "OriginalFilename", ""}};
  for (const auto& [key, stored, standard] : texts)
    if (std::string value = VersionText(v, stored); value != standard) o[key] = value;
  uint32_t language = 0x0409;
  for (const auto& lang : d.Languages)
    if (lang.Default && lang.LanguageId > 0 && lang.LanguageId <= 0xFFFF) language = lang.LanguageId;
  // The table's key starts with the language in four hex digits ("040904B0").
  bool hex = v.Table.size() == 8 && v.Table.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
  uint32_t stored = hex ? uint32_t(std::stoul(v.Table.substr(0, 4), nullptr, 16)) : language;
  if (stored != language) o["language"] = stored;
  return o;
}

void WriteProduct(const TSetupDescription& d, TOrderedJson& root, const TDumpedResources& resources) {
  const TSetupProperties& p = d.Properties;
  const TSetupProperties def = DefaultProperties();
  TOrderedJson o;
  o["name"] = Utf8(p.SoftwareName);
  o["company"] = Utf8(p.CompanyName);
  PutText(o, "description", p.Description);
  PutText(o, "installDir", p.DefaultInstallDir, def.DefaultInstallDir);
  PutText(o, "programGroup", p.DefaultProgramGroup, def.DefaultProgramGroup);
  PutText(o, "title", p.SetupTitle, def.SetupTitle);
  PutText(o, "displayName", p.DisplayName, def.DisplayName);
  PutText(o, "displayVersion", p.DisplayVersion);
  PutText(o, "contact", p.Contact);
  PutText(o, "aboutUrl", p.AboutUrl);
  PutText(o, "helpLink", p.HelpLink);
  PutText(o, "updateUrl", p.UpdateUrl);
  PutText(o, "picture", p.SetupPicture);
  PutText(o, "splash", p.SplashBitmap);
  PutText(o, "agreement", p.AgreementFile);
  TOrderedJson font = FontJson(p.SetupFont, def.SetupFont);
  if (!font.empty()) o["font"] = font;
  if (!resources.IconPath.empty()) o["icon"] = resources.IconPath;
  if (resources.Version) {
    TOrderedJson version = VersionInfoJson(d, *resources.Version);
    if (!version.empty()) o["versionInfo"] = version;
  }
  root["product"] = o;
}

void WriteRequirements(const TSetupDescription& d, TOrderedJson& root) {
  TOrderedJson o = TOrderedJson::object();
  if (d.Requirements.ScreenClass) o["screen"] = CodeJson(ScreenClassNames(), d.Requirements.ScreenClass);
  Put(o, "colorDepth", d.Requirements.ColorDepth, 0);
  Put(o, "memoryMB", d.Requirements.Memory, 0);
  auto bound = [&](const char* key, const TVersionLimit& limit) {
    if (!(limit == TVersionLimit{})) o[key] = FormatVersionLimit(limit);
  };
  bound("windowsBound1", d.VersionBounds.Lower);
  bound("windowsBound2", d.VersionBounds.Upper);
  bound("shortBound1", d.VersionBounds.Short1);
  bound("shortBound2", d.VersionBounds.Short2);
  if (!o.empty()) root["requirements"] = o;
}

void WriteOptions(const std::array<uint8_t, OptionCount>& options, TOrderedJson& root) {
  static const char* const names[] = {"deviceOnly", "backgroundWindow", "requiresActiveSync", "requiresHotSync",
                                      "uninstallOption", "createUninstaller", "ownFonts"};
  auto def = DefaultOptions();
  TOrderedJson o = TOrderedJson::object();
  for (int i = 0; i < OptionCount; ++i)
    if (options[i] != def[i]) o[names[i]] = FlagJson(options[i]);
  if (!o.empty()) root["options"] = o;
}

void WriteSetupTypes(const TSetupDescription& d, TOrderedJson& root) {
  std::string all;
  for (const auto& c : d.Components) all += (all.empty() ? "" : "|") + c.Name;
  const auto& types = d.Properties.SetupTypeComponents;
  if (types[0] == all && types[1] == all && types[2] == all) return;
  for (const auto& list : types) root["setupTypes"].push_back(ListJson(list));
}

TOrderedJson MessagesJson(const TSetupMessages& table, int codePage = DefaultCodePage) {
  TOrderedJson o = TOrderedJson::object();
  for (int i = 0; i < MessageCount; ++i)
    if (table[i] != DefaultMessages()[i]) o[std::to_string(i)] = CodePageToUtf8(table[i], codePage);
  return o;
}

void WriteLanguages(const TSetupDescription& d, TOrderedJson& root) {
  if (d.Languages.empty()) {
    TOrderedJson m = MessagesJson(d.SingleTable.Texts);
    if (!m.empty()) root["messages"] = m;
    return;
  }
  bool anyDefault = false;
  for (const auto& lang : d.Languages) anyDefault |= lang.Default != 0;
  for (size_t i = 0; i < d.Languages.size(); ++i) {
    const TSetupLanguage& lang = d.Languages[i];
    TOrderedJson o;
    o["name"] = Utf8(lang.Name);
    Put(o, "id", lang.LanguageId, 0u);
    if (lang.Default || (i == 0 && !anyDefault)) o["default"] = FlagJson(lang.Default);
    // The setup does not say which code page a language's messages are in; Windows' own
    // for its id reads them right, and takes every byte back as it was.
    int codePage = CodePageOfLanguage(lang.LanguageId);
    if (codePage != DefaultCodePage) o["codePage"] = codePage;
    TOrderedJson m = MessagesJson(lang.Messages.Texts, codePage);
    if (!m.empty()) o["messages"] = m;
    root["languages"].push_back(o);
  }
}

std::string NamePart(const std::string& sourceName) {
  size_t cut = sourceName.find_last_of("\\/");
  std::string name = cut == std::string::npos ? sourceName : sourceName.substr(cut + 1);
  return name.empty() || name == "." || name == ".." ? "file" : name;
}

TOrderedJson FileJson(const TSetupInstallerFile& r, const TSetupFile& def, const std::string& folder, bool product) {
  const TSetupFile& f = r.File;
  TOrderedJson o;
  std::string name = NamePart(f.SourceName);
  o["source"] = folder + "/" + std::to_string(r.Id) + "/" + Utf8(name);
  PutText(o, "name", f.SourceName, name);
  o["id"] = r.Id;
  PutText(o, "destination", f.DestFolder, def.DestFolder);
  if (f.OverwriteMode != def.OverwriteMode) o["overwrite"] = CodeJson(OverwriteModeNames(), f.OverwriteMode);
  const std::pair<const char*, uint8_t> flags[] = {{"shared", f.Shared}, {"registerServer", f.RegisterServer},
                                                   {"registerServer2", f.RegisterServer2}, {"typeLibrary", f.TypeLibrary},
                                                   {"hotSync", f.HotSync}};
  for (const auto& [key, value] : flags)
    if (value) o[key] = FlagJson(value);
  if (f.Font == 1 && !f.FontFaceName.empty()) {
    o["font"] = Utf8(f.FontFaceName);
  } else {
    if (f.Font) o["font"] = FlagJson(f.Font);
    PutText(o, "fontFace", f.FontFaceName);
  }
  PutText(o, "group", f.Group);
  if (!f.Components.empty()) o["components"] = ListJson(f.Components);
  PutText(o, "condition", f.Condition);
  if (product) {
    o["version"] = FormatFileVersion(r.VersionHigh, r.VersionLow);
    auto date = FormatDosDateTime(r.DateTime);
    o["date"] = date ? TOrderedJson(*date) : TOrderedJson(r.DateTime);
  }
  TOrderedJson res = TOrderedJson::object();
  Put(res, "value", f.Reserved, def.Reserved);
  PutText(res, "text", f.ReservedText);
  if (f.ReservedFlag) res["flag"] = FlagJson(f.ReservedFlag);
  PutText(res, "fileName", f.ReservedFileName);
  if (!res.empty()) o["reserved"] = res;
  return o;
}

bool IsUninstallerRecord(const TSetupInstallerFile& f) { return f.File.Condition == "uninstaller"; }

void WriteFiles(const TSetupDescription& d, TOrderedJson& root) {
  std::vector<TSetupInstallerFile> products;
  for (const auto& f : d.ProductFiles)
    if (!IsUninstallerRecord(f)) products.push_back(f);
  for (const auto& f : products) root["files"].push_back(FileJson(f, DefaultProductFile(), "files", true));
  for (const auto& f : d.SupportFiles)
    root["supportFiles"].push_back(FileJson(f, DefaultSupportFile(), "support", false));
  TOrderedJson folders = TOrderedJson::object();
  auto list = [](const std::vector<std::string>& items) {
    TOrderedJson a = TOrderedJson::array();
    for (const auto& item : items) a.push_back(Utf8(item));
    return a;
  };
  if (d.FileFolders != DeriveFileFolders(products)) folders["files"] = list(d.FileFolders);
  if (d.ShortcutFolders != DeriveShortcutFolders(d.Shortcuts)) folders["shortcuts"] = list(d.ShortcutFolders);
  if (!folders.empty()) root["folders"] = folders;
}

// Two-space indents; a container of plain values that fits the line stays on one line, so
// that positions, lists and short entries read at a glance.
void Pretty(const TOrderedJson& j, size_t indent, std::string& out) {
  constexpr size_t LineWidth = 100;
  if (!j.is_structured() || j.empty()) {
    out += j.dump();
    return;
  }
  bool flat = true;
  for (const auto& item : j) flat &= !item.is_structured();
  std::string one = j.dump(-1, ' ', false);
  if (flat) {
    // nlohmann writes no blanks; add one after each separator outside texts. In a text a
    // backslash escapes the character after it, a quote or another backslash.
    std::string spaced;
    bool inText = false, escaped = false;
    for (char c : one) {
      spaced += c;
      if (escaped) escaped = false;
      else if (inText && c == '\\') escaped = true;
      else if (c == '"') inText = !inText;
      else if (!inText && (c == ',' || c == ':')) spaced += ' ';
    }
    if (indent + spaced.size() <= LineWidth) {
      out += spaced;
      return;
    }
  }
  std::string pad(indent + 2, ' ');
  out += j.is_object() ? "{\n" : "[\n";
  bool first = true;
  for (auto it = j.begin(); it != j.end(); ++it) {
    out += first ? "" : ",\n";
    first = false;
    out += pad;
    if (j.is_object()) out += TOrderedJson(it.key()).dump() + ": ";
    Pretty(*it, indent + 2, out);
  }
  out += "\n" + std::string(indent, ' ') + (j.is_object() ? "}" : "]");
}

}  // namespace

TProjectText WriteProject(const TSetupDescription& desc, const std::array<uint8_t, OptionCount>& options,
                          bool scriptsInFiles, const TDumpedResources& resources) {
  TWriteContext ctx;
  ctx.ScriptsInFiles = scriptsInFiles;
  TOrderedJson root;
  WriteProduct(desc, root, resources);
  WriteRequirements(desc, root);
  WriteOptions(options, root);
  WriteLanguages(desc, root);
  WriteVariablesAndComponents(desc, root);
  WriteSetupTypes(desc, root);
  WriteFiles(desc, root);
  WriteDevice(desc, root);
  WriteRecords(desc, root);
  WriteScriptsAndDialogs(desc, root, ctx);
  std::string json;
  Pretty(root, 0, json);
  return {json + "\n", std::move(ctx.Files)};
}

void SaveProjectFolder(const TProjectText& project, const std::filesystem::path& dir) {
  auto save = [&](const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
  };
  save(dir / "project.json", project.Json);
  for (const auto& file : project.ScriptFiles) save(dir / std::filesystem::path(file.Path), file.Text);
}

}  // namespace vnt
