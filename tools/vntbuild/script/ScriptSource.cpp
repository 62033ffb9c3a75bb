#include "vntbuild/script/ScriptSource.h"

#include <vector>

#include "vntbuild/project/CodePage.h"
#include "vntbuild/script/ScriptCompiler.h"

namespace vnt {

std::string ScriptSourceToCodePage(const std::string& utf8, const std::string& fileName, int codePage) {
  std::string text = WithoutByteOrderMark(utf8), out;
  std::vector<std::string> errors;
  size_t start = 0;
  for (int line = 1; start <= text.size(); ++line) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string what;
    if (auto bytes = Utf8ToCodePage(text.substr(start, end - start), what, codePage)) {
      out += *bytes;
    } else if (errors.size() < MaxScriptErrors) {
      errors.push_back(fileName + ":" + std::to_string(line) + ": " + what);
    }
    if (end < text.size()) out += '\n';
    start = end + 1;
  }
  if (!errors.empty()) throw EScriptSyntaxError(errors);
  return out;
}

}  // namespace vnt
