// Product and support files of a project file: sources found on the author's disk (paths and
// wildcards), their records, ids, and the folder lists made from them.
#include <algorithm>
#include <set>

#include "package/WindowsNames.h"
#include "vntbuild/project/CodePage.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/project/ProjectDefaults.h"
#include "vntbuild/project/ProjectReaderParts.h"

namespace vnt {

namespace {

namespace fs = std::filesystem;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// "*" and "?" over a file name, ignoring case as the setup's systems do. A mismatch after a
// star only lets that last star take one more character: the earlier stars could not do
// better, so the time stays bounded by the pattern's length times the name's.
bool Matches(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      starName = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

struct TSourceMatch {
  fs::path Path;
  std::string SubFolder;  // below the wildcard's folder, "a\b\" or empty
};

// A name on the author's disk as a text of the setup.
std::string SetupText(const TNode& where, const fs::path& name) {
  std::u8string u8 = name.u8string();
  std::string what;
  auto text = Utf8ToCodePage(std::string(u8.begin(), u8.end()), what, where.Context().CodePage);
  if (!text) where.Fail("the file name " + name.string() + " cannot be a setup's: " + what);
  return *text;
}

std::string BackslashFolder(const TNode& where, const fs::path& relative) {
  std::string folder;
  for (const auto& part : relative)
    if (part != ".") folder += SetupText(where, part) + "\\";
  return folder;
}

// A wildcard's match: folders are passed over, anything else but a file is refused.
bool TakesEntry(const TNode& source, const fs::directory_entry& e, const std::string& pattern) {
  if (!Matches(pattern, e.path().filename().string())) return false;
  std::error_code ec;
  if (fs::is_directory(e.path(), ec)) return false;
  if (std::string problem = InputProblem(e.path(), MaxCarriedFileSize); !problem.empty()) source.Fail(problem);
  return true;
}

std::vector<TSourceMatch> ExpandSource(const TNode& source, bool recursive) {
  fs::path path = source.FilePath();
  std::string pattern = path.filename().string();
  if (pattern.find_first_of("*?") == std::string::npos) {
    if (recursive) source.Fail("\"recursive\" needs a wildcard in the source");
    return {{fs::absolute(CarriedFilePath(source)).lexically_normal(), ""}};
  }
  fs::path folder = path.parent_path();
  if (folder.string().find_first_of("*?") != std::string::npos) source.Fail("wildcards stand only in the file name");
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) source.Fail("folder not found: " + folder.string());
  std::vector<TSourceMatch> found;
  auto take = [&](const fs::directory_entry& e) {
    if (TakesEntry(source, e, pattern))
      found.push_back({fs::absolute(e.path()).lexically_normal(), BackslashFolder(source, e.path().parent_path().lexically_relative(folder))});
  };
  try {
    if (recursive)
      for (const auto& e : fs::recursive_directory_iterator(folder, fs::directory_options::skip_permission_denied)) take(e);
    else
      for (const auto& e : fs::directory_iterator(folder)) take(e);
  } catch (const fs::filesystem_error& e) {
    source.Fail(std::string("cannot list the folder: ") + e.what());
  }
  if (found.empty()) source.Fail("no file matches \"" + source.Json().get<std::string>() + "\"");
  std::sort(found.begin(), found.end(), [](const TSourceMatch& a, const TSourceMatch& b) {
    return a.Path.generic_string() < b.Path.generic_string();
  });
  return found;
}

// The record fields a file entry gives, over the defaults.
void ReadFileFields(TObject& o, TSetupFile& f) {
  if (auto destination = o.Get("destination")) {
    f.DestFolder = destination->Text();
    if (std::string problem = WindowsFolderProblem(f.DestFolder); !problem.empty()) destination->Fail(problem);
  }
  // Folder lists and device groups compare destinations as texts ending in a backslash.
  if (!f.DestFolder.empty() && f.DestFolder.back() != '\\') f.DestFolder += '\\';
  f.OverwriteMode = uint8_t(o.Code("overwrite", OverwriteModeNames(), f.OverwriteMode, 0, 255));
  f.Shared = o.Flag("shared");
  f.RegisterServer = o.Flag("registerServer");
  f.RegisterServer2 = o.Flag("registerServer2");
  f.TypeLibrary = o.Flag("typeLibrary");
  f.HotSync = o.Flag("hotSync");
  if (auto font = o.Get("font")) {
    if (font->Json().is_string()) {
      f.Font = 1;
      f.FontFaceName = font->Text();
    } else {
      f.Font = font->Flag();
    }
  }
  if (auto face = o.Get("fontFace")) {
    if (!f.FontFaceName.empty()) face->Fail("the face name is given twice (\"font\" holds it already)");
    f.FontFaceName = face->Text();
  }
  f.Group = o.Text("group");
  f.Components = o.List("components");
  f.Condition = o.Text("condition");
  if (auto node = o.Get("reserved")) {
    TObject r(*node);
    f.Reserved = uint16_t(r.Integer("value", f.Reserved, 0, 0xFFFF));
    f.ReservedText = r.Text("text");
    f.ReservedFlag = r.Flag("flag");
    f.ReservedFileName = r.Text("fileName");
    r.Done();
  }
}

// Support files carry neither: the setup restores them as they are.
void ReadVersionAndDate(TObject& o, TProjectFile& file) {
  if (auto version = o.Get("version")) {
    auto v = ParseFileVersion(version->Text());
    if (!v) version->Fail("expected a version \"major.minor.release.build\", each part up to 65535");
    std::tie(file.Record.VersionHigh, file.Record.VersionLow) = *v;
    file.VersionGiven = true;
  }
  if (auto date = o.Get("date")) {
    auto value = date->Json().is_number() ? std::optional<uint32_t>(uint32_t(date->Integer(0, UINT32_MAX)))
                                          : ParseDosDateTime(date->Text());
    if (!value) date->Fail("expected a date \"YYYY-MM-DDThh:mm:ss\" from 1980 to 2107");
    file.Record.DateTime = *value;
    file.DateGiven = true;
  }
}

void ReadFileEntry(const TNode& node, const TSetupFile& defaults, bool product, std::vector<TProjectFile>& out,
                   std::vector<std::pair<int32_t, std::string>>& explicitIds) {
  TObject o(node);
  TNode source = o.Need("source");
  auto matches = ExpandSource(source, o.Flag("recursive"));
  TProjectFile file;
  file.Record.File = defaults;
  ReadFileFields(o, file.Record.File);
  auto single = [&](const char* key) {
    auto n = o.Get(key);
    if (n && matches.size() != 1) n->Fail(std::string("\"") + key + "\" needs a source that names one file");
    return n;
  };
  auto name = single("name");
  auto id = single("id");
  if (product) ReadVersionAndDate(o, file);
  o.Done();
  if (id) {
    file.Record.Id = int32_t(id->Integer(1, INT32_MAX));
    explicitIds.push_back({file.Record.Id, id->JsonPath()});
  }
  for (const auto& m : matches) {
    TProjectFile f = file;
    f.SourcePath = m.Path.string();
    f.Record.File.SourceName = name ? name->Text() : SetupText(source, m.Path.filename());
    f.Record.File.DestFolder += m.SubFolder;
    f.Origin = source.Where();
    if (std::string problem = WindowsPathProblem(f.Record.File.DestFolder, f.Record.File.SourceName); !problem.empty())
      (name ? *name : source).Fail(problem);
    std::error_code ec;
    auto size = fs::file_size(m.Path, ec);
    if (ec || size > UINT32_MAX) source.Fail("cannot take the file " + m.Path.string() + " (larger than 4 GB?)");
    f.Record.File.Size = uint32_t(size);
    out.push_back(std::move(f));
  }
}

void ReadFileList(TObject& root, const std::string& key, const TSetupFile& defaults, bool product,
                  std::vector<TProjectFile>& out) {
  std::vector<std::pair<int32_t, std::string>> explicitIds;
  ForEach(root, key, [&](const TNode& n) { ReadFileEntry(n, defaults, product, out, explicitIds); });
  std::set<int32_t> used;
  for (const auto& [id, where] : explicitIds)
    if (!used.insert(id).second)
      TNode(root.Self().Json(), where, root.Self().Context()).Fail("the id " + std::to_string(id) + " is given twice");
  int32_t next = 1;
  for (auto& f : out) {
    if (f.Record.Id != UnassignedFileId) continue;
    while (used.count(next)) ++next;
    f.Record.Id = next;
    used.insert(next);
  }
}

std::vector<std::string> ReadFolderList(TObject& o, const std::string& key, std::vector<std::string> derived) {
  auto node = o.Get(key);
  if (!node) return derived;
  std::vector<std::string> list;
  for (size_t i = 0; i < node->Size(); ++i) list.push_back((*node)[i].Text());
  return list;
}

}  // namespace

void ReadFiles(TObject& root, TProject& project) {
  TSetupDescription& d = project.Content.Description;
  ReadFileList(root, "files", DefaultProductFile(), true, project.ProductFiles);
  ReadFileList(root, "supportFiles", DefaultSupportFile(), false, project.SupportFiles);
  std::vector<TSetupInstallerFile> records;
  for (const auto& f : project.ProductFiles) records.push_back(f.Record);
  auto node = root.Get("folders");
  d.FileFolders = DeriveFileFolders(records);
  d.ShortcutFolders = DeriveShortcutFolders(d.Shortcuts);
  if (!node) return;
  TObject o(*node);
  d.FileFolders = ReadFolderList(o, "files", d.FileFolders);
  d.ShortcutFolders = ReadFolderList(o, "shortcuts", d.ShortcutFolders);
  o.Done();
}

}  // namespace vnt
