// Texts of the setup are 8-bit code page bytes; the project file is UTF-8. Only Windows code
// page 1252 is known; its five unassigned bytes map to the C1 controls of the same number, as
// Windows maps them, so every byte value survives the way there and back.
#pragma once

#include <optional>
#include <string>

namespace vnt {

constexpr int DefaultCodePage = 1252;

std::string CodePageToUtf8(const std::string& bytes);
// Empty when the text is not valid UTF-8 or holds a character the code page lacks; what
// then names the reason.
std::optional<std::string> Utf8ToCodePage(const std::string& utf8, std::string& what);

}  // namespace vnt
