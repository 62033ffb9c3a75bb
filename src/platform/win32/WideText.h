// Texts between the ANSI code page the setup works in and the wide texts some system
// interfaces take.
#pragma once

#include <string>

namespace vnt {

std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::wstring& text);

}  // namespace vnt
