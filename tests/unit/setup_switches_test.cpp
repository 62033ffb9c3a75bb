#include <gtest/gtest.h>

#include "FakeBuiltins.h"
#include "install/OverwriteRules.h"
#include "package/SetupVariables.h"
#include "setup/LogRules.h"
#include "setup/SetupSwitches.h"
#include "setup/SwitchValues.h"

using namespace vnt;
using namespace vnt::test;

namespace {

TSwitchReading Read(std::vector<std::string> words, TSwitchOwner owner = TSwitchOwner::Setup) {
  return ReadSetupSwitches(words, owner);
}

}  // namespace

TEST(SetupSwitches, ACommandLineWithoutSwitchesIsThePackagesAlone) {
  for (const auto& words : std::vector<std::vector<std::string>>{{}, {"/de"}, {"/de", "file.txt", "-x"}}) {
    TSwitchReading r = Read(words);
    EXPECT_EQ(r.Problem, "");
    EXPECT_FALSE(r.Switches.Unattended());
    EXPECT_FALSE(r.Switches.Log);
  }
}

TEST(SetupSwitches, EverySwitchIsReadIgnoringCase) {
  TSwitchReading r = Read({"/silent", "-SuppressMsgBoxes", "/DIR=C:\\Program Files\\Tour", "/group=Tour",
                           "/COMPONENTS=Program, Help", "/Type=1", "/LANG=deutsch", "/VAR:Serial=12=34",
                           "/var:%Mode%=fast", "/VAR:Empty=", "/LOG", "/NORESTART", "--", "/de", "x"});
  ASSERT_EQ(r.Problem, "");
  const TSetupSwitches& s = r.Switches;
  EXPECT_EQ(s.Quietness, TQuietness::Silent);
  EXPECT_TRUE(s.SuppressMsgBoxes && s.NoRestart && s.Log && !s.AllowRestart);
  EXPECT_EQ(s.LogFile, "");
  EXPECT_EQ(*s.Dir, "C:\\Program Files\\Tour");
  EXPECT_EQ(*s.Group, "Tour");
  EXPECT_EQ(*s.Components, (std::vector<std::string>{"Program", "Help"}));
  EXPECT_EQ(*s.Type, 1);
  EXPECT_EQ(*s.Lang, "deutsch");
  using V = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(s.Vars, (V{{"Serial", "12=34"}, {"Mode", "fast"}, {"Empty", ""}}));
  EXPECT_EQ(s.Words, (std::vector<std::string>{"/de", "x"}));
  EXPECT_FALSE(s.ShowsMessages());

  TSwitchReading v = Read({"/VERYSILENT", "/SILENT", "/LOG=C:\\logs\\a.txt", "/ALLOWRESTART"});
  EXPECT_EQ(v.Switches.Quietness, TQuietness::VerySilent);
  EXPECT_EQ(v.Switches.LogFile, "C:\\logs\\a.txt");
  EXPECT_TRUE(v.Switches.AllowRestart);
  EXPECT_TRUE(Read({"/?"}).Switches.Usage);
  EXPECT_TRUE(Read({"/SILENT"}).Switches.ShowsMessages());
}

TEST(SetupSwitches, OnceASwitchIsNamedEveryWordMustBeOneAndWellFormed) {
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"/SILENT", "/BOGUS"},          {"/VERYSILENT", "/de"},       {"/SILENT", "extra"},
           {"/DIR"},                        {"/DIR="},                    {"/DIR:C:\\x"},
           {"/TYPE=3"},                     {"/TYPE=x"},                  {"/COMPONENTS=a,,b"},
           {"/COMPONENTS=a,"},              {"/VAR:=x"},                  {"/VAR:NoValue"},
           {"/VAR=a=b"},                    {"/VAR:a%b=1"},               {"/SILENT=1"},
           {"/LOG="},                       {"/LANG"},                    {"/GROUP="}}) {
    TSwitchReading r = Read(words);
    EXPECT_NE(r.Problem, "") << words.back();
  }
  EXPECT_NE(Read({"/SILENT", "/BOGUS"}).Problem.find("/BOGUS"), std::string::npos);
}

TEST(SetupSwitches, TheUninstallerTakesItsWordsAndOnlyItsSwitches) {
  TSwitchReading r = Read({"C:\\P\\uninst.dat", "Vantry Tour", "/verysilent", "/LOG=x.txt"}, TSwitchOwner::Uninstaller);
  ASSERT_EQ(r.Problem, "");
  EXPECT_EQ(r.Switches.Words, (std::vector<std::string>{"C:\\P\\uninst.dat", "Vantry Tour"}));
  EXPECT_EQ(r.Switches.Quietness, TQuietness::VerySilent);
  EXPECT_EQ(r.Switches.LogFile, "x.txt");
  EXPECT_NE(Read({"u.dat", "/DIR=C:\\x"}, TSwitchOwner::Uninstaller).Problem, "");
  EXPECT_NE(Read({"u.dat", "/NORESTART"}, TSwitchOwner::Uninstaller).Problem, "");
}

