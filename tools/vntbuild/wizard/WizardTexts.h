// The texts of the default wizard, per language: built-in English and German, the captions
// that the message table already holds, and the project's own translations over them. Pages
// show them through variables that their scripts set for the current %Language%.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "package/ScriptTypes.h"
#include "package/SetupDescription.h"

namespace vnt {

// Text id ("WelcomeTitle", "Next", ...) -> text, which may hold %Variables%.
using TWizardTexts = std::map<std::string, std::string>;
// Language name (as the package names it) -> texts that replace the built-in ones.
using TWizardTranslations = std::map<std::string, TWizardTexts>;

// The variable a page shows for a text id: "%Wizard" + id + "%".
std::string WizardVariable(const std::string& id);

const TWizardTexts& EnglishWizardTexts();

// The texts for one language: English, the built-in translation of its language id, the
// captions its message table translates (Cancel, Browse), then the project's translation.
// No language (a package with one table): English and that table.
TWizardTexts WizardTextsFor(const TSetupDescription& d, const TSetupLanguage* language,
                            const TWizardTranslations& translations);

// Statements that set the given texts' variables: the fall-back language's texts first, then
// for every other language, when %Language% names it (ignoring case), the texts it changes.
TScript AssignWizardTexts(const TSetupDescription& d, const std::vector<std::string>& ids,
                          const TWizardTranslations& translations);

}  // namespace vnt
