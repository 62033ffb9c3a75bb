#include "vntbuild/ProjectReader.h"

#include <fstream>
#include <sstream>

#include "package/SetupStrings.h"
#include "vntbuild/ProjectDefaults.h"
#include "vntbuild/ProjectReaderParts.h"

namespace vnt {

namespace {

std::string ReadTextFile(const std::filesystem::path& path, const std::string& shownName) {
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path)) throw EProjectError(shownName + ": cannot read the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TVersionLimit VersionLimit(TObject& o, const std::string& key, bool withServicePack) {
  auto node = o.Get(key);
  if (!node) return {};
  if (node->Json().is_number_integer()) return {uint32_t(node->Integer(0, UINT32_MAX)), 0};
  auto limit = ParseVersionLimit(node->Text());
  if (!limit || (!withServicePack && limit->ServicePack))
    node->Fail(withServicePack ? "expected a version \"major.minor.build\", optionally followed by \" SPmajor.minor\""
                               : "expected a version \"major.minor.build\"");
  return *limit;
}

void ReadRequirements(TObject& root, TSetupDescription& d) {
  auto node = root.Get("requirements");
  if (!node) return;
  TObject o(*node);
  d.Requirements.ScreenClass = uint8_t(o.Code("screen", ScreenClassNames(), 0, 0, 255));
  d.Requirements.ColorDepth = int32_t(o.Integer("colorDepth", 0, 0, INT32_MAX));
  d.Requirements.Memory = int32_t(o.Integer("memoryMB", 0, 0, INT32_MAX));
  d.VersionBounds.Lower = VersionLimit(o, "windowsBound1", true);
  d.VersionBounds.Upper = VersionLimit(o, "windowsBound2", true);
  d.VersionBounds.Short1 = VersionLimit(o, "shortBound1", false);
  d.VersionBounds.Short2 = VersionLimit(o, "shortBound2", false);
  o.Done();
}

void ReadOptions(TObject& root, TPackageContent& c) {
  c.Options = DefaultOptions();
  auto node = root.Get("options");
  if (!node) return;
  TObject o(*node);
  const std::pair<const char*, TOption> names[] = {
      {"deviceOnly", OptDeviceOnly},       {"backgroundWindow", OptBackgroundWindow},
      {"requiresActiveSync", OptRequiresAppMgr}, {"requiresHotSync", OptRequiresHotSync},
      {"uninstallOption", OptUninstallOption}, {"createUninstaller", OptCreateUninstaller},
      {"ownFonts", OptOwnFonts}};
  for (const auto& [name, option] : names) c.Options[option - 1] = o.Flag(name, c.Options[option - 1]);
  o.Done();
}

void ReadSetupTypes(TObject& root, TProject& project) {
  TSetupProperties& p = project.Content.Description.Properties;
  auto node = root.Get("setupTypes");
  if (!node) {
    std::string all;
    for (const auto& c : project.Content.Description.Components) all += (all.empty() ? "" : "|") + c.Name;
    p.SetupTypeComponents = {all, all, all};
    return;
  }
  if (node->Size() != SetupTypeCount) node->Fail("expected 3 component lists (setup types 0, 1 and 2)");
  for (int i = 0; i < SetupTypeCount; ++i) p.SetupTypeComponents[i] = (*node)[i].List();
}

// Message overrides by number, {"7": "text"}, over a table.
void ApplyMessages(const TNode& node, TSetupMessages& table) {
  TObject o(node);
  for (int i = 0; i < MessageCount; ++i)
    if (auto text = o.Get(std::to_string(i))) table[i] = text->Text();
  for (const auto& [key, value] : node.Json().items()) {
    bool number = key.size() <= 2 && key.find_first_not_of("0123456789") == std::string::npos && !key.empty();
    if (!number || std::to_string(std::stoi(key)) != key || std::stoi(key) >= MessageCount)
      TNode(value, ChildPath(node.JsonPath(), key), node.Context()).Fail("expected a message number from 0 to 68");
  }
}

// A table from the English texts, a message file and inline overrides.
TSetupMessages ReadMessageTable(TObject& o) {
  TSetupMessages table = DefaultMessages();
  if (auto file = o.Get("messageFile")) {
    std::filesystem::path path = file->FilePath();
    if (!std::filesystem::exists(path)) file->Fail("message file not found: " + path.string());
    TReadContext ctx{path.string(), path.parent_path()};
    TJson json = ParseProjectJson(ReadTextFile(path, ctx.FileName), ctx.FileName);
    ApplyMessages(TNode(json, "", ctx), table);
  }
  if (auto messages = o.Get("messages")) ApplyMessages(*messages, table);
  return table;
}

// The default wizard's texts a language gives, by their ids.
TWizardTexts ReadWizardTexts(const TNode& node) {
  TObject o(node);
  TWizardTexts texts;
  for (const auto& [id, english] : EnglishWizardTexts())
    if (auto text = o.Get(id)) texts[id] = text->Text();
  o.Done();  // an unknown id is refused with its likely spelling
  return texts;
}

// Bytes, or a text with K, M or G after the number.
uint64_t VolumeSize(const TNode& node) {
  std::string text = node.Json().is_string() ? node.Json().get<std::string>() : "";
  size_t unit = text.empty() ? std::string::npos : std::string("KMG").find(text.back());
  if (unit == std::string::npos) return uint64_t(node.Integer(0, INT64_MAX));
  TJson number = text.substr(0, text.size() - 1);
  return (uint64_t(1024) << (10 * unit)) * uint64_t(TNode(number, node.JsonPath(), node.Context()).Integer(0, INT32_MAX));
}

}  // namespace