TEST(SetupSwitches, SecretsStayOutOfTheLogAndRestartsFollowTheSwitches) {
  EXPECT_EQ(ElidedCommandLine({"/SILENT", "/VAR:Password=hunter2", "/VAR:UserName=ann", "/DIR=C:\\My Tour",
                               "--", "pwd=x"}),
            "/SILENT /VAR:Password=*** /VAR:UserName=ann \"/DIR=C:\\My Tour\" -- pwd=***");
  TSetupSwitches s;
  s.Quietness = TQuietness::Silent;
  EXPECT_EQ(UnattendedRestartStep(s, false), TRestartStep::NotNeeded);
  EXPECT_EQ(UnattendedRestartStep(s, true), TRestartStep::Restart);
  s.NoRestart = true;
  EXPECT_EQ(UnattendedRestartStep(s, true), TRestartStep::Leave);
  s = {};
  s.Quietness = TQuietness::VerySilent;
  EXPECT_EQ(UnattendedRestartStep(s, true), TRestartStep::Leave);
  s.AllowRestart = true;
  EXPECT_EQ(UnattendedRestartStep(s, true), TRestartStep::Restart);
  s.NoRestart = true;  // never restart wins
  EXPECT_EQ(UnattendedRestartStep(s, true), TRestartStep::Leave);
}

TEST(SetupSwitches, ValuesAreCheckedAgainstThePackageThenSet) {
  TSetupDescription d;
  d.Properties.SetupTypeComponents = {"Program|Help", "Program", "Program"};
  d.Components = {{{"Program", "", ""}, 0, 0, 0}, {{"Help", "", ""}, 0, 0, 0}, {{"Samples", "", ""}, 0, 0, 0}};
  d.Languages.push_back({"English", 1033, 1, {}});
  d.Languages.push_back({"Deutsch", 1031, 0, {}});
  TFakeBuiltins builtins;
  TSetupVariables vars(d, builtins);
  vars.InitVariables({}, "");

  TSetupSwitches s = Read({"/DIR=C:\\Tour\\", "/COMPONENTS=samples,help", "/LANG=DEUTSCH", "/VAR:Key=k1",
                           "/VAR:Mode=%InstallDir%\\x"}).Switches;
  EXPECT_EQ(SwitchValuesProblem(s, d), "");
  std::vector<std::string> lines = ApplySwitchValues(s, d, vars);
  EXPECT_EQ(vars.ExpandText("%InstallDir%"), "C:\\Tour");
  EXPECT_EQ(vars.ExpandText("%Language%"), "Deutsch");
  EXPECT_EQ(vars.ExpandText("%SetupType%"), "2");
  EXPECT_EQ(vars.SelectedComponents, "Samples|Help");
  EXPECT_EQ(vars.ExpandText("%Key%"), "k1");
  std::string all;
  for (const auto& line : lines) all += line + "\n";
  EXPECT_NE(all.find("%Key% = ***"), std::string::npos) << all;
  EXPECT_EQ(all.find("k1"), std::string::npos) << all;

  for (const auto& words : std::vector<std::vector<std::string>>{
           {"/COMPONENTS=Program,Extras"}, {"/LANG=Français"}, {"/DIR=Tour"}, {"/DIR=\\Tour"}, {"/VAR:IsAdmin=1"}}) {
    TSetupSwitches bad = Read(words).Switches;
    EXPECT_NE(SwitchValuesProblem(bad, d), "") << words[0];
  }
  TSetupSwitches type = Read({"/TYPE=1", "/DIR=\\\\server\\share\\Tour"}).Switches;
  EXPECT_EQ(SwitchValuesProblem(type, d), "");
  ApplySwitchValues(type, d, vars);
  EXPECT_EQ(vars.SelectedComponents, "Program");
}

TEST(SetupLogRules, EntriesAreStampedAndNamesAreSafe) {
  TLogTime t{2026, 12, 8, 9, 5, 7, 45};
  EXPECT_EQ(LogEntryText(t, "copied a.txt"), "2026-12-08 09:05:07.045  copied a.txt\r\n");
  EXPECT_EQ(LogEntryText(t, "first\r\nsecond"), "2026-12-08 09:05:07.045  first\r\n                           second\r\n");
  EXPECT_EQ(DefaultLogFileName("Tour: A/B?", "Setup", t), "Tour_ A_B_ Setup Log 2026-12-08 09.05.07.txt");
  EXPECT_EQ(DefaultLogFileName("Tour. ", "Uninstall", t), "Tour Uninstall Log 2026-12-08 09.05.07.txt");
  EXPECT_EQ(DefaultLogFileName("", "Setup", t), "Setup Log 2026-12-08 09.05.07.txt");
}

TEST(OverwriteRules, AnUnattendedRunKeepsOnlyANewerFile) {
  using Q = TReplaceQuestion;
  for (uint8_t mode : {OverwriteAsk, OverwriteAskExistingOnly, OverwriteAskByVersion, OverwriteAskByDate}) {
    EXPECT_EQ(UnattendedReplaceAnswer(Q::Exists, mode), TReplaceAnswer::Yes);
    EXPECT_EQ(UnattendedReplaceAnswer(Q::Older, mode), TReplaceAnswer::Yes);
    EXPECT_EQ(UnattendedReplaceAnswer(Q::Newer, mode), TReplaceAnswer::No);
  }
  // No would be refused and asked again for ever.
  EXPECT_EQ(UnattendedReplaceAnswer(Q::Newer, OverwriteAskMustReplace), TReplaceAnswer::Yes);
}
