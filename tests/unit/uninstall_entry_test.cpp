#include <gtest/gtest.h>

#include <algorithm>

#include "FakeBuiltins.h"
#include "install/UninstallEntry.h"
#include "package/SetupStrings.h"

using namespace vnt;

TEST(UninstallEntry, ValuesAndRecordOfARun) {
  TSetupDescription desc;
  test::TFakeBuiltins builtins;
  TSetupVariables vars{desc, builtins};
  TSetupProperties& p = desc.Properties;
  p.SoftwareName = "Hello";
  p.CompanyName = "Vantry";
  p.Description = "Says %Greeting%";  // kept as written
  p.DisplayName = "%SoftwareName% %Version%";
  p.DisplayVersion = "%Version%";
  p.Contact = "help@example.com";
  vars.SetVariable("%Version%", "1.2");
  vars.SetVariable("%InstallDir%", "C:\\Program Files\\Hello");
  vars.SelectedComponents = "Program";
  desc.Scripts[AfterUninstallScript] = {ScriptStatement{OpFileDelete, {"x"}, ""}};
  TEntryPlaces places{"C:\\windows", "D:\\setup\\setup.exe", "", ""};

  std::vector<TRegistryText> values = AddRemoveValues(p, vars, places);
  std::vector<std::string> names;
  for (const auto& v : values) names.push_back(v.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"DisplayName", "UninstallString", "DisplayVersion", "URLInfoAbout",
                                             "HelpLink", "URLUpdateInfo", "Comments", "Contact", "InstallLocation",
                                             "InstallSource", "Publisher"}));
  EXPECT_EQ(values[0].Value, "Hello 1.2");
  EXPECT_EQ(values[1].Value, "\"C:\\windows\\vntuninst.exe\" \"C:\\Program Files\\Hello\\uninst.dat\" \"Vantry Hello\"");
  EXPECT_EQ(values[6].Value, "Says %Greeting%");
  EXPECT_EQ(values[8].Value, "C:\\Program Files\\Hello\\");
  EXPECT_EQ(values[9].Value, "D:\\setup\\");
  places.IconFile = "C:\\Program Files\\Hello\\Hello.ico";
  EXPECT_EQ(AddRemoveValues(p, vars, places).back(), (TRegistryText{"DisplayIcon", places.IconFile}));

  TUninstallRecord r = UninstallRecordOf(desc, DefaultMessages(), vars, 1, 0, places);
  EXPECT_EQ(r.InstalledComponents, "Program");
  EXPECT_EQ(r.AfterUninstallScript.size(), 1u);
  EXPECT_EQ(r.Messages[UtQuestion], "Do you want to uninstall %SoftwareName% from Desktop?");
  EXPECT_NE(std::find(r.Variables.begin(), r.Variables.end(), "%Version%=1.2"), r.Variables.end());
  TUninstItem item = EntryValueItem("Software\\X", values[0]);
  EXPECT_EQ(item.Kind, UninstRegValue);
  EXPECT_EQ(item.RegChange->Root, 2);
  EXPECT_EQ(item.RegChange->Data, "Hello 1.2");
}
