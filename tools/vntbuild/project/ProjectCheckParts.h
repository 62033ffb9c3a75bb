// What the cross-reference checks share: the report with its places, and the project's
// scripts and texts, each with where it stands.
#pragma once

#include <string>
#include <vector>

#include "vntbuild/project/Project.h"
#include "vntbuild/project/ProjectNames.h"
#include "vntbuild/project/ProjectReferences.h"

namespace vnt {

class TCheckReport {
 public:
  explicit TCheckReport(const TProject& project) : Project(project) {}
  const TProject& Project;
  std::vector<std::string> Errors;
  TBuildWarnings Warnings;

  // "p.json: /path"
  std::string At(const std::string& jsonPath) const;
  // Item i of a name list: its own path when the list was written as an array.
  std::string ItemPath(const std::string& listPath, size_t i) const;
  // Statement i of the script at a JSON path: "start.vns:7", "p.json /scripts/start:3".
  std::string StatementPlace(const std::string& scriptPath, size_t i) const;
  void Error(const std::string& place, const std::string& what) { Errors.push_back(place + ": " + what); }
  void Warn(const std::string& place, const std::string& what) { Warnings.List.push_back({place, what}); }
};

// "/files/3": the path of item i of a JSON list.
inline std::string IndexedPath(const std::string& list, size_t i) { return list + "/" + std::to_string(i); }
// The JSON path of the entry that named a product or support file ("/files/3"): the files a
// wildcard matches share it.
std::string FileEntryPath(const TProject& project, const TProjectFile& file);

// " (did you mean "X"?)" with the nearest of names, or nothing.


struct TScriptAt {
  const TScript& Script;
  std::string Path;  // JSON path: "/scripts/start", "/dialogs/2/controls/5/script"
};
// The setup scripts and those of the dialogs the project gives, with their controls'.
std::vector<TScriptAt> ProjectScripts(const TProject& project);

enum class TTextKind { Text, Condition };
struct TTextAt {
  const std::string& Text;
  std::string Place;  // complete: "p.json: /files/3/destination" or "start.vns:7"
  TTextKind Kind;
};
// Every text the setup expands, and every condition, that the project gives.
std::vector<TTextAt> ProjectTexts(const TCheckReport& report);

// Undefined %Variables%, bindings nobody reads, bindings without percent signs, value
// controls bound to nothing.
void CheckVariables(TCheckReport& report);

}  // namespace vnt
