#include <gtest/gtest.h>

#include "FakeBuiltins.h"
#include "TestFolder.h"
#include "script/ListCommands.h"
#include "script/ScriptInterpretor.h"
#include "script/ValueCommands.h"
#include "ui/PageFlow.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/wizard/DefaultWizard.h"
#include "vntbuild/wizard/WizardLayout.h"

using namespace vnt;
using namespace vnt::test;

namespace {

using Names_ = std::vector<std::string>;

// A product whose wizard has every default page, with the given top-level keys added.
std::string Project(const std::string& more) {
  return R"({"product": {"name": "Tour", "company": "B", "agreement": "licence.txt"},
             "components": [{"name": "Core"}, {"name": "Docs"}],
             "setupTypes": [["Core", "Docs"], ["Core"], ["Core", "Docs"]],
             "shortcuts": [{"name": "Tour", "target": "tour.exe"}])" +
         (more.empty() ? "" : ", " + more) + "}";
}

// A page with the given name and place and one check box; more keys may follow.
std::string Page(const std::string& name, const std::string& place, const std::string& more = "") {
  return R"({"name": ")" + name + "\", " + place +
         R"(, "controls": [{"kind": "checkBox", "left": 24, "top": 80, "width": 200, "height": 17,
                             "caption": "Check", "binding": "%Ticked%"}])" +
         more + "}";
}

// The project read and its wizard made as `vntbuild build` makes it.
struct TBuilt {
  TProject Project;
  TDialogSection Wizard;
};

TBuilt Build(const TTestFolder& dir, const std::string& body) {
  std::string path = dir.Write("p.json", body).string();
  TBuilt b{ReadProject(path), {}};
  AddDefaultWizardIfNone(b.Project.Content, b.Project.WizardTranslations, b.Project.WizardPages);
  b.Wizard = b.Project.Content.Description.Dialogs;
  return b;
}

// The message a project gives, with "p.json" for its path; empty when it builds.
std::string ErrorOf(const std::string& body) {
  TTestFolder dir;
  try {
    Build(dir, body);
    return "";
  } catch (const EProjectError& e) {
    std::string message = e.what(), path = dir.Path("p.json").string();
    for (size_t at; (at = message.find(path)) != std::string::npos;) message.replace(at, path.size(), "p.json");
    return message;
  }
}

Names_ Names(const TDialogSection& s) {
  Names_ names;
  for (const auto& d : s.Dialogs) names.push_back(d.Name);
  return names;
}

const TSetupDialog& Named(const TDialogSection& s, const std::string& name) {
  const TSetupDialog* d = FindDialog(s.Dialogs, name);
  if (!d) throw std::runtime_error("no page " + name);
  return *d;
}

std::vector<const TControlDef*> Buttons(const TSetupDialog& page) {
  std::vector<const TControlDef*> found;
  for (const auto& c : page.Controls)
    if (c.Kind == KindButton) found.push_back(&c);
  return found;
}

bool Disables(const TScript& s, const std::string& tag) {
  for (const auto& st : s)
    if (st.Opcode == OpDisableButton && st.F[0] == tag && st.Condition.empty()) return true;
  return false;
}

// Next and Back as the setup's page flow takes them from each page, from the first page on.
Names_ WalkForward(const TDialogSection& s) {
  Names_ seen = {s.FirstPage};
  while (seen.back() != s.LastPage && seen.size() < 20)
    seen.push_back(NextPageName({s.Dialogs, seen.back(), "", s.FirstPage, s.LastPage}));
  return seen;
}

}  // namespace

