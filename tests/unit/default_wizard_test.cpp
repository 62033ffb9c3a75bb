#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "FakeBuiltins.h"
#include "package/PackageStream.h"
#include "package/SetupStrings.h"
#include "script/ListCommands.h"
#include "script/ScriptInterpretor.h"
#include "script/ValueCommands.h"
#include "ui/PageFlow.h"
#include "vntbuild/wizard/DefaultWizard.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSetupLanguage Language(const std::string& name, uint32_t id, bool isDefault) {
  TSetupLanguage lang;
  lang.Name = name;
  lang.LanguageId = id;
  lang.Default = isDefault ? 1 : 0;
  lang.Messages.Texts = DefaultMessages();
  return lang;
}

// A product with nothing optional: no agreement, components or shortcuts.
TSetupDescription Plain() {
  TSetupDescription d;
  d.Properties.SoftwareName = "Tour";
  d.Languages = {Language("English", 0x409, true)};
  return d;
}

TSetupDescription Full() {
  TSetupDescription d = Plain();
  d.Properties.AgreementFile = "license.txt";
  d.Components = {{{"Core", "The program", ""}, 0, 0, 0}, {{"Docs", "Manuals", ""}, 0, 0, 0}};
  d.Properties.SetupTypeComponents = {"Core|Docs", "Core", "Core|Docs"};
  d.Shortcuts.push_back({});
  return d;
}

std::vector<std::string> Names(const TDialogSection& s) {
  std::vector<std::string> names;
  for (const auto& d : s.Dialogs) names.push_back(d.Name);
  return names;
}

std::vector<const TControlDef*> Of(const TSetupDialog& page, uint8_t kind) {
  std::vector<const TControlDef*> found;
  for (const auto& c : page.Controls)
    if (c.Kind == kind) found.push_back(&c);
  return found;
}

std::vector<uint8_t> Opcodes(const TScript& s) {
  std::vector<uint8_t> ops;
  for (const auto& st : s) ops.push_back(st.Opcode);
  return ops;
}

const TSetupDialog& PageNamed(const TDialogSection& s, const std::string& name) {
  const TSetupDialog* d = FindDialog(s.Dialogs, name);
  if (!d) throw std::runtime_error("no page " + name);
  return *d;
}

using Names_ = std::vector<std::string>;

}  // namespace

TEST(DefaultWizard, OptionalPagesFollowTheDescription) {
  TDialogSection plain = DefaultWizard(Plain());
  EXPECT_EQ(Names(plain), (Names_{"Welcome", "Folder", "Ready", "INSTALL", "Finish"}));
  TDialogSection full = DefaultWizard(Full());
  EXPECT_EQ(Names(full), (Names_{"Welcome", "License", "Folder", "Components", "Group", "Ready", "INSTALL", "Finish"}));
  EXPECT_EQ(full.FirstPage, "Welcome");
  EXPECT_EQ(full.LastPage, "Finish");

  // Setup types only when they choose differently; without them no radio buttons.
  EXPECT_EQ(Of(PageNamed(full, "Components"), KindRadioBox).size(), 3u);
  TSetupDescription oneType = Full();
  oneType.Properties.SetupTypeComponents = {"Core|Docs", "Core|Docs", "Core|Docs"};
  EXPECT_TRUE(Of(PageNamed(DefaultWizard(oneType), "Components"), KindRadioBox).empty());

  // The summary names only what the wizard asked for.
  auto summary = [](const TDialogSection& s) { return Of(PageNamed(s, "Ready"), KindList).at(0)->P[1]; };
  EXPECT_EQ(summary(plain).find("%ProgramGroup%"), std::string::npos);
  EXPECT_EQ(summary(plain).find("%WizardReadyList%"), std::string::npos);
  EXPECT_NE(summary(full).find("%ProgramGroup%"), std::string::npos);
  EXPECT_NE(summary(full).find("%WizardReadyList%"), std::string::npos);
}

