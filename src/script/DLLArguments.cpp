#include "script/DLLArguments.h"

#include "script/ScriptContext.h"

namespace vnt {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool AllBlank(const std::string& text) {
  for (char c : text)
    if (!IsBlank(c)) return false;
  return true;
}

// The end of an unquoted token: a non-empty one becomes a Number argument.
void EndToken(std::string& token, std::vector<TDLLArgument>& items) {
  if (!AllBlank(token)) {
    size_t first = 0, last = token.size();
    while (IsBlank(token[first])) ++first;
    while (IsBlank(token[last - 1])) --last;
    items.push_back({TDLLArgumentKind::Number, "", TScriptContext::AsInteger(token.substr(first, last - first))});
  }
  token.clear();
}

TDLLArgumentList Refused(TDLLArgumentError error) { return {{}, error}; }

}  // namespace

TDLLArgumentList ParseDLLArguments(const std::string& text) {
  TDLLArgumentList list;
  std::string token;
  bool afterQuote = false;  // a quoted text ended and no comma came yet
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"') {
      if (afterQuote) return Refused(TDLLArgumentError::TextAfterQuote);
      if (!AllBlank(token)) return Refused(TDLLArgumentError::TextBeforeQuote);
      const size_t close = text.find('"', i + 1);
      if (close == std::string::npos) return Refused(TDLLArgumentError::UnterminatedQuote);
      list.Items.push_back({TDLLArgumentKind::Text, text.substr(i + 1, close - i - 1), 0});
      token.clear();
      afterQuote = true;
      i = close + 1;
      continue;
    }
    if (c == ',') {
      EndToken(token, list.Items);
      afterQuote = false;
    } else if (afterQuote && !IsBlank(c)) {
      return Refused(TDLLArgumentError::TextAfterQuote);
    } else {
      token.push_back(c);
    }
    ++i;
  }
  EndToken(token, list.Items);
  return list;
}

bool IsBareLibraryName(const std::string& name) {
  return name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace vnt
