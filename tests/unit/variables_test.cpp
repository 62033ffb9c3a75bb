#include <gtest/gtest.h>

#include "FakeBuiltins.h"
#include "RepeatedText.h"
#include "package/CustomVarFuncs.h"
#include "package/SetupVariables.h"

using namespace vnt;
using namespace vnt::test;

namespace {

struct Vars : ::testing::Test {
  TSetupDescription Desc;
  TFakeBuiltins Builtins;
  TSetupVariables V{Desc, Builtins};
  Vars() {
    Desc.Properties.SoftwareName = "Tom & Jerry";
    Desc.Properties.CompanyName = "ACME";
    Desc.Properties.SetupTypeComponents = {"A", "B", "C"};
    Desc.Components = {{{"A", "", ""}, 0, 0, 0}, {{"B", "", ""}, 0, 0, 0}, {{"C", "", ""}, 0, 0, 0}};
  }
};

}  // namespace

TEST(VarList, SortedCaseInsensitiveTable) {
  TVariableList t;
  t.Set("%b%", "2");
  t.Set("%A%", "1");
  t.Set("%c%", "3");
  t.Set("%B%", "two");
  ASSERT_EQ(t.Count(), 3);
  EXPECT_EQ(t.Line(0), "%A%=1");
  EXPECT_EQ(t.Line(1), "%b%=two");  // the name keeps the spelling it was first stored with
  EXPECT_EQ(t.IndexOf("%C%"), 2);
  EXPECT_EQ(t.IndexOf("%d%"), -1);
  EXPECT_EQ(t.Line(3), "");
  EXPECT_EQ(t.Get(-1).Name, "");
  EXPECT_EQ(t.Get(-1).Value, "");
}

TEST(VarList, AddLineSplitsAtTheFirstEqualsSign) {
  TVariableList t;
  t.AddLine("A=B=C");
  t.AddLine("plain");
  EXPECT_EQ(t.Get(t.IndexOf("A")).Value, "B=C");
  EXPECT_EQ(t.Get(t.IndexOf("plain")).Value, "plain");
  EXPECT_TRUE(t.HasBareNames());
  t.Clear();
  EXPECT_EQ(t.Count(), 0);
  EXPECT_FALSE(t.HasBareNames());
}

TEST_F(Vars, InstallDirIgnoresCaseAndLosesOneTrailingBackslash) {
  V.SetVariable("%InstallDir%", "C:\\Program Files\\App\\");
  EXPECT_EQ(V.ExpandText("%installdir%\\bin"), "C:\\Program Files\\App\\bin");
  // Other variables keep their backslash unless they are in the folder list.
  V.SetVariable("%Data%", "D:\\data\\");
  EXPECT_EQ(V.ExpandText("%Data%x"), "D:\\data\\x");
  Desc.FileFolders = {"%Data%\\"};
  EXPECT_EQ(V.ExpandText("%Data%\\x"), "D:\\data\\x");
}

TEST_F(Vars, AmpersandsEscapedOnlyWhenAsked) {
  EXPECT_EQ(V.ExpandText("%SoftwareName% by %CompanyName%"), "Tom & Jerry by ACME");
  EXPECT_EQ(V.ExpandText("%SoftwareName%", true), "Tom && Jerry");
  // A value set from the name keeps a single ampersand.
  V.SetVariable("%Title%", "%SoftwareName%");
  EXPECT_EQ(V.Stored("%Title%"), "Tom & Jerry");
}

TEST_F(Vars, FolderBuiltinsLoseTheirTrailingBackslash) {
  EXPECT_EQ(V.ExpandText("%ProgramFilesDir%\\x"), "C:\\Program Files\\x");
  EXPECT_EQ(V.ExpandText("%HelpDir%"), "C:\\windows\\Help");
  EXPECT_EQ(V.ExpandText("%WinDrive%"), "C:");
  Builtins.Values[TBuiltin::WinDir] = "C:\\";
  EXPECT_EQ(V.ExpandText("[%WinDir%]"), "[C:]");
}

TEST_F(Vars, ProgramGroupDirUsesTheNestedGroupAndTheShellFlag) {
  V.SetVariable("%ProgramGroup%", "%SoftwareName% Tools");
  EXPECT_EQ(V.ExpandText("%ProgramGroupDir%"), "C:\\Users\\me\\Start Menu\\Programs\\Tom & Jerry Tools");
  V.SetVariable("%CommonShellFolders%", "1");
  EXPECT_TRUE(V.CommonShellFolders);
  EXPECT_EQ(V.ExpandText("%ProgramGroupDir%"), "C:\\All Users\\Programs\\Tom & Jerry Tools");
  V.SetVariable("%CommonShellFolders%", "yes");
  EXPECT_FALSE(V.CommonShellFolders);
  EXPECT_EQ(V.Stored("%CommonShellFolders%"), "0");
}

