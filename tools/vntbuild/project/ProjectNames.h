// The readable names a project file uses for the package's codes (overwrite modes, registry
// roots, control kinds, ...), shared by the reader and the writer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

struct TNamedCode {
  const char* Name;
  int64_t Code;
};
using TNameTable = std::vector<TNamedCode>;

const TNameTable& OverwriteModeNames();
const TNameTable& RegRootNames();
const TNameTable& RegTypeNames();
const TNameTable& ShowCommandNames();
const TNameTable& ScreenClassNames();
const TNameTable& BackgroundModeNames();
const TNameTable& GradientNames();
const TNameTable& BackgroundSizeNames();
const TNameTable& BackItemPositionNames();
const TNameTable& BackItemEffectNames();
const TNameTable& ControlKindNames();
const TNameTable& ControlRoleNames();
const TNameTable& ButtonTypeNames();
const TNameTable& ProcessorNames();  // code = bit number
const TNameTable& SystemColorNames();  // code = the colour value, bit 31 set
const std::vector<const char*>& PackageScriptNames();  // by TPackageScript

std::optional<int64_t> CodeOfName(const TNameTable& table, const std::string& name);
// Empty when the code has no name.
std::string NameOfCode(const TNameTable& table, int64_t code);
std::string NameList(const TNameTable& table);  // "a, b, c" for messages

// How many single-character edits (ignoring case) make one text the other.
size_t EditDistance(const std::string& a, const std::string& b);
// The candidate a mistyped name most likely meant: the nearest within a few edits, ignoring
// case; null when none is that near.
const std::string* NearestName(const std::string& given, const std::vector<std::string>& candidates);
// " (did you mean \"x\"?)" with the known name closest to the given one, when one is close
// enough to be a likely misspelling; "" otherwise.
std::string DidYouMean(const std::string& given, const std::vector<std::string>& known);

// The names of a control's parameters P1..P6 by kind and role; "" where a slot has no name.
std::vector<std::string> ControlParamNames(uint8_t kind, uint8_t role);

}  // namespace vnt
