#include "vntbuild/project/ProjectReader.h"

#include "archive/ArchiveWriter.h"
#include "package/SetupStrings.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectReaderParts.h"

namespace vnt {

namespace {

// The project file itself, which no JSON path names.
std::string ReadProjectFile(const std::string& path) {
  try {
    return ReadInputFile(path, MaxTextFileSize);
  } catch (const EBuildError& e) {
    throw EProjectError(std::string("the project file: ") + e.what());
  }
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
    TReadContext ctx = FileContext(*file, file->FilePath());
    ctx.IncludedFrom.clear();  // its messages name the file; the project names it already
    TJson json = ParseJsonFile(ReadNamedTextFile(*file, "message file"), ctx);
    ApplyMessages(TNode(json, "", ctx).Resolved(), table);
  }
  if (auto messages = o.Get("messages")) ApplyMessages(*messages, table);
  return table;
}

// The default wizard's texts a language gives, by their ids: the wizard's own and those of
// the project's pages.
TWizardTexts ReadWizardTexts(const TNode& node, const std::vector<TWizardPage>& pages) {
  TObject o(node);
  TWizardTexts texts;
  for (const auto& [id, english] : EnglishWizardTexts())
    if (auto text = o.Get(id)) texts[id] = text->Text();
  for (const auto& page : pages)
    for (const auto& [id, own] : page.Texts)
      if (auto text = o.Get(id)) texts[id] = text->Text();
  o.Done();  // an unknown id is refused with its likely spelling
  return texts;
}

// Bytes, or a text with K, M or G after the number: 0, or from the smallest volume that
// takes a chunk to the size beyond which no archive grows.
uint64_t VolumeSize(const TNode& node) {
  constexpr uint64_t largest = uint64_t(4) << 30;
  std::string text = node.Json().is_string() ? node.Json().get<std::string>() : "";
  size_t unit = text.empty() ? std::string::npos : std::string("KMG").find(text.back());
  uint64_t scale = unit == std::string::npos ? 1 : uint64_t(1024) << (10 * unit);
  TJson number = unit == std::string::npos ? node.Json() : TJson(text.substr(0, text.size() - 1));
  int64_t count = TNode(number, node.JsonPath(), node.Context()).Integer(INT64_MIN, INT64_MAX);
  if (count != 0 && (count < 0 || uint64_t(count) > largest / scale || uint64_t(count) * scale < MinVolumeSize))
    node.Fail("expected 0 or a size from 72K (" + std::to_string(MinVolumeSize) + " bytes) to 4G (" +
              std::to_string(largest) + " bytes)");
  return uint64_t(count) * scale;
}

}  // namespace

int CodePageOf(TObject o, int def) {
  auto node = o.Get("codePage");
  if (!node) return def;
  int codePage = int(node->Integer(0, 65535));
  if (!IsKnownCodePage(codePage)) node->Fail("expected one of the code pages " + KnownCodePages());
  return codePage;
}

std::string ReadNamedTextFile(const TNode& node, const std::string& what) {
  std::filesystem::path path = node.FilePath();
  try {
    std::string text = ReadInputFile(path, MaxTextFileSize);
    if (auto* read = node.Context().FilesRead) read->push_back({path.string(), node.Where()});
    return text;
  } catch (const EBuildError& e) {
    std::string problem = e.what();
    if (problem.rfind("file not found", 0) == 0) problem.replace(0, 4, what);
    node.Fail(problem);
  }
}

std::filesystem::path CarriedFilePath(const TNode& node) {
  std::filesystem::path path = node.FilePath();
  if (std::string problem = InputProblem(path, MaxCarriedFileSize); !problem.empty()) node.Fail(problem);
  return path;
}

void ReadProduct(TObject& root, TProject& project, bool& versionLanguageGiven) {
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
  project.LaunchProgram = o.Text("launch");
  if (auto font = o.Get("font")) p.SetupFont = font->Font(p.SetupFont);
  ReadSetupResources(o, project, versionLanguageGiven);
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
    // The language's own texts are in its code page; its name, which scripts compare, is
    // in the setup's.
    TNode entry = (*list)[i];
    TReadContext ctx = entry.Context();
    ctx.CodePage = CodePageOf(TObject(entry), ctx.CodePage);
    TObject o(entry.In(ctx));
    o.Get("codePage");
    TSetupLanguage lang;
    TNode name = o.Need("name");
    TReadContext nameCtx = name.Context();
    nameCtx.CodePage = entry.Context().CodePage;
    lang.Name = name.In(nameCtx).Text();
    lang.LanguageId = uint32_t(o.Integer("id", 0, 0, UINT32_MAX));
    anyDefault |= o.Has("default");
    lang.Default = o.Flag("default");
    lang.Messages.Texts = ReadMessageTable(o);
    lang.Messages.LanguageId = int32_t(lang.LanguageId);
    if (auto wizard = o.Get("wizard")) project.WizardTranslations[lang.Name] = ReadWizardTexts(*wizard, project.WizardPages);
    o.Done();
    d.Languages.push_back(std::move(lang));
  }
  if (!anyDefault) d.Languages.front().Default = 1;
  for (const auto& lang : d.Languages)
    if (lang.Default) d.DefaultLanguageName = lang.Name;
}

TProject ReadProject(const std::string& path, const TReadOptions& options) {
  TProject project;
  project.Path = path;
  std::filesystem::path file(path);
  project.BaseDir = std::filesystem::absolute(file).parent_path().string();
  project.OtherInputs.push_back({path, "the project file"});
  std::vector<std::unique_ptr<TIncludedFile>> included;
  TReadContext ctx;
  ctx.FileName = path;
  ctx.BaseDir = project.BaseDir;
  ctx.FilesRead = &project.OtherInputs;
  ctx.ScriptSources = &project.ScriptSources;
  ctx.ArrayLists = &project.ArrayLists;
  ctx.Defines = &options.Defines;
  ctx.Included = &included;
  TJson json = ParseJsonFile(ReadProjectFile(path), ctx);
  // Every text is read in the code page the project gives.
  TNode top = TNode(json, "", ctx).Resolved();
  TReadContext topCtx = top.Context();
  topCtx.CodePage = CodePageOf(TObject(top), DefaultCodePage);
  TObject root(top.In(topCtx));
  root.Get("codePage");
  ReadRecords(root, project);  // components first: the setup types default to all of them
  bool versionLanguageGiven = false;
  ReadProduct(root, project, versionLanguageGiven);
  ReadSetupTypes(root, project);
  if (auto uninstaller = root.Get("uninstaller")) project.UninstallerPath = CarriedFilePath(*uninstaller).string();
  if (auto size = root.Get("volumeSize")) project.VolumeSize = VolumeSize(*size);
  ReadWizardPages(root, project);  // before the languages, which may translate their texts
  ReadLanguages(root, project);
  // The version texts are in the setup's default language unless the project says otherwise.
  for (const auto& lang : project.Content.Description.Languages)
    if (lang.Default && !versionLanguageGiven && lang.LanguageId > 0 && lang.LanguageId <= 0xFFFF)
      project.VersionInfo.Language = uint16_t(lang.LanguageId);
  ReadBackground(root, project);
  ReadDevice(root, project);
  ReadFiles(root, project);
  ReadScripts(root, project);
  ReadDialogs(root, project);
  root.Done();
  return project;
}

}  // namespace vnt
