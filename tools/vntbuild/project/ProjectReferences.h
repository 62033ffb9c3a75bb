// Cross-reference checks of a project as read: every name that refers to another part of the
// project (a component, a page, a style dialog, a support file, a language, a variable) must
// name it. Broken references stop the build; what is legal but likely wrong is a warning.
#pragma once

#include <string>
#include <vector>

#include "vntbuild/project/Project.h"
#include "vntbuild/project/ProjectError.h"

namespace vnt {

struct TBuildWarning {
  std::string Place;  // "p.json: /dialogs/1/controls/4/binding" or "scripts/start.vns:7"
  std::string Text;
};

// What a build found legal but likely wrong, kind by kind.
struct TBuildWarnings {
  std::vector<TBuildWarning> List;
  std::string CountText() const;  // "1 warning", "2 warnings"
};

// "place: warning: text"
std::string FormatWarning(const TBuildWarning& w);

// Raises EProjectError with every broken reference, one per line, each with its place; answers
// the warnings. Dialogs the project does not give (the default wizard) are names to refer to,
// but are not judged themselves.
TBuildWarnings CheckProjectReferences(const TProject& project);

}  // namespace vnt