TEST(DefaultWizard, OnlyAPackageWithoutDialogsGetsIt) {
  TPackageContent own;
  own.Description = Full();
  own.Description.Dialogs.Dialogs = {TSetupDialog{}};
  own.Description.Dialogs.Dialogs[0].Name = "Mine";
  EXPECT_FALSE(AddDefaultWizardIfNone(own));
  EXPECT_EQ(Names(own.Description.Dialogs), (Names_{"Mine"}));
  TPackageContent none;
  none.Description = Full();
  EXPECT_TRUE(AddDefaultWizardIfNone(none));
  EXPECT_EQ(none.Description.Dialogs.FirstPage, "Welcome");
}

// Stored and read back, the section gives the pages and the first and last page the wizard
// needs; Next and Back walk them in order, and Next from the ready page reaches "INSTALL".
TEST(DefaultWizard, StoredPagesWalkInOrder) {
  TMemoryStream stored;
  WriteDialogSection(stored, DefaultWizard(Full()).Dialogs);
  stored.Seek(0);
  TDialogSection read = ReadDialogSection(stored);
  ASSERT_EQ(read, DefaultWizard(Full()));
  Names_ forward = {"Welcome", "License", "Folder", "Components", "Group", "Ready", "INSTALL"};
  for (size_t i = 0; i + 1 < forward.size(); ++i) {
    TPageFlow flow{read.Dialogs, forward[i], "", read.FirstPage, read.LastPage};
    EXPECT_EQ(NextPageName(flow), forward[i + 1]);
    if (i > 0) {
      EXPECT_EQ(PreviousPageName(flow), forward[i - 1]);
    }
  }
}

// Back, Next and Cancel are the first three buttons of every page (so their component names
// are Button1 to Button3), with their types and scripts.
TEST(DefaultWizard, ButtonsAndTheirScripts) {
  TDialogSection s = DefaultWizard(Full());
  std::map<std::string, std::string> nextCommand = {
      {"Welcome", "NextPage"}, {"License", "NextPage"}, {"Folder", "NextPage"}, {"Components", "NextPage"},
      {"Group", "NextPage"},   {"Ready", "DisableButton"},   {"INSTALL", "GoToPage"}, {"Finish", "FinishSetup"}};
  for (const auto& page : s.Dialogs) {
    SCOPED_TRACE(page.Name);
    auto buttons = Of(page, KindButton);
    ASSERT_GE(buttons.size(), 3u);
    const TControlDef &back = *buttons[0], &next = *buttons[1], &cancel = *buttons[2];
    EXPECT_EQ(back.P[4] + next.P[4] + cancel.P[4], "backnextcancel");
    EXPECT_EQ(back.P[2] + next.P[2] + cancel.P[2], "021");  // plain, default, cancel button
    EXPECT_EQ(Opcodes(back.Script), std::vector<uint8_t>{OpPreviousPage});
    EXPECT_EQ(Opcodes(cancel.Script), std::vector<uint8_t>{OpCancelSetup});
    EXPECT_EQ(OpcodeName(next.Script.back().Opcode), nextCommand[page.Name]);
  }
  EXPECT_EQ(Of(PageNamed(s, "Ready"), KindButton)[1]->Script.front().Opcode, OpStartInstallation);
  EXPECT_EQ(Of(PageNamed(s, "INSTALL"), KindButton)[1]->Script.back().F[0], "Finish");
  // The folder page goes on only with a folder; its fourth button browses for one.
  const TSetupDialog& folder = PageNamed(s, "Folder");
  const TScript& folderNext = Of(folder, KindButton)[1]->Script;
  EXPECT_EQ(folderNext.back().Condition, "%InstallDir% != |");
  EXPECT_EQ(Opcodes(Of(folder, KindButton)[3]->Script), std::vector<uint8_t>{OpBrowseFolder});
  // The licence holds Next back until it is accepted; the radio pair shares one variable.
  const TSetupDialog& license = PageNamed(s, "License");
  auto radios = Of(license, KindRadioBox);
  ASSERT_EQ(radios.size(), 2u);
  EXPECT_EQ(radios[0]->Binding + radios[0]->P[3] + radios[1]->Binding + radios[1]->P[3], "%Agreement%1%Agreement%0");
  EXPECT_EQ(Opcodes(radios[0]->Script), std::vector<uint8_t>{OpEnableButton});
  EXPECT_EQ(Opcodes(radios[1]->Script), std::vector<uint8_t>{OpDisableButton});
  EXPECT_EQ(license.AfterBuildScript.at(1).Condition, "%Agreement% != 1|");
  // The progress page refuses to be left but by its Next.
  const TSetupDialog& install = PageNamed(s, "INSTALL");
  EXPECT_EQ(install.LeaveScript.at(0).Opcode, OpGoToPage);
  EXPECT_EQ(install.LeaveScript.at(0).F[0], "INSTALL");
}

