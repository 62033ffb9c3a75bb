// The areas of a project file, each written by its own part of the writer.
#pragma once

#include <set>

#include <nlohmann/json.hpp>

#include "package/SetupDescription.h"
#include "vntbuild/project/ProjectNames.h"
#include "vntbuild/project/ProjectWriter.h"

namespace vnt {

using TOrderedJson = nlohmann::ordered_json;

struct TWriteContext {
  bool ScriptsInFiles = false;
  std::vector<TProjectScriptFile> Files;
  std::set<std::string> UsedNames;  // upper case
};

std::string Utf8(const std::string& text);
// A code's name, or the number where it has none.
TOrderedJson CodeJson(const TNameTable& names, int64_t code);
TOrderedJson FlagJson(uint8_t value);
TOrderedJson ColorJson(int32_t color);
// An array of names, or the stored text where an array could not say it.
TOrderedJson ListJson(const std::string& list);
// The keys of a font that differ from base; empty when none does.
TOrderedJson FontJson(const TFontRecord& font, const TFontRecord& base);
// Sets key to value when the value differs from the default the reader would use.
template <class T, class D>
void Put(TOrderedJson& o, const char* key, const T& value, const D& def) {
  if (!(value == def)) o[key] = value;
}
void PutText(TOrderedJson& o, const char* key, const std::string& value, const std::string& def = "");

void WriteVariablesAndComponents(const TSetupDescription& d, TOrderedJson& root);
void WriteDevice(const TSetupDescription& d, TOrderedJson& root);
// Shortcuts, registry changes, progress bitmaps, background, conduits, device platforms.
void WriteRecords(const TSetupDescription& d, TOrderedJson& root);
// A script inline or, for long ones when scripts go into files, {"file": ...} under baseName.
TOrderedJson ScriptJson(const TScript& script, const std::string& baseName, bool alwaysFile, TWriteContext& ctx);
void WriteScriptsAndDialogs(const TSetupDescription& d, TOrderedJson& root, TWriteContext& ctx);

}  // namespace vnt
