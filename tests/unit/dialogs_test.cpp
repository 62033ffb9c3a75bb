#include <gtest/gtest.h>

#include "TestPackages.h"
#include "package/DialogEditorFuncs.h"
#include "package/PackagePrimitives.h"

using namespace vnt;

namespace {

TSetupDialog Dialog(const std::string& name, bool style = false) {
  TSetupDialog d;
  d.Name = name;
  d.IsStyle = style;
  return d;
}

TDialogSection RoundTrip(const std::vector<TSetupDialog>& dialogs) {
  TMemoryStream s;
  WriteDialogSection(s, dialogs);
  s.Seek(0);
  return ReadDialogSection(s);
}

}  // namespace

TEST(Dialogs, FirstAndLastPageSkipStylesAndInstall) {
  auto section = RoundTrip({Dialog("Style", true), Dialog("install"), Dialog("A"), Dialog("B"), Dialog("C")});
  EXPECT_EQ(section.FirstPage, "A");
  EXPECT_EQ(section.LastPage, "C");
  auto onlyInstall = RoundTrip({Dialog("INSTALL"), Dialog("S", true)});
  EXPECT_EQ(onlyInstall.FirstPage, "");
  EXPECT_EQ(onlyInstall.LastPage, "");
}

TEST(Dialogs, FindByNameTakesTheFirst) {
  std::vector<TSetupDialog> dialogs = {Dialog("Page"), Dialog("PAGE")};
  dialogs[1].Title = "second";
  ASSERT_NE(FindDialog(dialogs, "page"), nullptr);
  EXPECT_EQ(FindDialog(dialogs, "page")->Title, "");
  EXPECT_EQ(FindDialog(dialogs, "other"), nullptr);
  EXPECT_EQ(FindDialog({}, "page"), nullptr);
}

TEST(Dialogs, ParametersStoredByKind) {
  TSetupDialog d = Dialog("P");
  for (uint8_t kind = 0; kind <= 15; ++kind) {
    TControlDef c;
    c.Kind = kind;
    c.Height = 23;
    c.Width = 75;
    c.P = {"1", "2", "3", "4", "5", "6"};
    d.Controls.push_back(c);
  }
  auto back = RoundTrip({d}).Dialogs[0].Controls;
  ASSERT_EQ(back.size(), 16u);
  const int want[] = {0, 3, 4, 5, 6, 5, 6, 6, 4, 1, 0, 3, 0, 2, 0, 0};
  for (int kind = 0; kind <= 15; ++kind) {
    int stored = 0;
    while (stored < ControlParamCount && !back[kind].P[stored].empty()) ++stored;
    EXPECT_EQ(stored, want[kind]) << "kind " << kind;
    EXPECT_EQ(back[kind].Height, 23);
    EXPECT_EQ(back[kind].Width, 75);
  }
}

TEST(Dialogs, StoredLayoutOfAControl) {
  TSetupDialog d = Dialog("N");
  TControlDef c;
  c.Kind = KindImageButton;
  c.Binding = "%V%";
  c.Role = RoleProgramIcon;
  c.Left = 1;
  c.Top = 2;
  c.Height = 3;
  c.Width = 4;
  c.P[0] = "pic.bmp";
  d.Controls = {c};
  TMemoryStream s;
  WriteDialogSection(s, {d});
  std::string b = s.Bytes();
  // count, name, title, sizes, font, style flag, style name, control count, then the control
  size_t at = 4 + 2 + 1 + 8 + (1 + 10) + 1 + 1 + 4;
  EXPECT_EQ(b.substr(at, 1), "\x09");
  EXPECT_EQ(b.substr(at + 1, 4), std::string("%V%\0", 4));
  EXPECT_EQ(b.substr(at + 5, 1), "\x08");
  EXPECT_EQ(b.substr(at + 6, 16), std::string("\1\0\0\0\2\0\0\0\3\0\0\0\4\0\0\0", 16));
  EXPECT_EQ(b.substr(at + 22, 8), std::string("pic.bmp\0", 8));
}

