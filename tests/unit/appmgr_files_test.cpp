#include <gtest/gtest.h>

#include "FakeBuiltins.h"

#include "device/AppMgrFiles.h"
#include "package/ComponentLists.h"

using namespace vnt;

namespace {

struct AppMgrFiles : ::testing::Test {
  TSetupDescription Desc;
  std::vector<std::string> SelectedCabs = {"app.arm.cab", "tool.cab"};
  // A group is used when one of its cabinets is among those chosen here.
  TGroupIsUsed IsUsed = [this](const TSetupDeviceFileGroup& g) {
    for (const auto& cab : SelectedCabs)
      if (ComponentListContains(g.CabinetFiles, cab)) return true;
    return false;
  };
  TExpandText Expand = [](const std::string& text) {
    std::string out = text;
    const std::string var = "%InstallDir%";
    if (auto at = out.find(var); at != std::string::npos) out.replace(at, var.size(), "C:\\Apps\\My");
    return out;
  };
  AppMgrFiles() {
    Desc.Properties.SoftwareName = "My App: v1.2";
    Desc.Properties.CompanyName = "Acme";
    Desc.Properties.Description = "The app";
    Desc.Properties.MainGroupDesktopFolder = "%InstallDir%\\Device\\";
    Desc.Properties.MainGroupCabinetFiles = "app.arm.cab||app.sh3.cab|";
    Desc.DeviceGroups.push_back({"Unused", "%InstallDir%\\U", "nothing", "", "none.cab"});
    Desc.DeviceGroups.push_back({"Tools", "%InstallDir%\\T", "Extra tools", "", "tool.cab"});
  }
};

}  // namespace

TEST_F(AppMgrFiles, WholeFileOfTheFirstGroup) {
  auto files = PlanAppMgrFiles(Desc, IsUsed, Expand, "C:\\Apps\\My\\My App.ico");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].Path, "C:\\Apps\\My\\Device\\My App_ v1.2.ini");
  EXPECT_EQ(files[0].Text,
            ";==================================================\r\n"
            "; My App_ v1.2.ini\r\n"
            ";\r\n"
            "; My App: v1.2\r\n"
            ";\r\n"
            "; Setup created by Acme with\r\n"
            "; https://vantry.example/\r\n"
            ";==================================================\r\n"
            "\r\n"
            "[CEAppManager]\r\n"
            "Version = 1.0\r\n"
            "Component = My App: v1.2\r\n"
            "\r\n"
            "[My App: v1.2]\r\n"
            "Description = \"The app\"\r\n"
            "Uninstall = \"Acme My App: v1.2\"\r\n"
            "IconFile = \"My App.ico\"\r\n"
            "CabFiles = app.arm.cab,app.sh3.cab\r\n");
}

TEST_F(AppMgrFiles, OnlyUsedGroupsInOrderAndOnlyTheFirstUninstalls) {
  auto files = PlanAppMgrFiles(Desc, IsUsed, Expand, "C:\\Apps\\My\\My App.ico");
  ASSERT_EQ(files.size(), 2u);  // "Unused" has no chosen cabinet
  EXPECT_EQ(files[1].Path, "C:\\Apps\\My\\T\\Tools.ini");
  EXPECT_NE(files[1].Text.find("[Tools]\r\nDescription = \"Extra tools\"\r\nIconFile = \"My App.ico\"\r\n"
                               "CabFiles = tool.cab\r\n"),
            std::string::npos);
  EXPECT_EQ(files[1].Text.find("Uninstall"), std::string::npos);
  EXPECT_EQ(AppMgrArguments({files[0].Path, files[1].Path}),
            "\"C:\\Apps\\My\\Device\\My App_ v1.2.ini\" \"C:\\Apps\\My\\T\\Tools.ini\"");

  // Without the main group, the first written file is the one that uninstalls.
  SelectedCabs = {"tool.cab"};
  files = PlanAppMgrFiles(Desc, IsUsed, Expand, "");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(files[0].Text.find("Uninstall = \"Acme Tools\"\r\n"), std::string::npos);
  EXPECT_EQ(files[0].Text.find("IconFile"), std::string::npos);

  SelectedCabs.clear();
  EXPECT_TRUE(PlanAppMgrFiles(Desc, IsUsed, Expand, "").empty());
  EXPECT_EQ(AppMgrArguments({}), "");
}

TEST_F(AppMgrFiles, SafeNamesKeepDotsAndBlanks) {
  EXPECT_EQ(AppMgrSafeName("a\\b/c:d*e?f\"g<h>i|j,k. l"), "a_b_c_d_e_f_g_h_i_j_k. l");
  EXPECT_EQ(AppMgrFilePath("D:\\x", "N"), "D:\\x\\N.ini");
  EXPECT_EQ(AppMgrFilePath("D:\\x\\", "N"), "D:\\x\\N.ini");
}

// The run's own selection: a cabinet counts when its component is chosen and it goes to the
// group's folder as stored; the folder is then expanded.
TEST_F(AppMgrFiles, TheRunsSelectionDecidesAndItsVariablesExpand) {
  test::TFakeBuiltins builtins;
  TSetupVariables vars{Desc, builtins};
  TSetupQueries queries{Desc, vars};
  Desc.Components = {{{"Device", "", ""}, 0, 0, 0}, {{"Tools", "", ""}, 0, 0, 0}};
  TSetupInstallerFile mainCab, toolCab;
  mainCab.File.SourceName = "APP.ARM.CAB";
  mainCab.File.DestFolder = "%installdir%\\device\\";
  mainCab.File.Components = "Device";
  toolCab.File.SourceName = "tool.cab";
  toolCab.File.DestFolder = "%InstallDir%\\Elsewhere";  // not the group's folder
  toolCab.File.Components = "Tools";
  Desc.ProductFiles = {mainCab, toolCab};
  vars.SetVariable("%InstallDir%", "D:\\P");
  vars.SelectedComponents = "Device|Tools";
  auto files = PlanAppMgrFiles(Desc, queries, vars, "");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].Path, "D:\\P\\Device\\My App_ v1.2.ini");
  vars.SelectedComponents = "Tools";
  EXPECT_TRUE(PlanAppMgrFiles(Desc, queries, vars, "").empty());
}
