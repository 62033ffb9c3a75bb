// {"include": "file.json"} in place of a value: the value is read from that file, with its
// own folder for the paths in it and its own name in messages.
#include <algorithm>

#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/InputFiles.h"
#include "vntbuild/project/ProjectDefines.h"
#include "vntbuild/project/ProjectError.h"
#include "vntbuild/project/ProjectJson.h"

namespace vnt {

namespace {

namespace fs = std::filesystem;

std::string SameFileKey(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(fs::absolute(path), ec);
  return (ec ? fs::absolute(path) : canonical).lexically_normal().string();
}

}  // namespace

TReadContext FileContext(const TNode& node, const fs::path& file) {
  const TReadContext& at = node.Context();
  std::vector<std::string> chain = at.Chain;
  chain.push_back(at.FileName);
  std::string key = SameFileKey(file);
  auto seen = std::find_if(chain.begin(), chain.end(), [&](const std::string& f) { return SameFileKey(f) == key; });
  if (seen != chain.end()) {
    std::string cycle;
    for (auto it = seen; it != chain.end(); ++it) cycle += *it + " -> ";
    node.Fail("the include goes round in a circle: " + cycle + *seen);
  }
  TReadContext ctx = at;
  ctx.FileName = file.string();
  ctx.BaseDir = fs::absolute(file).parent_path();
  ctx.Chain = std::move(chain);
  ctx.IncludedFrom = node.Where();
  return ctx;
}

TJson ParseJsonFile(const std::string& text, const TReadContext& ctx) {
  TJson json = ParseProjectJson(text, ctx.FileName);
  ExpandDefines(json, ctx.Defines ? *ctx.Defines : TDefines{}, ctx.FileName);
  return json;
}

TNode TNode::Resolved() const {
  if (!J.is_object() || !J.contains("include")) return *this;
  TNode name(J.at("include"), ChildPath(Path, "include"), Ctx);
  if (J.size() != 1) Fail("an include stands alone in its object: {\"include\": \"file.json\"}");
  if (!Ctx.Included) Fail("no include is allowed here");
  fs::path file = name.FilePath();
  TReadContext ctx = FileContext(name, file);
  ctx.IncludedFrom = Where();
  std::string text;
  try {
    text = ReadInputFile(file, MaxTextFileSize);
  } catch (const EBuildError& e) {
    std::string problem = e.what();
    if (problem.rfind("file not found", 0) == 0) problem.replace(0, 4, "included file");
    name.Fail(problem);
  }
  if (Ctx.FilesRead) Ctx.FilesRead->push_back({file.string(), name.Where()});
  auto included = std::make_unique<TIncludedFile>(TIncludedFile{ParseJsonFile(text, ctx), ctx});
  Ctx.Included->push_back(std::move(included));
  const TIncludedFile& read = *Ctx.Included->back();
  return TNode(read.Json, "", read.Context).Resolved();
}

}  // namespace vnt
