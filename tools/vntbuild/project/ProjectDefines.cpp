#include "vntbuild/project/ProjectDefines.h"

#include <cctype>

#include "vntbuild/project/ProjectError.h"

namespace vnt {

namespace {

using TDefineMap = std::map<std::string, std::string>;

// The text with its ${NAME}s replaced; the failure's reason otherwise.
std::string Expand(const std::string& text, const TDefineMap& defines, std::string& problem) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "$${") == 0) {
      out += "${";
      i += 2;
    } else if (text.compare(i, 2, "${") == 0) {
      size_t close = text.find('}', i + 2);
      std::string name = close == std::string::npos ? "" : text.substr(i + 2, close - i - 2);
      if (!IsDefineName(name)) {
        problem = "\"${\" starts no ${NAME} (write $${ for the characters themselves)";
        return "";
      }
      auto value = defines.find(name);
      if (value == defines.end()) {
        problem = "${" + name + "} is not defined; give it with -D " + name + "=VALUE";
        return "";
      }
      out += value->second;
      i = close;
    } else {
      out += text[i];
    }
  }
  return out;
}

void ExpandAt(nlohmann::json& j, const TDefineMap& defines, const std::string& fileName, const std::string& path) {
  if (j.is_string()) {
    const std::string& text = j.get_ref<const std::string&>();
    if (text.find('$') == std::string::npos) return;
    std::string problem, expanded = Expand(text, defines, problem);
    if (!problem.empty()) throw EProjectError(fileName + ": " + (path.empty() ? "/" : path) + ": " + problem);
    j = expanded;
  } else if (j.is_object()) {
    for (auto it = j.begin(); it != j.end(); ++it) ExpandAt(it.value(), defines, fileName, path + "/" + it.key());
  } else if (j.is_array()) {
    for (size_t i = 0; i < j.size(); ++i) ExpandAt(j[i], defines, fileName, path + "/" + std::to_string(i));
  }
}

}  // namespace

bool IsDefineName(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  return true;
}

void ExpandDefines(nlohmann::json& json, const std::map<std::string, std::string>& defines,
                   const std::string& fileName) {
  ExpandAt(json, defines, fileName, "");
}

}  // namespace vnt