TEST(Dialogs, DamagedSectionsAreRefused) {
  TSetupDialog d = test::RichContent().Description.Dialogs.Dialogs[1];
  TMemoryStream s;
  WriteDialogSection(s, {d});
  const std::string good = s.Bytes();
  for (size_t cut = 0; cut < good.size(); cut += 3) {
    TMemoryStream part(good.substr(0, cut));
    EXPECT_THROW(ReadDialogSection(part), EPackageError) << cut;
  }
  TMemoryStream huge;
  WriteI32(huge, 1 << 30);
  huge.Write("xxxx", 4);
  huge.Seek(0);
  EXPECT_THROW(ReadDialogSection(huge), EPackageError);
}

TEST(Dialogs, LongTextsKeepTheirFirstThousandCharacters) {
  TSetupDialog d = Dialog(std::string(1200, 'n'));
  TControlDef c;
  c.Kind = KindLabel;
  c.P[0] = std::string(1500, 'p');
  d.Controls = {c};
  auto back = RoundTrip({d}).Dialogs[0];
  EXPECT_EQ(back.Name.size(), 1000u);
  EXPECT_EQ(back.Controls[0].P[0].size(), 1000u);
}

TEST(Dialogs, NamesAndSuffixes) {
  EXPECT_EQ(CleanDialogName("My-Page 1.x/y"), "My_Page_1_x_y");
  EXPECT_EQ(ControlSuffix(KindList, RoleAgreement), "_License");
  EXPECT_EQ(ControlSuffix(KindList, RoleTextFile), "_License");
  EXPECT_EQ(ControlSuffix(KindList, RoleDirList), "_DirList");
  EXPECT_EQ(ControlSuffix(KindList, RoleDirList, true), "_ListBox");
  EXPECT_EQ(ControlSuffix(KindCombo, RoleDrive), "_DriveCombo");
  EXPECT_EQ(ControlSuffix(KindCombo, RoleNone), "_ComboBox");
  EXPECT_EQ(ControlSuffix(KindStyleSpace, 0), "");
  EXPECT_EQ(ControlSuffix(99, 0), "");
  // The smallest free number per base, names already on the container compared ignoring case.
  TComponentNames names;
  names.Add("vn_page_button2");
  EXPECT_EQ(names.Take("Page_Button"), "VN_Page_Button1");
  EXPECT_EQ(names.Take("Page_Button"), "VN_Page_Button3");
  EXPECT_EQ(names.Take("Page_Label"), "VN_Page_Label1");
  names.Add("VN_Page_Label2");
  EXPECT_EQ(names.Take("Page_Label"), "VN_Page_Label3");
  TComponentNames full;
  for (int n = 1; n <= 30000; ++n) full.Add("VN_X" + std::to_string(n));
  EXPECT_EQ(full.Take("X"), "");
  EXPECT_EQ(full.Take("Y"), "VN_Y1");
}

TEST(Dialogs, ControlFonts) {
  TFontRecord base{"Verdana", 8, 0, 0, 1};
  EXPECT_EQ(ControlFont(base, "Tahoma|16|-2147483640|1|0|", false),
            (TFontRecord{"Tahoma", 16, -2147483640, 1, 0}));
  EXPECT_EQ(ControlFont(base, "Tahoma|16|0|1", false), base);  // four fields
  EXPECT_EQ(ControlFont(base, "", false), base);
  EXPECT_EQ(ControlFont(base, "Tahoma||0|1|0", false), base);  // an empty field
  // The own-fonts option keeps the setup's face when only the face differs.
  EXPECT_EQ(ControlFont(base, "Tahoma|8|5|2|0|", true).Name, "Verdana");
  EXPECT_EQ(ControlFont(base, "Tahoma|9|5|2|0|", true).Name, "Tahoma");
  EXPECT_EQ(ControlFont(base, "Tahoma|x9y|abc|2|0|", false).Size, 9);
  EXPECT_EQ(FormatFontSpec({"Tahoma", 8, -2147483640, 0, 1}), "Tahoma|8|-2147483640|0|1|");
}