// Runs page scripts natively with the value and list commands, as the setup would.
struct WizardTexts : ::testing::Test {
  TSetupDescription Desc = Full();
  TFakeBuiltins Builtins;
  TSetupVariables V{Desc, Builtins};
  TScriptContext Ctx{V};
  TScriptInterpreter I{Ctx};
  TValueCommands Values{1};

  WizardTexts() {
    Values.Register(Ctx);
    RegisterListCommands(Ctx);
  }
  std::string Shown(const TSetupDialog& page, const std::string& language, const std::string& text) {
    V.SetVariable("%Language%", language);
    I.RunScript(page.BeforeBuildScript);
    return V.ExpandText(text);
  }
};

TEST_F(WizardTexts, EveryCaptionIsAVariableItsPageSets) {
  const std::regex variable("%Wizard[A-Za-z]+%");
  for (const auto& page : DefaultWizard(Desc).Dialogs) {
    SCOPED_TRACE(page.Name);
    std::set<std::string> set;
    for (const auto& st : page.BeforeBuildScript)
      if (st.Opcode == OpAssignVariable) set.insert(st.F[0]);
    std::vector<std::string> captions = {page.Title};
    for (const auto& c : page.Controls)
      if (c.Kind == KindLabel || c.Kind == KindButton || c.Kind == KindRadioBox || c.Kind == KindFrame ||
          (c.Kind == KindList && c.Role == RoleMemo))
        captions.push_back(c.Kind == KindList ? c.P[1] : c.P[0]);
    for (const auto& caption : captions) {
      // Besides the wizard's texts only the values the summary shows, its bars and indents.
      std::string rest = std::regex_replace(caption, std::regex("%Wizard[A-Za-z]+%|%InstallDir%|%ProgramGroup%"), "");
      EXPECT_EQ(rest.find_first_not_of(" |"), std::string::npos) << "literal text in " << caption;
      for (std::sregex_iterator m(caption.begin(), caption.end(), variable), end; m != end; ++m)
        EXPECT_TRUE(set.count(m->str())) << m->str() << " is not set by the page";
    }
  }
}

TEST_F(WizardTexts, TheCurrentLanguageChoosesTheTexts) {
  TSetupLanguage german = Language("Deutsch", 0x0407, false);
  german.Messages.Texts[1] = "Abbruch";  // the table's own word wins over the built-in one
  TSetupLanguage french = Language("Fran\xE7" "ais", 0x040C, false);
  Desc.Languages.push_back(german);
  Desc.Languages.push_back(french);
  TWizardTranslations own = {{"Fran\xE7" "ais", {{"Next", "&Suivant >"}}}, {"English", {{"Back", "< Previous"}}}};
  TSetupDialog welcome = DefaultWizard(Desc, own).Dialogs[0];

  EXPECT_EQ(Shown(welcome, "English", "%WizardWelcomeTitle%"), "Welcome to the Tour Setup");
  EXPECT_EQ(Shown(welcome, "English", "%WizardBack%|%WizardCancel%"), "< Previous|Cancel");
  // Names compare ignoring case, as for the message tables.
  EXPECT_EQ(Shown(welcome, "deutsch", "%WizardWelcomeTitle%"), "Willkommen bei der Installation von Tour");
  EXPECT_EQ(Shown(welcome, "Deutsch", "%WizardNext%|%WizardCancel%|%WizardBack%"), "&Weiter >|Abbruch|< &Zur\xFC" "ck");
  // A language without built-in texts: English, with the project's own words.
  EXPECT_EQ(Shown(welcome, "Fran\xE7" "ais", "%WizardNext%|%WizardBack%"), "&Suivant >|< &Back");
  // Back to a language after another: every text is set again, none left from before.
  EXPECT_EQ(Shown(welcome, "English", "%WizardNext%|%WizardWelcomeTitle%"), "&Next >|Welcome to the Tour Setup");
  // A name that no language has: the default language's texts, as the messages do.
  EXPECT_EQ(Shown(welcome, "Klingon", "%WizardNext%"), "&Next >");
}