TEST_F(Vars, ValuesAreExpandedWhenSet) {
  V.SetVariable("%Where%", "%WinDir%\\sub");
  Builtins.Values[TBuiltin::WinDir] = "E:\\other";
  EXPECT_EQ(V.ExpandText("%Where%"), "C:\\windows\\sub");
}

TEST_F(Vars, ReadOnlyNamesCannotBeSet) {
  V.SetVariable("%OSVersion%", "9.9");
  V.SetVariable("OSVERSION", "9.9");
  EXPECT_EQ(V.Table.IndexOf("%OSVersion%"), -1);
  EXPECT_EQ(V.Table.IndexOf("OSVERSION"), -1);
  EXPECT_EQ(V.ExpandText("%OSVersion%"), "5.1.2600");
  EXPECT_EQ(V.EvaluateVariable("%OSVERSION%"), "5.1.2600");
}

TEST_F(Vars, SelfReferencingValuesDoNotLoop) {
  // A bare name makes every occurrence of its text a variable, also inside its own value.
  V.Table.Set("A", "AAA");
  EXPECT_EQ(V.ExpandText("xAx"), "xAAAx");
  V.Table.Set("%Self%", "<%Self%>");
  EXPECT_EQ(V.ExpandText("%Self%"), "<%Self%>");
}

TEST_F(Vars, ExpansionStopsAtTheSizeLimitAndNamesTheVariable) {
  // Values stored unexpanded (as an earlier run's record gives them), each naming the next 50
  // times: every level multiplies the text by 50.
  V.Table.Set("%A%", Repeated("%B%", 50));
  V.Table.Set("%B%", Repeated("%C%", 50));
  V.Table.Set("%C%", Repeated("%D%", 50));
  V.Table.Set("%D%", Repeated("x", 150));
  EXPECT_EQ(V.ExpandText("%A%%B%"), Repeated("%C%", 51 * 50));
  EXPECT_EQ(V.TakeExpansionOverflow(), "");

  // %C% brings the text to 382,653 bytes; %D% would take it to 19 MB: it stops before %D%.
  // (Checked with EXPECT_TRUE: a failure must not print megabytes.)
  EXPECT_TRUE(V.ExpandText("%A%%B%%C%%D%") == Repeated("%D%", 2551 * 50 + 1));
  EXPECT_EQ(V.TakeExpansionOverflow(), "%D%");
  EXPECT_EQ(V.TakeExpansionOverflow(), "");  // taken once

  // A value that cannot be expanded whole is not stored, and nobody hears of a change.
  int changes = 0;
  V.OnChange = [&](const std::string&, const std::string&) { ++changes; };
  V.SetVariable("%E%", "%A%%B%%C%%D%");
  EXPECT_EQ(V.Table.IndexOf("%E%"), -1);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(V.TakeExpansionOverflow(), "%D%");

  // A text longer than the limit already may still lose length; it may not grow.
  V.Table.Set("%Gone%", "");
  V.Table.Set("%Six%", "123456");
  const std::string longText(TSetupVariables::MaxExpandedSize + 10, 'y');
  EXPECT_TRUE(V.ExpandText(longText + "%Gone%") == longText);  // no megabytes in a failure
  EXPECT_EQ(V.TakeExpansionOverflow(), "");
  EXPECT_TRUE(V.ExpandText(longText + "%Six%") == longText + "%Six%");
  EXPECT_EQ(V.TakeExpansionOverflow(), "%Six%");
}

TEST(Expansion, ReplacementChecksTheLimitAsTheTextGrows) {
  std::string text = "a%X%b%x%c";
  EXPECT_FALSE(ReplaceIgnoringCase(text, "%X%", "12345", 12));  // would be 13 bytes
  EXPECT_EQ(text, "a%X%b%x%c");
  EXPECT_TRUE(ReplaceIgnoringCase(text, "%X%", "12345", 13));
  EXPECT_EQ(text, "a12345b12345c");
}

TEST_F(Vars, UnknownNamesStay) {
  EXPECT_EQ(V.ExpandText("%NoSuchVariable% 100% done"), "%NoSuchVariable% 100% done");
}

TEST_F(Vars, NamesBroughtInByValuesAreNotExpandedAgain) {
  V.Table.Set("%Outer%", "%Inner%");
  V.Table.Set("%Inner%", "deep");
  EXPECT_EQ(V.ExpandText("%Outer%"), "%Inner%");
}