// Pages stand after, before and instead of default pages, several by one page in the order
// given; Next and Back lead through them, and the default pages that named their neighbours
// now name them.
TEST(WizardPages, PagesStandInTheirPlacesAndTheWizardLeadsThroughThem) {
  TTestFolder dir;
  TBuilt b = Build(dir, Project(R"("pages": [)" + Page("Intro", R"("before": "Welcome")") + ", " +
                                Page("Extras", R"("after": "Folder")") + ", " + Page("More", R"("after": "folder")") +
                                ", " + Page("Where", R"("replacing": "Group")") + ", " +
                                Page("Survey", R"("after": "INSTALL")") + "]"));
  const Names_ order = {"Intro", "Welcome", "License", "Folder", "Extras", "More", "Components",
                        "Where", "Ready",   "INSTALL", "Survey", "Finish"};
  EXPECT_EQ(Names(b.Wizard), order);
  EXPECT_EQ(b.Wizard.FirstPage, "Intro");
  EXPECT_EQ(b.Wizard.LastPage, "Finish");
  // Next from each page up to Ready, whose Install button starts the installation.
  Names_ walked = WalkForward(b.Wizard);
  EXPECT_EQ(Names_(walked.begin(), walked.begin() + 9), Names_(order.begin(), order.begin() + 9));
  for (size_t i = 1; i < 9; ++i)
    EXPECT_EQ(PreviousPageName({b.Wizard.Dialogs, order[i], "", b.Wizard.FirstPage, b.Wizard.LastPage}), order[i - 1]);

  // The welcome page is no longer first: its Back leads to the page before it. The new first
  // page has none.
  EXPECT_FALSE(Disables(Named(b.Wizard, "Welcome").AfterBuildScript, "back"));
  EXPECT_TRUE(Disables(Named(b.Wizard, "Intro").AfterBuildScript, "back"));
  EXPECT_FALSE(Disables(Named(b.Wizard, "Extras").AfterBuildScript, "back"));
  // "INSTALL" leads on to the page after it, which does not lead back into the installation.
  const TScript& installNext = Buttons(Named(b.Wizard, "INSTALL"))[1]->Script;
  EXPECT_EQ(installNext.back().Opcode, OpGoToPage);
  EXPECT_EQ(installNext.back().F[0], "Survey");
  EXPECT_TRUE(Disables(Named(b.Wizard, "Survey").AfterBuildScript, "back"));
  EXPECT_EQ(NextPageName({b.Wizard.Dialogs, "Survey", "", b.Wizard.FirstPage, b.Wizard.LastPage}), "Finish");
}

// An own page is framed like the default ones: their size and font, the header band with
// its heading, its own controls, then Back, Next and Cancel as Button1 to Button3.
TEST(WizardPages, APageSitsInTheWizardsFrame) {
  TTestFolder dir;
  TBuilt b = Build(dir, Project(R"("pages": [)" +
                                Page("Extras", R"("after": "Folder")",
                                     R"(, "heading": "Extras", "subheading": "More for you",
                                         "scripts": {"afterBuild": "DisableButton \"next\""})") +
                                ", " + Page("Bare", R"("before": "Ready")", R"(, "foot": false)") + "]"));
  const TSetupDialog& folder = Named(b.Wizard, "Folder");
  const TSetupDialog& page = Named(b.Wizard, "Extras");
  EXPECT_EQ(page.ClientWidth, folder.ClientWidth);
  EXPECT_EQ(page.ClientHeight, folder.ClientHeight);
  EXPECT_EQ(page.DialogFont, folder.DialogFont);
  EXPECT_EQ(page.Title, folder.Title);
  EXPECT_EQ(page.StyleName, "");
  ASSERT_EQ(page.Controls.size(), 5u + 1u + 4u);  // header, the check box, foot
  EXPECT_EQ(page.Controls[1].P[0], "Extras");
  EXPECT_EQ(page.Controls[2].P[0], "More for you");
  EXPECT_EQ(page.Controls[1].P[1], folder.Controls[1].P[1]);  // the header's bold font
  EXPECT_EQ(page.Controls[5].Kind, KindCheckBox);
  auto buttons = Buttons(page);
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0]->P[4] + buttons[1]->P[4] + buttons[2]->P[4], "backnextcancel");
  EXPECT_EQ(buttons[1]->P[0], "%WizardNext%");
  EXPECT_EQ(buttons[1]->Script.at(0).Opcode, OpNextPage);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(buttons[i]->Left, Buttons(folder)[i]->Left);
  // The page's own scripts stay, after what the frame needs.
  EXPECT_EQ(page.AfterBuildScript.back().F[0], "next");
  // Without the foot: its own controls alone.
  EXPECT_EQ(Named(b.Wizard, "Bare").Controls.size(), 1u);
}

