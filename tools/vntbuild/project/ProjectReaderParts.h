// The areas of a project file, each read by its own part of the reader.
#pragma once

#include "package/ScriptTypes.h"
#include "vntbuild/project/Project.h"
#include "vntbuild/project/ProjectJson.h"

namespace vnt {

void ReadProduct(TObject& root, TProject& project, bool& versionLanguageGiven);
// The setup's icon and version resource from the product object, after its names; whether
// the project gave the version resource's language.
void ReadSetupResources(TObject& product, TProject& project, bool& languageGiven);
void ReadLanguages(TObject& root, TProject& project);
void ReadRecords(TObject& root, TProject& project);
void ReadBackground(TObject& root, TProject& project);
void ReadDevice(TObject& root, TProject& project);
void ReadFiles(TObject& root, TProject& project);
void ReadScripts(TObject& root, TProject& project);
void ReadDialogs(TObject& root, TProject& project);
void ReadWizardPages(TObject& root, TProject& project);

// The keys a page shares with the pages of "dialogs": name, title, size, font, scripts and
// controls; the caller asks for its own keys and then calls Done().
TSetupDialog ReadDialogKeys(TObject& o, const TFontRecord& baseFont);

// The "codePage" an object gives, checked; def without one.
int CodePageOf(TObject o, int def);
// The text file (message or script file) the node names, noted as read; what: "script file".
// A file that cannot be read fails with the node's path.
std::string ReadNamedTextFile(const TNode& node, const std::string& what);
// A file the setup carries that the node names: a regular file within the format's sizes.
std::filesystem::path CarriedFilePath(const TNode& node);

// A script given inline (a text or an array of lines) or as {"file": ...}, compiled.
TScript ReadScript(const TNode& node);
// Reads each element of an optional array key with fn(TNode).
template <class Fn>
void ForEach(TObject& o, const std::string& key, Fn fn) {
  if (auto list = o.Get(key))
    for (size_t i = 0; i < list->Size(); ++i) fn((*list)[i]);
}

}  // namespace vnt