TEST_F(Vars, SetupTypeSwitchesSelectionAndKeepsTheCustomOne) {
  V.SetVariable("%SetupType%", "0");
  EXPECT_EQ(V.SelectedComponents, "A");
  V.SetVariable("%SetupType%", "2");
  EXPECT_EQ(V.SelectedComponents, "C");
  V.SelectedComponents = "A|C";  // the user changes the custom selection
  V.SetVariable("%SetupType%", "0");
  EXPECT_EQ(V.SelectedComponents, "A");
  V.SetVariable("%SetupType%", "2");
  EXPECT_EQ(V.SelectedComponents, "A|C");
  V.SetVariable("%SetupType%", "7");
  EXPECT_EQ(V.Stored("%SetupType%"), "0");
  EXPECT_EQ(V.SelectedComponents, "A");
}

TEST_F(Vars, ChangeHookGetsTheNameWithPercentsAndTheValueAsGiven) {
  std::vector<std::pair<std::string, std::string>> seen;
  V.OnChange = [&](const std::string& n, const std::string& v) { seen.emplace_back(n, v); };
  V.SetVariable("Dir", "%WinDir%\\", true);
  V.SetVariable("%IsNT%", "0");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].first, "%Dir%");
  EXPECT_EQ(seen[0].second, "%WinDir%");
  EXPECT_EQ(V.Stored("Dir"), "C:\\windows");  // stored under the name as given
}

TEST_F(Vars, CommandLineParameterByNumber) {
  V.SetVariable("%CmdParamNum%", "0");
  EXPECT_EQ(V.ExpandText("%CmdLineParam%"), "C:\\setup.exe");
  V.SetVariable("%CmdParamNum%", "1");
  EXPECT_EQ(V.ExpandText("%CmdLineParam%"), "/first");
  V.SetVariable("%CmdParamNum%", "2");
  EXPECT_EQ(V.ExpandText("[%CmdLineParam%]"), "[]");
  V.SetVariable("%CmdParamNum%", "x1y");
  EXPECT_EQ(V.EvaluateVariable("%cmdlineparam%"), "/first");
}

TEST_F(Vars, ComputedRowsAreAskedOnlyWhenUsed) {
  V.ExpandText("plain %InstallDir% text");
  EXPECT_EQ(Builtins.Asked.count(TBuiltin::OSVersion), 0u);
  V.ExpandText("%OSVersion% %OSVersion%");
  EXPECT_EQ(Builtins.Asked[TBuiltin::OSVersion], 1);
  V.ExpandText("%OSVersion%");
  EXPECT_EQ(Builtins.Asked[TBuiltin::OSVersion], 2);  // fresh at every expansion
}

TEST_F(Vars, InitVariablesEmptiesCollectedNamesAndSetsTheStartValues) {
  Desc.Properties.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  Desc.Properties.DefaultProgramGroup = "%SoftwareName%";
  Desc.DefaultLanguageName = "English";
  V.SetVariable("%Custom%", "from registry");
  V.InitVariables({"Custom", "%custom%", "", "%Answer%"}, "Alice|Bob");
  EXPECT_EQ(V.Stored("%Custom%"), "");
  EXPECT_NE(V.Table.IndexOf("%Answer%"), -1);
  EXPECT_EQ(V.Stored("%InstallDir%"), "C:\\Program Files\\Tom & Jerry");
  EXPECT_EQ(V.Stored("%ProgramGroup%"), "Tom & Jerry");
  EXPECT_EQ(V.Stored("%CanClose%"), "0");
  EXPECT_EQ(V.Stored("%SetupType%"), "0");
  EXPECT_EQ(V.Stored("%HotSyncUser%"), "Alice|Bob");
  EXPECT_EQ(V.Stored("%Language%"), "English");
  EXPECT_NE(V.Table.IndexOf("%DLLResult%"), -1);
  EXPECT_EQ(V.Table.IndexOf("%IsNT%"), -1);  // read-only names are computed, never stored
  EXPECT_EQ(V.SelectedComponents, "A");
}

// A variable the project declares starts with its registry value or default, also when a
// control is bound to it or a script names it.
TEST_F(Vars, DeclaredVariablesKeepTheirStartValue) {
  Desc.Variables.resize(1);
  Desc.Variables[0].Name = "%Desktop%";
  Desc.Variables[0].Reg.Data = "1";
  SetCustomVariables(V, Desc.Variables, [](uint8_t, const std::string&, const std::string&) {
    return std::optional<std::string>();
  });
  V.InitVariables({"desktop", "%Other%"}, "");
  EXPECT_EQ(V.Stored("%Desktop%"), "1");
  EXPECT_NE(V.Table.IndexOf("%Other%"), -1);
  EXPECT_EQ(V.Stored("%Other%"), "");
}