// A page in Ready's place starts the installation as Ready did, and the progress page still
// says when it is done; a page in Finish's place ends the setup.
TEST(WizardPages, APageInReadysOrFinishsPlaceTakesOnItsButton) {
  TTestFolder dir;
  TBuilt b = Build(dir, Project(R"("pages": [)" + Page("Summary", R"("replacing": "Ready")") + ", " +
                                Page("Done", R"("replacing": "Finish")") + "]"));
  EXPECT_EQ(b.Wizard.LastPage, "Done");
  auto ready = Buttons(Named(b.Wizard, "Summary"));
  TDialogSection plain = DefaultWizard(b.Project.Content.Description);
  auto readyDefault = Buttons(Named(plain, "Ready"));
  EXPECT_EQ(ready[1]->P[0], "%WizardInstall%");
  EXPECT_EQ(ready[1]->Script, readyDefault[1]->Script);
  const TSetupDialog& done = Named(b.Wizard, "Done");
  EXPECT_EQ(Buttons(done)[1]->P[0], "%WizardFinish%");
  EXPECT_EQ(Buttons(done)[1]->Script.at(0).Opcode, OpFinishSetup);
  EXPECT_TRUE(Disables(done.AfterBuildScript, "back"));
  EXPECT_TRUE(Disables(done.AfterBuildScript, "cancel"));
  EXPECT_EQ(Buttons(Named(b.Wizard, "INSTALL"))[1]->Script.back().F[0], "Done");

  // Without the foot the page's own StartInstallation is followed by the same steps, under its
  // condition; a page that never starts it is refused.
  TBuilt own = Build(dir, Project(R"("pages": [{"name": "Go", "replacing": "Ready", "foot": false, "controls": [
      {"kind": "button", "caption": "Go", "script": "StartInstallation if \"%Ok% = 1|\""}]}])"));
  const TScript& go = Named(own.Wizard, "Go").Controls.at(0).Script;
  ASSERT_EQ(go.size(), readyDefault[1]->Script.size());
  for (size_t i = 1; i < go.size(); ++i) {
    EXPECT_EQ(go[i].Opcode, readyDefault[1]->Script[i].Opcode);
    EXPECT_EQ(go[i].Condition, "%Ok% = 1|");
  }
  EXPECT_EQ(ErrorOf(Project(R"("pages": [)" + Page("Go", R"("replacing": "Ready")", R"(, "foot": false)") + "]")),
            "p.json: /pages/0: a page in Ready's place starts the installation: give it the foot (its Next is "
            "Install) or a script with StartInstallation");
}

// The page's texts follow %Language% like the wizard's own: given in the page, translated by
// a language's "wizard" texts; the foot keeps the built-in translations.
struct PageTexts : ::testing::Test {
  TTestFolder Dir;
  TBuilt B = Build(Dir, Project(R"("languages": [{"name": "English", "id": 1033},
        {"name": "Deutsch", "id": 1031, "wizard": {"ExtrasTitle": "Extras f\u00fcr %SoftwareName%"}}],
      "pages": [)" + Page("Extras", R"("after": "Group")",
                          R"(, "heading": "%WizardExtrasTitle%", "texts": {"ExtrasTitle": "Extras for %SoftwareName%",
                                "ExtrasCheck": "Check it"})") + "]"));
  TFakeBuiltins Builtins;
  TSetupVariables V{B.Project.Content.Description, Builtins};
  TScriptContext Ctx{V};
  TScriptInterpreter I{Ctx};
  TValueCommands Values{1};

  PageTexts() {
    Values.Register(Ctx);
    RegisterListCommands(Ctx);
  }
  std::string Shown(const std::string& language, const std::string& text) {
    V.SetVariable("%Language%", language);
    I.RunScript(Named(B.Wizard, "Extras").BeforeBuildScript);
    return V.ExpandText(text);
  }
};

TEST_F(PageTexts, TheyFollowTheLanguage) {
  EXPECT_EQ(Shown("English", "%WizardExtrasTitle%|%WizardExtrasCheck%|%WizardNext%"),
            "Extras for Tour|Check it|&Next >");
  EXPECT_EQ(Shown("Deutsch", "%WizardExtrasTitle%|%WizardExtrasCheck%|%WizardNext%|%WizardCaption%"),
            "Extras f\xFCr Tour|Check it|&Weiter >|Installation von Tour");
  EXPECT_EQ(Shown("English", "%WizardExtrasTitle%"), "Extras for Tour");
}

