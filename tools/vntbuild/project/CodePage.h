// Texts of the setup are 8-bit code page bytes; project and script files are UTF-8. The
// Windows code pages 1250 to 1258 are known. A byte a code page leaves unassigned stands for a
// character of its own (the C1 control of the same number below 0xA0, as Windows maps them,
// U+F700 plus the byte above), so every byte value survives the way there and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vnt {

constexpr int DefaultCodePage = 1252;

bool IsKnownCodePage(int codePage);
// "1250 (Central European), 1251 (Cyrillic), ...", for messages.
std::string KnownCodePages();

std::string CodePageToUtf8(const std::string& bytes, int codePage = DefaultCodePage);
// Empty when the text is not valid UTF-8 or holds a character the code page lacks; what
// then names the reason and the character's place in the text ("column 4").
std::optional<std::string> Utf8ToCodePage(const std::string& utf8, std::string& what,
                                          int codePage = DefaultCodePage);

// The code page Windows uses for a language id (1049 Russian: 1251); 1252 for the languages
// of Western Europe and those it does not know. A dump reads a language's texts in it.
int CodePageOfLanguage(uint32_t languageId);

// The text without a UTF-8 byte order mark at its start.
std::string WithoutByteOrderMark(const std::string& text);

}  // namespace vnt
