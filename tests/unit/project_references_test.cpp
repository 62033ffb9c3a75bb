// The builder's cross-reference checks: every broken reference stops the build with its place
// and a likely spelling; what is legal but likely wrong is a warning.
#include <gtest/gtest.h>

#include "TestFolder.h"
#include "vntbuild/project/ProjectReader.h"
#include "vntbuild/project/ProjectReferences.h"
#include "vntbuild/wizard/DefaultWizard.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// A project of two components, a page, a style dialog, a support file below a folder of
// %TempSetupDir%, two languages and a script file, with more keys spliced in.
std::string Project(const std::string& more, const std::string& product = R"({"name": "A", "company": "B"})") {
  return R"({"product": )" + product + R"(,
    "languages": [{"name": "English"}, {"name": "Deutsch"}],
    "components": [{"name": "Program"}, {"name": "Help"}],
    "files": [{"source": "app.exe", "components": ["Program"]}],
    "supportFiles": [{"source": "side.bmp", "destination": "%TempSetupDir%\\art\\"}],
    "dialogs": [{"name": "Welcome"}, {"name": "Frame", "styleDialog": true}, {"name": "INSTALL"}])" +
         more + "}";
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

struct TResult {
  std::string Errors;  // "" when none; "DIR/" for the test folder
  std::vector<std::string> Warnings;
};

TResult Check(const TTestFolder& dir, const std::string& body) {
  dir.Write("app.exe", "MZ");
  dir.Write("side.bmp", "BM");
  dir.Write("s.vns", "MessageBox \"a\"\n\nShowDialog \"Detials\"\n");
  std::string path = dir.Write("p.json", body).string();
  std::string root = dir.Path("").string();
  auto relative = [&](std::string text) {
    for (size_t at; (at = text.find(root)) != std::string::npos;) text.replace(at, root.size(), "DIR/");
    return text;
  };
  TResult result;
  try {
    TProject project = ReadProject(path);
    if (!project.DialogsGiven) AddDefaultWizardIfNone(project.Content, project.WizardTranslations);
    for (const auto& w : CheckProjectReferences(project).List) result.Warnings.push_back(relative(FormatWarning(w)));
  } catch (const EProjectError& e) {
    result.Errors = relative(e.what());
  }
  return result;
}

}  // namespace

TEST(ProjectReferences, EachBrokenReferenceIsAnErrorAtItsPlace) {
  TTestFolder dir;
  struct TCase {
    std::string More, Message;
  } cases[] = {
      // Components, by item where the list is an array.
      {R"(, "setupTypes": [["Program", "Hlep"], "Program", "Program"])",
       "DIR/p.json: /setupTypes/0/1: no component \"Hlep\" (did you mean \"Help\"?)"},
      {R"(, "shortcuts": [{"name": "S", "target": "app.exe", "components": "Program|Halp"}])",
       "DIR/p.json: /shortcuts/0/components: no component \"Halp\" (did you mean \"Help\"?)"},
      {R"(, "registry": [{"root": "HKCU", "key": "K", "components": ["Tools"]}])",
       "DIR/p.json: /registry/0/components/0: no component \"Tools\""},
      {R"(, "scripts": {"start": "NextPage if \"%SetupComponents% = Hepl|\""})",
       "DIR/p.json /scripts/start:1: no component \"Hepl\" (did you mean \"Help\"?) in the condition "
       "\"%SetupComponents% = Hepl|\""},
      // Pages and dialogs, in inline scripts and script files.
      {R"(, "scripts": {"start": ["MessageBox \"x\"", "GoToPage \"Welcom\""]})",
       "DIR/p.json /scripts/start:2: GoToPage \"Welcom\": no page of that name (did you mean \"Welcome\"?)"},
      {R"(, "scripts": {"close": "GoToPage \"Frame\""})",
       "DIR/p.json /scripts/close:1: GoToPage \"Frame\": a style dialog is not a page"},
      {R"(, "scripts": {"start": {"file": "s.vns"}})",
       "DIR/s.vns:3: ShowDialog \"Detials\": no dialog of that name"},
      // Support files, found by their path below %TempSetupDir%.
      {R"(, "progressBitmaps": ["art\\side.bmp", "side.bmp"])",
       "DIR/p.json: /progressBitmaps/1: no support file \"side.bmp\" (did you mean \"art\\side.bmp\"?)"},
      // A language chosen by its name.
      {R"(, "scripts": {"start": "AssignVariable \"%Language%\", \"Deutch\""})",
       "DIR/p.json /scripts/start:1: no language \"Deutch\" (did you mean \"Deutsch\"?)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Check(dir, Project(c.More)).Errors, c.Message) << c.More;
}

