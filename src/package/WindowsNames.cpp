#include "package/WindowsNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace vnt {

namespace {

constexpr std::string_view ReservedCharacters = "<>:\"/\\|?*";

// The names of devices, which Windows opens instead of a file, with any extension.
bool IsDeviceName(std::string_view name) {
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = char(std::toupper(static_cast<unsigned char>(c)));
  static const std::array<std::string_view, 4> plain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(plain.begin(), plain.end(), stem) != plain.end()) return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

std::string CharacterProblem(std::string_view literal) {
  for (char c : literal) {
    if (static_cast<unsigned char>(c) < 32) return "holds a control character (" + std::to_string(int(c)) + ")";
    if (ReservedCharacters.find(c) != std::string_view::npos)
      return std::string("holds \"") + c + "\", which Windows does not allow in a name";
  }
  return "";
}

// The literal parts of a text, its %Variables% left out.
std::vector<std::string_view> LiteralParts(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t at = 0;
  while (at <= text.size()) {
    size_t open = text.find('%', at), close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      parts.push_back(text.substr(at));
      break;
    }
    parts.push_back(text.substr(at, open - at));
    at = close + 1;
  }
  return parts;
}

size_t LiteralLength(std::string_view text) {
  size_t n = 0;
  for (auto part : LiteralParts(text)) n += part.size();
  return n;
}

// A name with variables: its literal parts can still hold what no expansion takes away.
std::string NameWithVariablesProblem(std::string_view name) {
  auto parts = LiteralParts(name);
  for (auto part : parts)
    if (std::string problem = CharacterProblem(part); !problem.empty()) return problem;
  if (LiteralLength(name) > MaxWindowsName) return "is longer than 255 characters";
  char last = parts.back().empty() ? '\0' : parts.back().back();
  if (last == '.' || last == ' ') return "ends in a full stop or a blank";
  return "";
}

std::vector<std::string_view> Split(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t at = 0;
  for (size_t cut; (cut = path.find('\\', at)) != std::string_view::npos; at = cut + 1)
    parts.push_back(path.substr(at, cut - at));
  parts.push_back(path.substr(at));
  return parts;
}

std::string Quoted(std::string_view name, const std::string& problem) {
  return "\"" + std::string(name) + "\" " + problem;
}

}  // namespace

std::string WindowsNameProblem(std::string_view name) {
  if (name.find('%') != std::string_view::npos) return NameWithVariablesProblem(name);
  if (name.empty()) return "is empty";
  if (std::string problem = CharacterProblem(name); !problem.empty()) return problem;
  if (name.size() > MaxWindowsName) return "is longer than 255 characters";
  if (name.back() == '.' || name.back() == ' ') return "ends in a full stop or a blank";
  if (IsDeviceName(name)) return "is the name of a device";
  return "";
}

std::string WindowsFolderProblem(std::string_view folder) {
  std::vector<std::string_view> folders = Split(folder);
  size_t first = 0;
  if (folder.size() >= 2 && folder[1] == ':' && std::isalpha(static_cast<unsigned char>(folder[0]))) {
    if (folders.front().size() != 2) return Quoted(folders.front(), "holds \":\" after its drive letter");
    first = 1;
  }
  for (size_t i = first; i < folders.size(); ++i) {
    std::string_view part = folders[i];
    if (part.empty() || part == "." || part == "..") continue;  // "\\server", "a\\", "..\\"
    if (std::string problem = WindowsNameProblem(part); !problem.empty()) return Quoted(part, problem);
  }
  return "";
}

std::string WindowsPathProblem(std::string_view folder, std::string_view name) {
  if (std::string problem = WindowsFolderProblem(folder); !problem.empty()) return problem;
  if (name.empty()) return "the file name is empty";
  for (std::string_view part : Split(name))
    if (std::string problem = WindowsNameProblem(part); !problem.empty())
      return part.empty() ? "the file name has an empty part" : Quoted(part, problem);
  size_t length = LiteralLength(folder) + LiteralLength(name);
  if (length > MaxWindowsPath)
    return std::string("the path is ") + (length < folder.size() + name.size() ? "at least " : "") +
           std::to_string(length) + " characters long; Windows takes at most " +
           std::to_string(MaxWindowsPath);
  return "";
}

}  // namespace vnt
