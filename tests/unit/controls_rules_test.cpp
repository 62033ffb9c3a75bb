#include <gtest/gtest.h>

#include <set>

#include "ui/ControlRules.h"

using namespace vnt;

TEST(ControlRules, ItemListsFromBarSeparatedText) {
  EXPECT_TRUE(SplitItems("").empty());
  EXPECT_EQ(SplitItems("a|b|"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitItems("a||b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitItems("|"), (std::vector<std::string>{""}));
  EXPECT_EQ(SplitItems(" x | y"), (std::vector<std::string>{" x ", " y"}));
  EXPECT_EQ(JoinItems(SplitItems("a||b")), "a||b");
  EXPECT_EQ(JoinItems({}), "");

  std::vector<std::string> items{"beta", "Alpha", "BETA", "alpha", "Gamma"};
  SortItems(items);
  EXPECT_EQ(items, (std::vector<std::string>{"Alpha", "alpha", "beta", "BETA", "Gamma"}));
  EXPECT_EQ(FindExactItem(items, "BETA"), 3);
  EXPECT_EQ(FindExactItem(items, "gamma"), -1);
  EXPECT_EQ(FindExactItem({}, ""), -1);
}

TEST(ControlRules, CheckBoxValues) {
  TCheckValues v{"Yes", "No"};
  EXPECT_TRUE(CheckBoxChecks(v, "yes"));
  EXPECT_TRUE(CheckBoxChecks(v, "YES"));
  EXPECT_FALSE(CheckBoxChecks(v, "yes "));
  EXPECT_FALSE(CheckBoxChecks(v, "%X%"));
  EXPECT_EQ(CheckBoxValue(v, true, "%X%"), "Yes");
  EXPECT_EQ(CheckBoxValue(v, false, "%X%"), "%X%");
  EXPECT_EQ(CheckBoxValue(v, false, "%"), "%");
  EXPECT_EQ(CheckBoxValue(v, false, "%X"), "No");
  EXPECT_EQ(CheckBoxValue(v, false, "50%"), "No");
  EXPECT_EQ(CheckBoxValue(v, false, ""), "No");
  TCheckValues defaults;
  EXPECT_EQ(CheckBoxValue(defaults, true, ""), "1");
  EXPECT_EQ(CheckBoxValue(defaults, false, "x"), "0");
}

TEST(ControlRules, ButtonAndComboRules) {
  EXPECT_FALSE(ButtonFlags(0).Cancel || ButtonFlags(0).Default);
  EXPECT_TRUE(ButtonFlags(1).Cancel && !ButtonFlags(1).Default);
  EXPECT_TRUE(ButtonFlags(2).Default && !ButtonFlags(2).Cancel);
  EXPECT_FALSE(ButtonFlags(3).Cancel || ButtonFlags(3).Default);
  EXPECT_EQ(ParamNumber(" 2x"), 2);
  EXPECT_EQ(ParamNumber("-2147483643"), -2147483643);
  EXPECT_EQ(ParamNumber("none"), 0);
  EXPECT_TRUE(ParamFlag("1"));
  EXPECT_FALSE(ParamFlag("yes"));

  EXPECT_EQ(ComboValueAfterPick(true, "typed", "Item", true), "Item");
  EXPECT_EQ(ComboValueAfterPick(true, "typed", "", false), "") << "list-only ignores the edit";
  EXPECT_EQ(ComboValueAfterPick(false, "typed", "", false), "typed");
  EXPECT_EQ(ComboValueAfterPick(false, "typed", "Item", true), "Item");
}

TEST(ControlRules, PictureButtonPlacement) {
  EXPECT_FALSE(ImageButtonPlacement(22, 22, 3, 3)) << "a 3 by 3 bitmap paints only the frame";
  EXPECT_FALSE(ImageButtonPlacement(22, 22, 4, 20));
  EXPECT_EQ(*ImageButtonPlacement(22, 22, 5, 5), (TImagePlacement{9, 9, 5, 5}));
  EXPECT_EQ(*ImageButtonPlacement(22, 22, 16, 16), (TImagePlacement{3, 3, 16, 16}));
  EXPECT_EQ(*ImageButtonPlacement(22, 22, 40, 10), (TImagePlacement{2, 6, 18, 10})) << "cut to the control less 4";
  EXPECT_EQ(*ImageButtonPlacement(23, 21, 16, 16), (TImagePlacement{3, 2, 16, 16})) << "halves toward zero";
  EXPECT_FALSE(ImageButtonPlacement(4, 4, 16, 16)) << "no room inside the frame";
}

TEST(ControlRules, PaintedGeometry) {
  EXPECT_EQ(EtchedLineShadowY(4), 1);
  EXPECT_EQ(EtchedLineShadowY(5), 1);
  EXPECT_EQ(EtchedLineShadowY(10), 4);
  EXPECT_GE(LineMinSize.Height, 4);

  TEdgeStyle sunkenSoft = EdgeStyle(3);
  EXPECT_TRUE(sunkenSoft.SunkenOuter && sunkenSoft.SunkenInner && sunkenSoft.Soft);
  EXPECT_FALSE(sunkenSoft.RaisedOuter || sunkenSoft.RaisedInner);
  TEdgeStyle raisedInner = EdgeStyle(4);
  EXPECT_TRUE(raisedInner.RaisedInner && !raisedInner.RaisedOuter && !raisedInner.Soft);
  TEdgeStyle none = EdgeStyle(9);
  EXPECT_FALSE(none.RaisedOuter || none.SunkenOuter || none.RaisedInner || none.SunkenInner);

  TFrameLayout withCaption = FrameLayout(180, 90, 13, 40);
  EXPECT_EQ(withCaption.Frame, (TRectI{0, 6, 180, 90}));
  EXPECT_EQ(withCaption.Caption, (TRectI{7, 0, 49, 13}));
  EXPECT_EQ(FrameLayout(100, 50, 14, 0).Caption, (TRectI{7, 0, 7, 14}));

  TShapeGeometry square = ShapeGeometry(1, 28, 24);
  EXPECT_EQ(square.Bounds, (TRectI{2, 0, 26, 24}));
  EXPECT_EQ(square.Form, TShapeForm::Rectangle);
  TShapeGeometry rounded = ShapeGeometry(2, 40, 20);
  EXPECT_EQ(rounded.Form, TShapeForm::RoundRect);
  EXPECT_EQ(rounded.Corner, 5);
  TShapeGeometry circle = ShapeGeometry(5, 10, 30);
  EXPECT_EQ(circle.Form, TShapeForm::Ellipse);
  EXPECT_EQ(circle.Bounds, (TRectI{0, 10, 10, 20}));
  EXPECT_EQ(ShapeGeometry(4, 10, 30).Bounds, (TRectI{0, 0, 10, 30}));
  EXPECT_EQ(ShapeGeometry(99, 10, 10).Form, TShapeForm::Rectangle);
  EXPECT_EQ(ShapeGeometry(0, -5, 10).Bounds.Width(), 0);
}

TEST(ControlRules, DirectoryPaths) {
  EXPECT_EQ(PathRoot("c:\\x"), "c:\\");
  EXPECT_EQ(PathRoot("D:"), "D:\\");
  EXPECT_EQ(PathRoot("\\\\server\\share\\dir"), "\\\\server\\share\\");
  EXPECT_EQ(PathRoot("\\\\server\\share"), "\\\\server\\share\\");
  EXPECT_EQ(PathRoot("\\\\server"), "");
  EXPECT_EQ(PathRoot("\\\\\\share"), "");
  EXPECT_EQ(PathRoot("relative\\dir"), "");
  EXPECT_EQ(PathRoot("1:\\x"), "");
  EXPECT_EQ(PathRoot(""), "");

  EXPECT_EQ(NormalDirectory("C:\\Program Files\\App\\"), "C:\\Program Files\\App");
  EXPECT_EQ(NormalDirectory("C:/a//b/"), "C:\\a\\b");
  EXPECT_EQ(NormalDirectory("C:"), "C:\\");
  EXPECT_EQ(NormalDirectory("C:\\"), "C:\\");
  EXPECT_EQ(NormalDirectory("\\\\srv\\share\\x\\"), "\\\\srv\\share\\x");
  EXPECT_EQ(NormalDirectory("x\\y"), "");
}

TEST(ControlRules, DirectoryListEntries) {
  auto entries = DirectoryEntries("C:\\Program Files\\App\\", {"zeta", "Alpha", ".", "..", ""});
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0], (TDirEntry{"C:\\", "C:\\", 0, true}));
  EXPECT_EQ(entries[1], (TDirEntry{"Program Files", "C:\\Program Files", 1, true}));
  EXPECT_EQ(entries[2], (TDirEntry{"App", "C:\\Program Files\\App", 2, true}));
  EXPECT_EQ(entries[3], (TDirEntry{"Alpha", "C:\\Program Files\\App\\Alpha", 3, false}));
  EXPECT_EQ(entries[4], (TDirEntry{"zeta", "C:\\Program Files\\App\\zeta", 3, false}));
  EXPECT_EQ(CurrentDirectoryEntry(entries), 2);

  auto root = DirectoryEntries("d:\\", {"Sub"});
  ASSERT_EQ(root.size(), 2u);
  EXPECT_EQ(root[1], (TDirEntry{"Sub", "d:\\Sub", 1, false}));
  EXPECT_EQ(CurrentDirectoryEntry(root), 0);

  auto network = DirectoryEntries("\\\\srv\\share\\docs", {});
  ASSERT_EQ(network.size(), 2u);
  EXPECT_EQ(network[0].Text, "\\\\srv\\share\\");
  EXPECT_EQ(network[1].Path, "\\\\srv\\share\\docs");

  EXPECT_TRUE(DirectoryEntries("no root", {"x"}).empty());
  EXPECT_EQ(CurrentDirectoryEntry({}), -1);
}

TEST(ControlRules, RichTextIsRecognisedByItsStart) {
  EXPECT_TRUE(IsRichText("{\\rtf1\\ansi hello}"));
  EXPECT_FALSE(IsRichText(" {\\rtf1"));
  EXPECT_FALSE(IsRichText("{\\rt"));
  EXPECT_FALSE(IsRichText(""));
}

TEST(ControlRules, NearestExistingFolderClimbsToAParentOrTheFallback) {
  std::set<std::string> folders = {"C:\\", "C:\\Program Files", "D:\\Data"};
  auto isFolder = [&](const std::string& d) { return folders.count(d) > 0; };
  EXPECT_EQ(NearestExistingFolder("C:\\Program Files\\", isFolder, "C:\\Windows"), "C:\\Program Files");
  EXPECT_EQ(NearestExistingFolder("C:\\Program Files\\New\\Deeper", isFolder, "W"), "C:\\Program Files");
  EXPECT_EQ(NearestExistingFolder("C:\\Missing", isFolder, "W"), "C:");  // the drive's root
  EXPECT_EQ(NearestExistingFolder("Q:\\Missing\\Sub", isFolder, "W"), "W");
  EXPECT_EQ(NearestExistingFolder("relative", isFolder, "W"), "W");
  EXPECT_EQ(NearestExistingFolder("", isFolder, "W"), "W");
}