// Every mistake names its place in the project file.
TEST(WizardPages, MistakesNameTheirPlace) {
  struct TCase {
    std::string Pages, Message;
  } cases[] = {
      {"[" + Page("X", R"("after": "Foldr")") + "]",
       "p.json: /pages/0/after: no default page \"Foldr\" in this wizard (did you mean \"Folder\"?); its pages: "
       "Welcome, License, Folder, Components, Group, Ready, INSTALL, Finish"},
      {"[" + Page("X", R"("before": "Ready")") + ", " + Page("Y", R"("replacing": "Summary")") + "]",
       "p.json: /pages/1/replacing: no default page \"Summary\" in this wizard; its pages: "
       "Welcome, License, Folder, Components, Group, Ready, INSTALL, Finish"},
      {"[" + Page("X", R"("after": "Ready")") + "]",
       "p.json: /pages/0/after: no page can stand between Ready and INSTALL: Ready's Install button starts the "
       "installation (place it before Ready, after INSTALL, or in Ready's place)"},
      {"[" + Page("X", R"("before": "install")") + "]",
       "p.json: /pages/0/before: no page can stand between Ready and INSTALL: Ready's Install button starts the "
       "installation (place it before Ready, after INSTALL, or in Ready's place)"},
      {"[" + Page("X", R"("replacing": "INSTALL")") + "]",
       "p.json: /pages/0/replacing: \"INSTALL\" is the installation's own page and cannot be replaced"},
      {"[" + Page("X", R"("after": "Finish")") + "]",
       "p.json: /pages/0/after: no page can follow Finish: its button ends the setup"},
      {"[" + Page("X", R"("replacing": "Group")") + ", " + Page("Y", R"("replacing": "Group")") + "]",
       "p.json: /pages/1/replacing: Group is replaced already, by p.json: /pages/0"},
      {"[" + Page("X", R"("after": "Group", "before": "Ready")") + "]",
       "p.json: /pages/0/before: a page stands in one place: give one of \"after\", \"before\" and \"replacing\""},
      {"[" + Page("X", R"("title": "x")") + "]",
       "p.json: /pages/0: a page in the default wizard needs its place: \"after\", \"before\" or \"replacing\" a "
       "default page"},
      {"[" + Page("Folder", R"("after": "Welcome")") + "]",
       "p.json: /pages/0/name: the wizard has a page \"Folder\" already"},
      {"[" + Page("X", R"("after": "Welcome")") + ", " + Page("x", R"("after": "Folder")") + "]",
       "p.json: /pages/0/name: the wizard has a page \"x\" already (p.json: /pages/1)"},
      {"[" + Page("INSTALL", R"("replacing": "Finish")") + "]",
       "p.json: /pages/0/name: \"INSTALL\" is the installation's own page"},
      {"[" + Page("X", R"("after": "Welcome")", R"(, "width": 400)") + "]",
       "p.json: /pages/0/width: a page in the default wizard has the wizard's size, 497 by 360; leave out \"width\" "
       "and \"height\""},
      {"[" + Page("X", R"("after": "Welcome")", R"(, "style": "Frame")") + "]",
       "p.json: /pages/0: unknown key \"style\""},
      {"[" + Page("X", R"("after": "Welcome")", R"(, "texts": {"Next": "Go"})") + "]",
       "p.json: /pages/0/texts/Next: \"Next\" is one of the default wizard's own texts"},
      {"[" + Page("X", R"("after": "Welcome")", R"(, "texts": {"A b": "Go"})") + "]",
       "p.json: /pages/0/texts/A b: a text id is made of letters, digits and \"_\" (it is shown as %Wizard<id>%)"},
      {"[" + Page("X", R"("after": "Welcome")", R"(, "texts": {"Ab": "Go"})") + ", " +
           Page("Y", R"("after": "Welcome")", R"(, "texts": {"Ab": "Go"})") + "]",
       "p.json: /pages/1/texts/Ab: the id \"Ab\" is given by p.json: /pages/0 already"},
      {"{}", "p.json: /pages: expected an array of pages"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Pages);
    EXPECT_EQ(ErrorOf(Project(R"("pages": )" + c.Pages)), c.Message);
  }
  EXPECT_EQ(ErrorOf(Project(R"("dialogs": [], "pages": [])")),
            "p.json: /pages: \"pages\" go into the default wizard, which a project with \"dialogs\" does not have: "
            "give one or the other");
  // A language may translate the pages' texts, and nothing else beyond the wizard's own.
  EXPECT_EQ(ErrorOf(Project(R"("languages": [{"name": "E", "wizard": {"AbTxt": "x"}}], "pages": [)" +
                            Page("X", R"("after": "Welcome")", R"(, "texts": {"AbText": "Go"})") + "]")),
            "p.json: /languages/0/wizard: unknown key \"AbTxt\" (did you mean \"AbText\"?)");
}