TEST_F(Vars, ComponentSelection) {
  V.SelectedComponents = "a|c";
  EXPECT_TRUE(V.IsComponentSelected(""));
  EXPECT_TRUE(V.IsComponentSelected("B|C"));
  EXPECT_FALSE(V.IsComponentSelected("B"));
  EXPECT_FALSE(V.IsComponentSelected("B||"));
  TSetupDescription none;
  TSetupVariables empty(none, Builtins);
  EXPECT_TRUE(empty.IsComponentSelected("Anything"));
}

TEST_F(Vars, MaintenanceSelectsOnlyNewComponentsForInstall) {
  V.MaintenanceMode = true;
  V.InstalledComponents = "A|B";
  V.SelectedComponents = "B|C";
  EXPECT_EQ(V.RemovedComponents(), "A");
  EXPECT_EQ(V.NewComponents(), "C");
  EXPECT_TRUE(V.IsComponentSelectedForInstall("C"));
  EXPECT_FALSE(V.IsComponentSelectedForInstall("B"));
  EXPECT_FALSE(V.IsComponentSelectedForInstall(""));
  V.MaintenanceMode = false;
  EXPECT_TRUE(V.IsComponentSelectedForInstall(""));
  EXPECT_TRUE(V.IsComponentSelectedForInstall("B"));
}

TEST_F(Vars, CustomVariablesFromRegistryOrDefault) {
  std::vector<TSetupVariable> records(3);
  records[0].Name = "%FromReg%";
  records[0].Reg.Root = RootLocalMachine;
  records[0].Reg.Key = "\\Software\\Test\\";
  records[0].Reg.ValueName = "Path";
  records[0].Folder = 1;
  records[1].Name = "%Fallback%";
  records[1].Reg.Root = 9;  // keeps the root before
  records[1].Reg.Key = "Software\\Missing";
  records[1].Reg.Data = "%WinDir%\\x";
  records[2].Name = "%First%";
  std::vector<std::pair<int, std::string>> asked;
  auto read = [&](uint8_t root, const std::string& key, const std::string& value) -> std::optional<std::string> {
    asked.emplace_back(root, key);
    if (key == "Software\\Test" && value == "Path") return std::string("D:\\dir\\");
    return std::nullopt;
  };
  SetCustomVariables(V, records, read);
  EXPECT_EQ(V.Stored("%FromReg%"), "D:\\dir");
  EXPECT_EQ(V.Stored("%Fallback%"), "C:\\windows\\x");
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0].first, RootLocalMachine);
  EXPECT_EQ(asked[1].first, RootLocalMachine);
  std::vector<TSetupVariable> odd(1);
  odd[0].Name = "%Odd%";
  odd[0].Reg.Root = 200;
  asked.clear();
  SetCustomVariables(V, odd, read);
  EXPECT_EQ(asked[0].first, RootCurrentUser);  // the first record's default root
}

TEST(Builtins, DateFormatsAndNumbers) {
  TLocalTime t{2026, 3, 7, 9, 5, 1};
  EXPECT_EQ(FormatTimeBuiltin(TBuiltin::Date, t, "."), "03.07.2026");
  EXPECT_EQ(FormatTimeBuiltin(TBuiltin::EuropeanDate, t, "/"), "07/03/2026");
  EXPECT_EQ(FormatTimeBuiltin(TBuiltin::ISODate, t, "."), "2026-03-07");
  EXPECT_EQ(FormatTimeBuiltin(TBuiltin::CurrentHour, t, "/"), "09");
  EXPECT_EQ(FormatTimeBuiltin(TBuiltin::CurrentSecond, t, "/"), "01");
  EXPECT_EQ(NumberFromText("a1b2"), 12);
  EXPECT_EQ(NumberFromText("-3x"), -3);
  EXPECT_EQ(NumberFromText("1-2"), 0);
  EXPECT_EQ(NumberFromText(""), 0);
}

TEST(Builtins, CommandLineWords) {
  auto p = CommandLineParams("\"C:\\Program Files\\setup.exe\" /a  \"two words\" x\"y z\"w");
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0], "/a");
  EXPECT_EQ(p[1], "two words");
  EXPECT_EQ(p[2], "xy zw");
  EXPECT_TRUE(CommandLineParams("setup.exe").empty());
  EXPECT_TRUE(CommandLineParams("   ").empty());
  EXPECT_EQ(CommandLineParams("a \"\"").size(), 1u);  // an empty quoted word is still a word
}