// Every place a support file is named, dialogs' own references and control tags, names defined
// twice: all reported at once, one line each.
TEST(ProjectReferences, AllBrokenReferencesComeInOneMessage) {
  TTestFolder dir;
  std::string body = R"({"product": {"name": "A", "company": "B", "picture": "side.bmp", "splash": "splash.bmp",
      "agreement": "licence.txt"},
    "languages": [{"name": "English"}, {"name": "english"}],
    "components": [{"name": "Program", "icon": "prog.bmp"}, {"name": "PROGRAM"}],
    "supportFiles": [{"source": "side.bmp", "destination": "%TempSetupDir%\\art\\"}],
    "dialogs": [
      {"name": "Welcome", "style": "Fram", "controls": [
        {"kind": "image", "picture": "logo.bmp"},
        {"kind": "list", "role": "textFile", "file": "%TempSetupDir%\\read.txt"},
        {"kind": "checkBox", "binding": "Desktop"},
        {"kind": "button", "tag": "next", "script": "DisableButton \"Nxet\""}]},
      {"name": "Licence", "style": "Welcome"},
      {"name": "welcome"},
      {"name": "Frame", "styleDialog": true}]})";
  EXPECT_EQ(Check(dir, body).Errors,
            "DIR/p.json: /components/1/name: component \"PROGRAM\" is defined twice (first at /components/0; names "
            "are compared ignoring case)\n"
            "DIR/p.json: /languages/1/name: language \"english\" is defined twice (first at /languages/0; names are "
            "compared ignoring case)\n"
            "DIR/p.json: /dialogs/2/name: dialog \"welcome\" is defined twice (first at /dialogs/0; names are "
            "compared ignoring case)\n"
            "DIR/p.json: /product/picture: no support file \"side.bmp\" (did you mean \"art\\side.bmp\"?)\n"
            "DIR/p.json: /product/splash: no support file \"splash.bmp\"\n"
            "DIR/p.json: /product/agreement: no support file \"licence.txt\"\n"
            "DIR/p.json: /components/0/icon: no support file \"prog.bmp\"\n"
            "DIR/p.json: /dialogs/0/controls/0/picture: no support file \"logo.bmp\"\n"
            "DIR/p.json: /dialogs/0/controls/1/file: no support file \"read.txt\"\n"
            "DIR/p.json: /dialogs/0/style: no style dialog \"Fram\" (did you mean \"Frame\"?)\n"
            "DIR/p.json: /dialogs/1/style: \"Welcome\" is a page, not a style dialog (\"styleDialog\": true)\n"
            "DIR/p.json /dialogs/0/controls/3/script:1: DisableButton \"Nxet\": no control has that tag (did you mean "
            "\"next\"?)\n"
            "DIR/p.json: /dialogs/0/controls/2/binding: \"Desktop\" is not a variable name with percent signs "
            "(\"%Desktop%\"); a bare name is replaced wherever its text occurs");
}

