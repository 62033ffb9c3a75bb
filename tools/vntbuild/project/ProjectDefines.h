// "${NAME}" in the texts of a project file stands for the value given with -D NAME=VALUE;
// "$${" writes "${" itself. The setup's own "%Variable%" is left alone.
#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace vnt {

// A name as -D takes it: a letter or "_", then letters, digits and "_".
bool IsDefineName(const std::string& name);

// Puts the values in place in every text (not in keys) of json; an undefined name or a "${"
// without its name and "}" raises EProjectError with fileName and the JSON path.
void ExpandDefines(nlohmann::json& json, const std::map<std::string, std::string>& defines,
                   const std::string& fileName);

}  // namespace vnt
