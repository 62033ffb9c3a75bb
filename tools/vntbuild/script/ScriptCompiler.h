// Turns script source text into the statement list the setup runs.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "package/ScriptTypes.h"

namespace vnt {

// Every mistake found in one source text, each as "file:line: message", in line order.
class EScriptSyntaxError : public std::runtime_error {
public:
  explicit EScriptSyntaxError(std::vector<std::string> messages);
  const std::vector<std::string>& Messages() const { return Lines; }

private:
  std::vector<std::string> Lines;
};

// The compiler reads the whole text and reports all mistakes at once (up to MaxScriptErrors);
// fileName only names the source in the messages.
constexpr size_t MaxScriptErrors = 50;
TScript CompileScriptText(const std::string& text, const std::string& fileName);
// The same, with the source line of each statement in lines, for later messages about them.
TScript CompileScriptText(const std::string& text, const std::string& fileName, std::vector<int>& lines);

}  // namespace vnt