// Names in any case, every kind of definition, what cannot be judged before the run, and the
// default wizard's own pages: nothing to report.
TEST(ProjectReferences, SoundProjectsPassWithoutWarnings) {
  TTestFolder dir;
  std::string sound = Project(R"(,
    "variables": [{"name": "Edition", "default": "Standard"}],
    "setupTypes": [["program", "HELP"], ["Program"], []],
    "progressBitmaps": ["ART\\Side.bmp", "%SourceDir%\\p.bmp", "C:\\pictures\\p.bmp"],
    "shortcuts": [{"name": "S", "target": "APP.EXE", "condition": "%Desktop% = 1|"},
                  {"name": "U", "target": "UNINSTALLER"}, {"name": "D", "target": "%InstallDir%\\docs"}],
    "registry": [{"root": "HKCU", "key": "K", "data": "%Edition% %SetupLog% %IsFinishingSetup% %Result% 50% of 100%"}],
    "scripts": {"start": ["GoToPage \"welcome\"", "ShowDialog \"FRAME\"", "AssignVariable \"%Language%\", \"deutsch\"",
                          "AssignVariable \"%Result%\", \"%CmdLineParam%\" if \"%SetupComponents% = help|\""]})");
  size_t dialogs = sound.find("\"dialogs\"");
  sound.replace(dialogs, sound.find("]", dialogs) - dialogs + 1, R"("dialogs": [
      {"name": "Welcome", "style": "frame", "controls": [
        {"kind": "checkBox", "binding": "%Desktop%"},
        {"kind": "textBox", "binding": "%InstallDir%"},
        {"kind": "textBox", "readOnly": true},
        {"kind": "combo", "role": "drive"},
        {"kind": "image", "picture": "art\\side.bmp"},
        {"kind": "button", "tag": "next", "script": "EnableButton \"NEXT\""}]},
      {"name": "Frame", "styleDialog": true}, {"name": "INSTALL"}])");
  TResult r = Check(dir, sound);
  EXPECT_EQ(r.Errors, "");
  EXPECT_TRUE(r.Warnings.empty()) << r.Warnings.front();
  // Without dialogs: the default wizard's pages are there to go to, and raise nothing.
  r = Check(dir, R"({"product": {"name": "A", "company": "B", "agreement": "l.txt"},
    "components": [{"name": "Program"}, {"name": "Help"}], "supportFiles": [{"source": "side.bmp", "name": "l.txt"}],
    "shortcuts": [{"name": "S", "target": "x.exe", "components": ["Help"]}],
    "files": [{"source": "app.exe", "name": "x.exe"}], "scripts": {"start": "GoToPage \"INSTALL\""}})");
  EXPECT_EQ(r.Errors, "");
  EXPECT_TRUE(r.Warnings.empty()) << r.Warnings.front();
}

TEST(ProjectReferences, LikelyMistakesAreWarningsWithTheirPlaces) {
  TTestFolder dir;
  std::string body = Project(R"(,
    "shortcuts": [{"name": "S", "target": "ap.exe"}],
    "scripts": {"start": ["AssignVariable \"Count\", \"1\"", "MessageBox \"%Icon% 50% off\""]})",
                             R"({"name": "A", "company": "B", "installDir": "%ProgramFilesDir%\\%Vendor%"})");
  TResult r = Check(dir, Replaced(body, R"({"name": "Welcome"})", R"({"name": "Welcome", "controls": [
      {"kind": "checkBox", "binding": "%Icn%"}, {"kind": "radioButton"}, {"kind": "button"}]})"));
  EXPECT_EQ(r.Errors, "");
  std::vector<std::string> expected = {
      "DIR/p.json: /shortcuts/0/target: warning: no product file is named \"ap.exe\"; the shortcut points into "
      "%InstallDir% (did you mean \"app.exe\"?)",
      "DIR/p.json: /product/installDir: warning: %Vendor% is never set (no built-in, variable, binding or script "
      "gives it a value), so it stays as written",
      "DIR/p.json /scripts/start:2: warning: %Icon% is never set (no built-in, variable, binding or script gives it "
      "a value), so it stays as written (did you mean \"%Icn%\"?)",
      "DIR/p.json: /dialogs/0/controls/0/binding: warning: nothing reads %Icn%, so what the user enters here is "
      "never used (did you mean \"%Icon%\"?)",
      "DIR/p.json: /dialogs/0/controls/1: warning: a radio button bound to no variable: what the user enters is lost",
      "DIR/p.json /scripts/start:1: warning: the variable \"Count\" is written without percent signs (\"%Count%\"); "
      "its bare text is replaced wherever it occurs"};
  EXPECT_EQ(r.Warnings, expected);
  TBuildWarnings one{{{"a", "b"}}}, two{{{"a", "b"}, {"c", "d"}}};
  EXPECT_EQ(one.CountText(), "1 warning");
  EXPECT_EQ(two.CountText(), "2 warnings");
}