TEST_F(WizardTexts, TheDefaultLanguageNeedNotBeFirst) {
  Desc.Languages = {Language("English", 0x409, false), Language("Deutsch", 0x407, true)};
  TSetupDialog folder = PageNamed(DefaultWizard(Desc), "Folder");
  EXPECT_EQ(Shown(folder, "", "%WizardBrowse%"), "Durchsuchen...");
  EXPECT_EQ(Shown(folder, "ENGLISH", "%WizardBrowse%"), "Browse...");
}

TEST_F(WizardTexts, TheSummaryListsTheChosenComponents) {
  TSetupDialog ready = PageNamed(DefaultWizard(Desc), "Ready");
  V.SetVariable("%SetupType%", "1");  // Core only
  EXPECT_EQ(Shown(ready, "English", "%WizardReadyList%"), "Core");
  V.SetVariable("%SetupType%", "0");
  EXPECT_EQ(Shown(ready, "English", "%WizardReadyList%"), "Core, Docs");
}

// A name with "&" must not turn into an access key in captions; the title shows it as it is.
TEST_F(WizardTexts, AnAmpersandInTheNameStaysAnAmpersand) {
  Desc.Properties.SoftwareName = "Q&A";
  TSetupDialog welcome = DefaultWizard(Desc).Dialogs[0];
  EXPECT_EQ(Shown(welcome, "English", "%WizardWelcomeTitle%"), "Welcome to the Q&&A Setup");
  EXPECT_EQ(Shown(welcome, "English", "%WizardCaption%"), "Q&A Setup");
}

// With a program to launch, the finish page offers it in a check box, checked; Finish starts it
// only while the box stays checked.
TEST_F(WizardTexts, TheFinishPageOffersToLaunchTheProgram) {
  EXPECT_TRUE(Of(PageNamed(DefaultWizard(Desc), "Finish"), KindCheckBox).empty());
  Desc.Languages.push_back(Language("Deutsch", 0x0407, false));
  TSetupDialog finish = PageNamed(DefaultWizard(Desc, {}, "%InstallDir%\\tour.exe"), "Finish");
  auto boxes = Of(finish, KindCheckBox);
  ASSERT_EQ(boxes.size(), 1u);
  V.SetVariable("%WizardLaunch%", "");  // as start-up sets every bound variable
  EXPECT_EQ(boxes[0]->Binding + "|" + boxes[0]->P[0], "%WizardLaunch%|%WizardFinishLaunch%");
  EXPECT_EQ(Shown(finish, "English", "%WizardFinishLaunch%|%WizardLaunch%"), "&Launch Tour|1");
  V.SetVariable("%WizardLaunch%", "0");  // unchecked, then back on the page: stays unchecked
  EXPECT_EQ(Shown(finish, "Deutsch", "%WizardFinishLaunch%|%WizardLaunch%"), "Tour &starten|0");
  const TScript& next = Of(finish, KindButton)[1]->Script;
  EXPECT_EQ(Opcodes(next), (std::vector<uint8_t>{OpStorePageValues, OpExecuteProgram, OpFinishSetup}));
  EXPECT_EQ(next[1].F[0] + "|" + next[1].F[2] + "|" + next[1].Condition, "%InstallDir%\\tour.exe|0|%WizardLaunch% = 1|");
}
