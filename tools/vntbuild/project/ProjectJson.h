// Reading a project file's JSON: every value knows its JSON path, so that a wrong value is
// reported where it stands; objects refuse keys nobody asked for.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "package/PackagePrimitives.h"
#include "vntbuild/project/CodePage.h"
#include "vntbuild/project/Project.h"
#include "vntbuild/project/ProjectNames.h"

namespace vnt {

using TJson = nlohmann::json;

// Parses JSON with comments; syntax errors name the file and the line:column.
TJson ParseProjectJson(const std::string& text, const std::string& fileName);

// Values given on the command line (-D NAME=VALUE), which "${NAME}" in a text stands for.
using TDefines = std::map<std::string, std::string>;

struct TIncludedFile;

struct TReadContext {
  std::string FileName;  // for messages
  std::filesystem::path BaseDir;
  std::vector<TInputFile>* FilesRead = nullptr;  // where the files a project names are noted
  std::map<std::string, TScriptSource>* ScriptSources = nullptr;  // where scripts are noted
  std::set<std::string>* ArrayLists = nullptr;  // where name lists written as arrays are noted
  int CodePage = DefaultCodePage;  // of the texts read here
  const TDefines* Defines = nullptr;  // none: no "${NAME}" is defined
  // The files read for {"include": ...}, kept while the project is read; none: no includes.
  std::vector<std::unique_ptr<TIncludedFile>>* Included = nullptr;
  std::vector<std::string> Chain;  // the files that include this one, outermost first
  std::string IncludedFrom;  // the place of the include, "p.json: /languages"
};

struct TIncludedFile {
  TJson Json;
  TReadContext Context;
};

class TNode {
public:
  TNode(const TJson& json, std::string path, const TReadContext& ctx) : J(json), Path(std::move(path)), Ctx(ctx) {}
  [[noreturn]] void Fail(const std::string& what) const;
  std::string Where() const;  // "p.json: /files/3/source"

  const TJson& Json() const { return J; }
  const std::string& JsonPath() const { return Path; }
  const TReadContext& Context() const { return Ctx; }
  // The same value read with another context (a language's code page).
  TNode In(const TReadContext& ctx) const { return TNode(J, Path, ctx); }
  // The value itself, or for {"include": "file.json"} the included file's value.
  TNode Resolved() const;

  std::string Text() const;  // a JSON text, in the context's code page
  std::string Utf8() const;  // a JSON text as written, for texts outside the setup's code page
  int64_t Integer(int64_t min, int64_t max) const;  // a number, or a decimal/hex text
  uint8_t Flag() const;  // true/false or 0..255
  int64_t Code(const TNameTable& names, int64_t min, int64_t max) const;  // a name or a number
  int32_t Color() const;
  std::string List() const;  // an array of texts or a "|" text
  TFontRecord Font(const TFontRecord& base) const;
  std::filesystem::path FilePath() const;  // relative to the project's folder
  size_t Size() const;  // of an array
  TNode operator[](size_t i) const;

private:
  const TJson& J;
  std::string Path;
  const TReadContext& Ctx;
};

// An object whose keys are asked for one by one; Done() refuses the keys left over.
class TObject {
public:
  explicit TObject(const TNode& node);
  std::optional<TNode> Get(const std::string& key);
  TNode Need(const std::string& key);
  bool Has(const std::string& key) const { return Node.Json().contains(key); }
  const TNode& Self() const { return Node; }

  std::string Text(const std::string& key, const std::string& def = "");
  int64_t Integer(const std::string& key, int64_t def, int64_t min, int64_t max);
  uint8_t Flag(const std::string& key, uint8_t def = 0);
  int64_t Code(const std::string& key, const TNameTable& names, int64_t def, int64_t min, int64_t max);
  std::string List(const std::string& key);
  void Done() const;

private:
  TNode Node;
  std::vector<std::string> Known;
};

std::string ChildPath(const std::string& path, const std::string& key);

// The context of a JSON file that node names (an include, a message file): paths relative to
// its folder, the rest as at node. Refuses a file that is already being read, naming the chain.
TReadContext FileContext(const TNode& node, const std::filesystem::path& file);
// Parses a JSON file's text read in ctx and puts the -D values in place.
TJson ParseJsonFile(const std::string& text, const TReadContext& ctx);

}  // namespace vnt
