// Script files are UTF-8 (a byte order mark at the start is dropped); the compiler works on
// the setup's 8-bit code page, in which the setup keeps and compares its texts.
#pragma once

#include <string>

namespace vnt {

// The file's text in the code page, line for line. Raises EScriptSyntaxError naming
// "file:line" for every line that is not valid UTF-8 or holds a character the code page lacks.
std::string ScriptSourceToCodePage(const std::string& utf8, const std::string& fileName, int codePage);

}  // namespace vnt
