#include "vntbuild/wizard/DefaultWizard.h"

#include "vntbuild/script/ScriptCompiler.h"
#include "vntbuild/script/ScriptLexer.h"
#include "vntbuild/wizard/WizardLayout.h"

namespace vnt {

using namespace wizard;

namespace {

// What the pages show, worked out once from the description.
struct TWizardPlan {
  const TSetupDescription& D;
  const TWizardTranslations& Translations;
  std::string Launch;  // the program the finish page offers to start; empty: none
  bool License = false, Components = false, SetupTypes = false, Group = false;
};

// Where the space figures start, right of their captions.
constexpr int FigureLeft = Margin + 170;

std::string V(const std::string& id) { return WizardVariable(id); }

TScript Code(const std::string& text) { return CompileScriptText(text, "default wizard"); }

TScript Join(TScript a, const TScript& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<TControlDef> Join(std::vector<TControlDef> a, const std::vector<TControlDef>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A page whose captions are the given texts, set before every showing so that they follow
// %Language%; the foot's own captions come with them.
TSetupDialog TextPage(const TWizardPlan& plan, const std::string& name, std::vector<std::string> ids,
                      std::vector<TControlDef> controls) {
  for (const char* id : {"Caption", "Back", "Cancel"}) ids.push_back(id);
  TSetupDialog page = Page(name, std::move(controls));
  page.BeforeBuildScript = AssignWizardTexts(plan.D, ids, plan.Translations);
  return page;
}

std::vector<TControlDef> InnerPage(const std::string& id, std::vector<TControlDef> body, const std::string& next = "Next",
                                   const std::string& nextScript = "NextPage") {
  return Join(Join(Header(V(id + "Title"), V(id + "Subtitle")), body), Foot(V(next), Code(nextScript)));
}

// The larger layout of the first and last page: the side band, a big title and a text.
TSetupDialog SidePage(const TWizardPlan& plan, const std::string& name, const std::string& next,
                      const std::string& nextScript, const std::string& afterBuild) {
  const int left = SideWidth + 16, width = Width - left - 16;
  auto controls = Join(Join(SideBand(!plan.D.Properties.SetupPicture.empty()),
                            {Label(left, 18, 46, width, V(name + "Title"), Title12, 0, true),
                             Label(left, 76, 200, width, V(name + "Text"), Font8, 0, true)}),
                       Foot(V(next), Code(nextScript)));
  TSetupDialog page = TextPage(plan, name, {next, name + "Title", name + "Text"}, std::move(controls));
  page.AfterBuildScript = Code(afterBuild);
  return page;
}

TSetupDialog Welcome(const TWizardPlan& plan) {
  return SidePage(plan, "Welcome", "Next", "NextPage", R"(DisableButton "back")");
}

TSetupDialog License(const TWizardPlan& plan) {
  auto radio = [](int top, const std::string& id, const std::string& value, const std::string& script) {
    return MakeControlDef(KindRadioBox, Margin, top, 17, ContentWidth, {V(id), Font8, "0", value, "", ""}, Code(script),
                          "%Agreement%");
  };
  auto body = {MakeControlDef(KindList, Margin, ContentTop, 182, ContentWidth, {Font8}, {}, "", RoleAgreement),
               radio(ContentTop + 190, "LicenseAccept", "1", R"(EnableButton "next")"),
               radio(ContentTop + 210, "LicenseDecline", "0", R"(DisableButton "next")")};
  TSetupDialog page =
      TextPage(plan, "License", {"Next", "LicenseTitle", "LicenseSubtitle", "LicenseAccept", "LicenseDecline"},
               InnerPage("License", body));
  // Declined until the user accepts; a choice made earlier stays.
  page.BeforeBuildScript = Join(page.BeforeBuildScript, Code(R"(AssignVariable "%Agreement%", "0" if "%Agreement% = |")"));
  page.AfterBuildScript = Code(R"(
    EnableButton "next" if "%Agreement% = 1|"
    DisableButton "next" if "%Agreement% != 1|"
  )");
  return page;
}

TSetupDialog Folder(const TWizardPlan& plan) {
  // Wide enough for "Durchsuchen..." and its like.
  const int browseWidth = 95, boxWidth = ContentWidth - browseWidth - 10;
  auto body = {Label(Margin, ContentTop, 42, ContentWidth, V("FolderText")),
               MakeControlDef(KindTextBox, Margin, ContentTop + 48, 21, boxWidth, {"%InstallDir%", Font8, "0", ""}, {},
                              "%InstallDir%", RoleInstallDir),
               Label(Margin, FootLine - 48, 16, FigureLeft - Margin - 6, V("SpaceRequired")),
               Label(FigureLeft, FootLine - 48, 16, 160, "", Font8, RoleRequiredSpace),
               Label(Margin, FootLine - 28, 16, FigureLeft - Margin - 6, V("SpaceAvailable")),
               Label(FigureLeft, FootLine - 28, 16, 160, "", Font8, RoleFreeSpace)};
  // A folder must be given; the Browse button comes after the foot's three.
  std::string next = R"(
    MessageBox "%WizardCaption%", "%WizardFolderEmpty%", "WARNING" if "%InstallDir% = |"
    NextPage if "%InstallDir% != |"
  )";
  auto controls = InnerPage("Folder", body, "Next", next);
  controls.push_back(Button(Margin + boxWidth + 10, ContentTop + 47, V("Browse"), 0, "browse",
                            Code(R"(BrowseFolder "%InstallDir%")"), browseWidth));
  return TextPage(plan, "Folder",
                  {"Next", "FolderTitle", "FolderSubtitle", "FolderText", "FolderEmpty", "Browse", "SpaceRequired",
                   "SpaceAvailable"},
                  std::move(controls));
}

TSetupDialog Components(const TWizardPlan& plan) {
  std::vector<TControlDef> body = {Label(Margin, ContentTop, 16, ContentWidth, V("ComponentsText"))};
  std::vector<std::string> ids = {"Next", "ComponentsTitle", "ComponentsSubtitle", "ComponentsText", "Description",
                                  "SpaceRequired", "SetupType"};
  int listTop = ContentTop + 22;
  if (plan.SetupTypes) {
    body.push_back(Label(Margin, ContentTop + 24, 16, 108, V("SetupType")));
    const char* types[] = {"Typical", "Compact", "Custom"};
    const int lefts[] = {Margin + 112, Margin + 212, Margin + 312}, widths[] = {96, 96, ContentWidth - 312};
    for (int t = 0; t < 3; ++t) {
      // Bound to a copy of %SetupType%: storing the radio's value when the page is left would
      // set the type again and undo the checks the user changed by hand.
      std::string choose = "AssignVariable \"%SetupType%\", \"" + std::to_string(t) + "\"";
      body.push_back(MakeControlDef(KindRadioBox, lefts[t], ContentTop + 23, 17, widths[t],
                                    {V(types[t]), Font8, "0", std::to_string(t), "", ""}, Code(choose),
                                    V("SetupTypeShown")));
      ids.push_back(types[t]);
    }
    listTop += 26;
  }
  const int listWidth = 280, listHeight = FootLine - 34 - listTop, frameLeft = Margin + listWidth + 12;
  body.push_back(MakeControlDef(KindList, Margin, listTop, listHeight, listWidth, {Font8, "", "", "", "components", ""},
                                {}, "", RoleComponents));
  body.push_back(MakeControlDef(KindFrame, frameLeft, listTop - 6, listHeight + 6, Width - Margin - frameLeft,
                                {V("Description"), Font8}));
  body.push_back(Label(frameLeft + 10, listTop + 14, listHeight - 24, Width - Margin - frameLeft - 20, "", Font8,
                       RoleComponentDescription));
  body.push_back(Label(Margin, FootLine - 24, 16, FigureLeft - Margin - 6, V("SpaceRequired")));
  body.push_back(Label(FigureLeft, FootLine - 24, 16, 120, "", Font8, RoleRequiredSpace));
  TSetupDialog page = TextPage(plan, "Components", ids, InnerPage("Components", body));
  if (plan.SetupTypes)
    page.BeforeBuildScript = Join(page.BeforeBuildScript, Code(R"(AssignVariable "%WizardSetupTypeShown%", "%SetupType%")"));
  return page;
}

TSetupDialog Group(const TWizardPlan& plan) {
  auto body = {Label(Margin, ContentTop, 42, ContentWidth, V("GroupText")),
               Label(Margin, ContentTop + 46, 16, ContentWidth, V("GroupName")),
               MakeControlDef(KindTextBox, Margin, ContentTop + 64, 21, ContentWidth, {"%ProgramGroup%", Font8, "0", ""},
                              {}, "%ProgramGroup%", RoleProgramGroup),
               Label(Margin, ContentTop + 94, 16, ContentWidth, V("GroupExisting")),
               MakeControlDef(KindList, Margin, ContentTop + 112, FootLine - 10 - (ContentTop + 112), ContentWidth,
                              {Font8, "", "", "", "groups", ""}, {}, "", RoleProgramGroups)};
  return TextPage(plan, "Group", {"Next", "GroupTitle", "GroupSubtitle", "GroupText", "GroupName", "GroupExisting"},
                  InnerPage("Group", body));
}

// The summary of the choices: folder, group and components, each under its heading.
std::string Summary(const TWizardPlan& plan) {
  const std::string indent = "      ";
  std::string lines = V("ReadyFolder") + "|" + indent + "%InstallDir%";
  if (plan.Group) lines += "||" + V("ReadyGroup") + "|" + indent + "%ProgramGroup%";
  if (plan.Components) lines += "||" + V("ReadyComponents") + "|" + indent + V("ReadyList");
  return lines;
}

TSetupDialog Ready(const TWizardPlan& plan) {
  auto body = {Label(Margin, ContentTop, 30, ContentWidth, V("ReadyText")),
               MakeControlDef(KindList, Margin, ContentTop + 36, FootLine - 10 - (ContentTop + 36), ContentWidth,
                              {Font8, Summary(plan), "", "", "summary", ""}, {}, "", RoleMemo)};
  std::vector<std::string> ids = {"Install", "ReadyTitle", "ReadySubtitle", "ReadyText", "ReadyFolder"};
  if (plan.Group) ids.push_back("ReadyGroup");
  if (plan.Components) ids.push_back("ReadyComponents");
  TSetupDialog page = TextPage(plan, "Ready", ids, InnerPage("Ready", body, "Install", std::string("StartInstallation\n") + InstallDone));
  if (plan.Components) {
    // The chosen components by name, for the summary. Names go in as they are: no quoting.
    TScript list = Code(R"(AssignVariable "%WizardReadyList%", "")");
    for (const auto& c : plan.D.Components) {
      ScriptStatement add;
      add.Opcode = OpListAdd;
      add.F[0] = V("ReadyList");
      add.F[1] = c.Name;
      add.Condition = "%SETUPCOMPONENTS% = " + c.Name + "|";
      list.push_back(add);
    }
    page.BeforeBuildScript = Join(page.BeforeBuildScript, list);
  }
  return page;
}

// The page the installation shows its progress on. The wizard goes back to the page before it
// once the script that started the installation ends; leaving it so is refused by going to the
// page itself, so that it stays with its last status until Next leads on.
TSetupDialog Install(const TWizardPlan& plan) {
  auto body = {Label(Margin, ContentTop + 8, 16, ContentWidth, V("InstallStatus"), Font8, RoleStatus),
               MakeControlDef(KindProgress, Margin, ContentTop + 30, 18, ContentWidth, {}),
               Label(Margin, ContentTop + 56, 16, ContentWidth, "", Font8, RoleDetail)};
  TSetupDialog page = TextPage(plan, "INSTALL", {"Next", "InstallTitle", "InstallSubtitle", "InstallStatus", "InstallDone"},
                               InnerPage("Install", body, "Next", R"(
                                 AssignVariable "%WizardLeaving%", "1"
                                 GoToPage "Finish"
                               )"));
  page.BeforeBuildScript = Join(page.BeforeBuildScript, Code(R"(AssignVariable "%WizardLeaving%", "0")"));
  page.AfterBuildScript = Code(R"(
    DisableButton "back"
    DisableButton "next"
  )");
  page.LeaveScript = Code(R"(GoToPage "INSTALL" if "%WizardLeaving% != 1|")");
  return page;
}

TSetupDialog Finish(const TWizardPlan& plan) {
  const char* afterBuild = R"(
    DisableButton "back"
    DisableButton "cancel"
  )";
  if (plan.Launch.empty()) return SidePage(plan, "Finish", "Finish", "FinishSetup", afterBuild);
  // The program starts when the wizard closes as finished, if the box stays checked; a run
  // without pages never shows it, and starts nothing.
  std::string finish = "StorePageValues\nExecuteProgram " + QuoteScriptText(plan.Launch) +
                       ", \"\", \"0\" if \"%WizardLaunch% = 1|\"\nFinishSetup";
  TSetupDialog page = SidePage(plan, "Finish", "Finish", finish, afterBuild);
  const int left = SideWidth + 16;
  page.Controls.push_back(MakeControlDef(KindCheckBox, left, FootLine - 30, 17, Width - left - 16,
                                         {V("FinishLaunch"), Font8, "1", "1", "0"}, {}, "%WizardLaunch%"));
  page.BeforeBuildScript = Join(AssignWizardTexts(plan.D, {"Finish", "FinishTitle", "FinishText", "FinishLaunch",
                                                           "Caption", "Back", "Cancel"},
                                                  plan.Translations),
                                // Checked the first time; a box unchecked stays so on a later showing.
                                Code(R"(
                                  AssignVariable "%WizardLaunch%", "1" if "%WizardLaunchOffered% != 1|"
                                  AssignVariable "%WizardLaunchOffered%", "1"
                                )"));
  return page;
}

}  // namespace

TDialogSection DefaultWizard(const TSetupDescription& d, const TWizardTranslations& translations,
                             const std::string& launch) {
  const auto& types = d.Properties.SetupTypeComponents;
  TWizardPlan plan{d, translations, launch};
  plan.License = !d.Properties.AgreementFile.empty();
  plan.Components = !d.Components.empty();
  plan.SetupTypes = plan.Components && types[0] != types[1];
  plan.Group = !d.Shortcuts.empty();

  TDialogSection s;
  s.Dialogs.push_back(Welcome(plan));
  if (plan.License) s.Dialogs.push_back(License(plan));
  s.Dialogs.push_back(Folder(plan));
  if (plan.Components) s.Dialogs.push_back(Components(plan));
  if (plan.Group) s.Dialogs.push_back(Group(plan));
  s.Dialogs.push_back(Ready(plan));
  s.Dialogs.push_back(Install(plan));
  s.Dialogs.push_back(Finish(plan));
  s.FirstPage = "Welcome";
  s.LastPage = "Finish";
  return s;
}

bool AddDefaultWizardIfNone(TPackageContent& content, const TWizardTranslations& translations,
                            const std::vector<TWizardPage>& pages, const std::string& launch) {
  if (!content.Description.Dialogs.Dialogs.empty()) return false;
  TDialogSection wizard = DefaultWizard(content.Description, translations, launch);
  InsertWizardPages(wizard, pages, content.Description, translations);
  content.Description.Dialogs = std::move(wizard);
  return true;
}

}  // namespace vnt
