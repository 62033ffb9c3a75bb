#include "vntbuild/wizard/WizardTexts.h"

#include "package/SetupStrings.h"
#include "package/SetupVariables.h"

namespace vnt {

namespace {

// Message numbers whose texts serve as captions, and what the caption adds to them.
struct TMessageCaption {
  const char* Id;
  int Message;
  const char* Suffix;
};
constexpr TMessageCaption MessageCaptions[] = {{"Cancel", MsgCancel, ""}, {"Browse", MsgBrowse, "..."}};

constexpr uint32_t PrimaryGerman = 0x07;

const TWizardTexts& GermanWizardTexts() {
  static const TWizardTexts texts = {
      {"Caption", "Installation von %SoftwareName%"},
      {"Back", "< &Zur\xFC" "ck"},
      {"Next", "&Weiter >"},
      {"Install", "&Installieren"},
      {"Finish", "&Fertig stellen"},
      {"Cancel", "Abbrechen"},
      {"Browse", "Durchsuchen..."},
      {"WelcomeTitle", "Willkommen bei der Installation von %SoftwareName%"},
      {"WelcomeText",
       "Dieser Assistent installiert %SoftwareName% auf Ihrem Computer und f\xFChrt Sie durch wenige kurze "
       "Schritte.\r\n\r\nKlicken Sie auf Weiter, um fortzufahren, oder auf Abbrechen, um die Installation "
       "zu verlassen, ohne etwas zu installieren."},
      {"LicenseTitle", "Lizenzvertrag"},
      {"LicenseSubtitle", "Bitte lesen Sie die folgenden Bedingungen, bevor Sie %SoftwareName% installieren."},
      {"LicenseAccept", "Ich &akzeptiere den Vertrag"},
      {"LicenseDecline", "Ich akzeptiere den Vertrag &nicht"},
      {"FolderTitle", "Zielordner"},
      {"FolderSubtitle", "Wohin soll %SoftwareName% installiert werden?"},
      {"FolderText",
       "%SoftwareName% wird in den folgenden Ordner installiert. Geben Sie einen anderen Pfad ein oder "
       "klicken Sie auf Durchsuchen, um einen anderen Ordner zu w\xE4hlen."},
      {"FolderEmpty", "Bitte w\xE4hlen Sie einen Ordner f\xFCr %SoftwareName%."},
      {"SpaceRequired", "Ben\xF6tigter Speicherplatz:"},
      {"SpaceAvailable", "Verf\xFC" "gbarer Speicherplatz:"},
      {"ComponentsTitle", "Komponenten"},
      {"ComponentsSubtitle", "Welche Teile von %SoftwareName% sollen installiert werden?"},
      {"ComponentsText", "Markieren Sie die Komponenten, die Sie installieren m\xF6" "chten."},
      {"SetupType", "Installationsart:"},
      {"Typical", "&Standard"},
      {"Compact", "&Minimal"},
      {"Custom", "&Benutzerdefiniert"},
      {"Description", "Beschreibung"},
      {"GroupTitle", "Programmgruppe"},
      {"GroupSubtitle", "Wo sollen die Verkn\xFCpfungen des Programms angelegt werden?"},
      {"GroupText",
       "Die Verkn\xFCpfungen von %SoftwareName% werden in der folgenden Programmgruppe angelegt. Geben Sie "
       "einen neuen Namen ein oder w\xE4hlen Sie eine vorhandene Gruppe."},
      {"GroupName", "&Programmgruppe:"},
      {"GroupExisting", "&Vorhandene Gruppen:"},
      {"ReadyTitle", "Bereit zur Installation"},
      {"ReadySubtitle", "Die Installation von %SoftwareName% kann jetzt beginnen."},
      {"ReadyText",
       "Klicken Sie auf Installieren, um zu beginnen, oder auf Zur\xFC" "ck, um Ihre Angaben zu \xE4ndern."},
      {"ReadyFolder", "Zielordner:"},
      {"ReadyGroup", "Programmgruppe:"},
      {"ReadyComponents", "Komponenten:"},
      {"InstallTitle", "Installation"},
      {"InstallSubtitle", "Bitte warten Sie, w\xE4hrend %SoftwareName% installiert wird."},
      {"InstallStatus", "Die Installation wird vorbereitet..."},
      {"InstallDone", "Die Installation ist abgeschlossen. Klicken Sie auf Weiter."},
      {"FinishTitle", "Die Installation von %SoftwareName% ist abgeschlossen"},
      {"FinishText",
       "%SoftwareName% wurde auf Ihrem Computer installiert.\r\n\r\nKlicken Sie auf Fertig stellen, um den "
       "Assistenten zu schlie\xDF" "en."},
      {"FinishLaunch", "%SoftwareName% &starten"},
  };
  return texts;
}

// Texts shown as captions, where "&" marks an access key; the others go to the window title
// and to a message box, which show it as it is.
bool IsCaption(const std::string& id) { return id != "Caption" && id != "FolderEmpty"; }

// The variable is expanded when it is set, so a name holding "&" comes into a caption as it is
// and would mark an access key: such a name goes in already doubled.
std::string ForCaption(const TSetupDescription& d, const std::string& id, std::string text) {
  if (!IsCaption(id)) return text;
  for (auto [upperName, value] : {std::pair{"%SOFTWARENAME%", d.Properties.SoftwareName},
                                  std::pair{"%COMPANYNAME%", d.Properties.CompanyName}}) {
    if (value.find('&') == std::string::npos) continue;
    std::string doubled;
    for (char c : value) doubled += c == '&' ? "&&" : std::string(1, c);
    ReplaceIgnoringCase(text, upperName, doubled);
  }
  return text;
}

ScriptStatement Assign(const TSetupDescription& d, const std::string& id, const std::string& text,
                       const std::string& condition = "") {
  ScriptStatement st;
  st.Opcode = OpAssignVariable;
  st.F[0] = WizardVariable(id);
  st.F[1] = ForCaption(d, id, text);
  st.Condition = condition;
  return st;
}

// The language %Language% falls back to when it names none: the first default, else the first.
size_t FallbackLanguage(const std::vector<TSetupLanguage>& languages) {
  for (size_t i = 0; i < languages.size(); ++i)
    if (languages[i].Default) return i;
  return 0;
}

const std::string& TextOf(const TWizardTexts& texts, const std::string& id) {
  static const std::string none;
  auto it = texts.find(id);
  return it == texts.end() ? none : it->second;
}

}  // namespace

std::string WizardVariable(const std::string& id) { return "%Wizard" + id + "%"; }

const TWizardTexts& EnglishWizardTexts() {
  static const TWizardTexts texts = {
      {"Caption", "%SoftwareName% Setup"},
      {"Back", "< &Back"},
      {"Next", "&Next >"},
      {"Install", "&Install"},
      {"Finish", "&Finish"},
      {"Cancel", "Cancel"},
      {"Browse", "Browse..."},
      {"WelcomeTitle", "Welcome to the %SoftwareName% Setup"},
      {"WelcomeText",
       "This wizard installs %SoftwareName% on your computer and takes you through a few short steps.\r\n\r\n"
       "Click Next to go on, or Cancel to leave Setup without installing anything."},
      {"LicenseTitle", "License Agreement"},
      {"LicenseSubtitle", "Please read the terms below before you install %SoftwareName%."},
      {"LicenseAccept", "I &accept the agreement"},
      {"LicenseDecline", "I do &not accept the agreement"},
      {"FolderTitle", "Installation Folder"},
      {"FolderSubtitle", "Where should %SoftwareName% be installed?"},
      {"FolderText",
       "Setup will install %SoftwareName% in the folder below. To install it somewhere else, type another "
       "path or click Browse."},
      {"FolderEmpty", "Please choose a folder for %SoftwareName%."},
      {"SpaceRequired", "Space required:"},
      {"SpaceAvailable", "Space available:"},
      {"ComponentsTitle", "Components"},
      {"ComponentsSubtitle", "Which parts of %SoftwareName% should be installed?"},
      {"ComponentsText", "Check the components you want to install and clear the others."},
      {"SetupType", "Setup type:"},
      {"Typical", "&Typical"},
      {"Compact", "C&ompact"},
      {"Custom", "C&ustom"},
      {"Description", "Description"},
      {"GroupTitle", "Program Group"},
      {"GroupSubtitle", "Where should Setup place the program's shortcuts?"},
      {"GroupText",
       "Setup will add the shortcuts of %SoftwareName% to the program group below. Type a new name, or pick "
       "one of the existing groups."},
      {"GroupName", "&Program group:"},
      {"GroupExisting", "&Existing groups:"},
      {"ReadyTitle", "Ready to Install"},
      {"ReadySubtitle", "Setup has what it needs to install %SoftwareName%."},
      {"ReadyText", "Click Install to begin, or Back to review or change your choices."},
      {"ReadyFolder", "Installation folder:"},
      {"ReadyGroup", "Program group:"},
      {"ReadyComponents", "Components:"},
      {"InstallTitle", "Installing"},
      {"InstallSubtitle", "Please wait while Setup installs %SoftwareName% on your computer."},
      {"InstallStatus", "Preparing the installation..."},
      {"InstallDone", "The installation is complete. Click Next to go on."},
      {"FinishTitle", "%SoftwareName% Setup is complete"},
      {"FinishText",
       "Setup has installed %SoftwareName% on your computer.\r\n\r\nClick Finish to close this wizard."},
      {"FinishLaunch", "&Launch %SoftwareName%"},
  };
  return texts;
}

TWizardTexts WizardTextsFor(const TSetupDescription& d, const TSetupLanguage* language,
                            const TWizardTranslations& translations) {
  TWizardTexts texts = EnglishWizardTexts();
  if (language && (language->LanguageId & 0x3FF) == PrimaryGerman)
    for (const auto& [id, text] : GermanWizardTexts()) texts[id] = text;
  // A message the table translates wins over the built-in text; an untranslated one does not.
  const TSetupMessages& table = language ? language->Messages.Texts : d.SingleTable.Texts;
  for (const auto& m : MessageCaptions) {
    const std::string& message = table[size_t(m.Message)];
    if (!message.empty() && message != DefaultMessages()[size_t(m.Message)]) texts[m.Id] = message + m.Suffix;
  }
  auto own = translations.find(language ? language->Name : std::string());
  if (own != translations.end())
    for (const auto& [id, text] : own->second) texts[id] = text;
  return texts;
}

TScript AssignWizardTexts(const TSetupDescription& d, const std::vector<std::string>& ids,
                          const TWizardTranslations& translations) {
  TScript script;
  const auto& languages = d.Languages;
  if (languages.empty()) {
    TWizardTexts texts = WizardTextsFor(d, nullptr, translations);
    for (const auto& id : ids) script.push_back(Assign(d, id, TextOf(texts, id)));
    return script;
  }
  size_t fallback = FallbackLanguage(languages);
  TWizardTexts base = WizardTextsFor(d, &languages[fallback], translations);
  for (const auto& id : ids) script.push_back(Assign(d, id, TextOf(base, id)));
  // %Language% compares with the names ignoring case, as the message tables are chosen.
  const std::string is = WizardVariable("LanguageIs");
  for (size_t i = 0; i < languages.size(); ++i) {
    if (i == fallback) continue;
    TWizardTexts texts = WizardTextsFor(d, &languages[i], translations);
    std::vector<ScriptStatement> changes;
    for (const auto& id : ids)
      if (TextOf(texts, id) != TextOf(base, id)) changes.push_back(Assign(d, id, TextOf(texts, id), is + " = 1|"));
    if (changes.empty()) continue;
    ScriptStatement test;
    test.Opcode = OpListContains;
    test.F = {is, languages[i].Name, "%Language%", "", ""};
    script.push_back(test);
    script.insert(script.end(), changes.begin(), changes.end());
  }
  return script;
}

}  // namespace vnt
