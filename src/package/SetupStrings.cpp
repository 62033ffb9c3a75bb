#include "package/SetupStrings.h"

#include <algorithm>

namespace vnt {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : char(c); };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

const TSetupMessage& CurrentMessageTable(const TSetupDescription& desc, const std::string& language) {
  const auto& langs = desc.Languages;
  if (langs.empty()) return desc.SingleTable;
  auto byName = std::find_if(langs.begin(), langs.end(),
                             [&](const TSetupLanguage& l) { return SameTextIgnoringCase(l.Name, language); });
  if (byName != langs.end()) return byName->Messages;
  auto byDefault = std::find_if(langs.begin(), langs.end(), [](const TSetupLanguage& l) { return l.Default != 0; });
  return byDefault != langs.end() ? byDefault->Messages : langs.front().Messages;
}

const std::string& GetMessage(const TSetupDescription& desc, int index, const std::string& language) {
  static const std::string none;
  if (index < 0 || index >= MessageCount) return none;
  return CurrentMessageTable(desc, language).Texts[index];
}

std::string ReplacePlaceholder(std::string text, const std::string& placeholder, const std::string& value) {
  if (placeholder.empty()) return text;
  for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
    text.replace(at, placeholder.size(), value);
  return text;
}

}  // namespace vnt
