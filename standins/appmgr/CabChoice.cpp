#include "CabChoice.h"

#include <cctype>

namespace appmgr {

namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> NameParts(const std::string& name) {
  std::vector<std::string> parts(1);
  for (char c : name) {
    if (c == '.' || c == '_' || c == '-' || c == ' ') parts.emplace_back();
    else parts.back() += c;
  }
  return parts;
}

}  // namespace

std::string ProcessorFamily(uint16_t architecture, uint32_t processorType) {
  switch (processorType) {
    case 10003: case 10004: return "SH3";  // SH3, SH3E
    case 10005: return "SH4";
    case 4000: return "MIPS";
    case 2577: case 1824: case 2080: case 2336: case 70001: return "ARM";
    case 386: case 486: case 586: return "X86";
    default: break;
  }
  switch (architecture) {
    case 0: return "X86";
    case 1: return "MIPS";
    case 4: return "SH3";  // SHx of an unknown type: the older family
    case 5: return "ARM";
    default: return "";
  }
}

std::string ChooseCabinet(const std::vector<std::string>& cabinets, const std::string& family) {
  if (cabinets.empty()) return "";
  if (!family.empty())
    for (const auto& cab : cabinets)
      for (const auto& part : NameParts(Upper(cab)))
        if (part.rfind(family, 0) == 0 || (family == "ARM" && part == "STRONGARM")) return cab;
  return cabinets.front();
}

std::vector<std::string> SplitCabFiles(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string name = list.substr(start, comma - start);
    size_t first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
    if (first != std::string::npos) names.push_back(name.substr(first, last - first + 1));
    start = comma + 1;
  }
  return names;
}

}  // namespace appmgr