void ReadProduct(TObject& root, TProject& project) {
  TSetupDescription& d = project.Content.Description;
  TSetupProperties& p = d.Properties;
  p = DefaultProperties();
  TObject o(root.Need("product"));
  p.SoftwareName = o.Need("name").Text();
  p.CompanyName = o.Need("company").Text();
  p.Description = o.Text("description");
  p.DefaultInstallDir = o.Text("installDir", p.DefaultInstallDir);
  p.DefaultProgramGroup = o.Text("programGroup", p.DefaultProgramGroup);
  p.SetupTitle = o.Text("title", p.SetupTitle);
  p.DisplayName = o.Text("displayName", p.DisplayName);
  p.DisplayVersion = o.Text("displayVersion");
  p.Contact = o.Text("contact");
  p.AboutUrl = o.Text("aboutUrl");
  p.HelpLink = o.Text("helpLink");
  p.UpdateUrl = o.Text("updateUrl");
  p.SetupPicture = o.Text("picture");
  p.SplashBitmap = o.Text("splash");
  p.AgreementFile = o.Text("agreement");
  if (auto font = o.Get("font")) p.SetupFont = font->Font(p.SetupFont);
  o.Done();
  ReadRequirements(root, d);
  ReadOptions(root, project.Content);
}

void ReadLanguages(TObject& root, TProject& project) {
  TSetupDescription& d = project.Content.Description;
  auto list = root.Get("languages");
  if (!list || list->Size() == 0) {
    d.SingleTable.Texts = ReadMessageTable(root);
    d.SingleTable.LanguageId = -1;
    return;
  }
  if (root.Has("messages") || root.Has("messageFile"))
    root.Need(root.Has("messages") ? "messages" : "messageFile")
        .Fail("a project with languages gives its messages in each language");
  bool anyDefault = false;
  for (size_t i = 0; i < list->Size(); ++i) {
    TObject o((*list)[i]);
    TSetupLanguage lang;
    lang.Name = o.Need("name").Text();
    lang.LanguageId = uint32_t(o.Integer("id", 0, 0, UINT32_MAX));
    anyDefault |= o.Has("default");
    lang.Default = o.Flag("default");
    lang.Messages.Texts = ReadMessageTable(o);
    lang.Messages.LanguageId = int32_t(lang.LanguageId);
    if (auto wizard = o.Get("wizard")) project.WizardTranslations[lang.Name] = ReadWizardTexts(*wizard);
    o.Done();
    d.Languages.push_back(std::move(lang));
  }
  if (!anyDefault) d.Languages.front().Default = 1;
  for (const auto& lang : d.Languages)
    if (lang.Default) d.DefaultLanguageName = lang.Name;
}

TProject ReadProject(const std::string& path) {
  TProject project;
  project.Path = path;
  std::filesystem::path file(path);
  project.BaseDir = std::filesystem::absolute(file).parent_path().string();
  TReadContext ctx{path, project.BaseDir};
  TJson json = ParseProjectJson(ReadTextFile(file, path), path);
  TNode top(json, "", ctx);
  TObject root(top);
  root.Integer("codePage", 1252, 1252, 1252);
  ReadRecords(root, project);  // components first: the setup types default to all of them
  ReadProduct(root, project);
  ReadSetupTypes(root, project);
  if (auto uninstaller = root.Get("uninstaller")) {
    std::filesystem::path path = uninstaller->FilePath();
    if (!std::filesystem::is_regular_file(path)) uninstaller->Fail("file not found: " + path.string());
    project.UninstallerPath = path.string();
  }
  if (auto size = root.Get("volumeSize")) project.VolumeSize = VolumeSize(*size);
  ReadLanguages(root, project);
  ReadBackground(root, project);
  ReadDevice(root, project);
  ReadFiles(root, project);
  ReadScripts(root, project);
  ReadDialogs(root, project);
  root.Done();
  return project;
}

}  // namespace vnt
