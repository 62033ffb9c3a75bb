#include <gtest/gtest.h>

#include "ui/PageFlow.h"

using namespace vnt;

namespace {

TSetupDialog Dialog(const std::string& name, bool style = false) {
  TSetupDialog d;
  d.Name = name;
  d.IsStyle = style;
  return d;
}

// Style, Welcome, Options, INSTALL, Frame (style), Finish: the usual wizard with its style
// dialogs among the pages.
const std::vector<TSetupDialog> Pages = {Dialog("Style", true), Dialog("Welcome"), Dialog("Options"),
                                         Dialog("INSTALL"),     Dialog("Frame", true), Dialog("Finish")};

TPageFlow At(const std::string& current, const std::string& beforeInstall = "") {
  return TPageFlow{Pages, current, beforeInstall, "Welcome", "Finish"};
}

}  // namespace

TEST(PageFlow, NextWalksThePagesInPackageOrderSkippingStyles) {
  EXPECT_EQ(NextPageName(At("")), "Welcome");
  EXPECT_EQ(NextPageName(At("Welcome")), "Options");
  EXPECT_EQ(NextPageName(At("Options")), "INSTALL");
  EXPECT_EQ(NextPageName(At("INSTALL", "Options")), "INSTALL") << "from the page before it: INSTALL again";
  EXPECT_EQ(NextPageName(At("Finish")), "Finish") << "the last page stays";
}

TEST(PageFlow, PreviousWalksBackAndStopsAtTheFirstPage) {
  EXPECT_EQ(PreviousPageName(At("")), "Welcome");
  EXPECT_EQ(PreviousPageName(At("Welcome")), "Welcome");
  EXPECT_EQ(PreviousPageName(At("Options")), "Welcome");
  EXPECT_EQ(PreviousPageName(At("Finish")), "INSTALL") << "the style dialog before it is skipped";
  EXPECT_EQ(PreviousPageName(At("INSTALL", "Options")), "Welcome") << "starts from the page before INSTALL";
}

TEST(PageFlow, LastAndFirstCompareExactlyButDialogsIgnoreCase) {
  // "finish" is not the last page by exact comparison: the scan finds it and nothing after it.
  EXPECT_EQ(NextPageName(At("finish")), "finish");
  EXPECT_EQ(NextPageName(At("welcome")), "Options");
  EXPECT_EQ(PreviousPageName(At("welcome")), "welcome");
  EXPECT_EQ(PreviousPageName(At("OPTIONS")), "Welcome");
}

TEST(PageFlow, UnknownOrEmptyStartStaysPut) {
  EXPECT_EQ(NextPageName(At("Gone")), "Gone");
  EXPECT_EQ(PreviousPageName(At("Gone")), "Gone");
  // INSTALL reached without a page before it moves on from INSTALL itself.
  EXPECT_EQ(NextPageName(At("install")), "Finish");
  EXPECT_EQ(PreviousPageName(At("install")), "Options");
  std::vector<TSetupDialog> none;
  TPageFlow empty{none, "A", "", "", ""};
  EXPECT_EQ(NextPageName(empty), "A");
  EXPECT_EQ(PreviousPageName(empty), "A");
}

TEST(PageFlow, TwinNamesDoNotLoop) {
  // A second dialog of the same name could never be shown (lookups find the first): Next skips it.
  std::vector<TSetupDialog> twins = {Dialog("A"), Dialog("a"), Dialog("B")};
  TPageFlow flow{twins, "A", "", "A", "B"};
  EXPECT_EQ(NextPageName(flow), "B");
}

TEST(PageFlow, ScriptStopsAbandonTheStepUnlessCanCloseIsZero) {
  EXPECT_FALSE(StepAbandoned(true, "1"));
  EXPECT_TRUE(StepAbandoned(false, "1"));
  EXPECT_TRUE(StepAbandoned(false, ""));
  EXPECT_FALSE(StepAbandoned(false, "0"));
}

TEST(PageFlow, FocusGoesToInputsOnly) {
  for (uint8_t kind : {KindTextBox, KindCheckBox, KindList, KindCombo}) EXPECT_TRUE(TakesPageFocus(kind)) << int(kind);
  for (uint8_t kind : {KindLabel, KindButton, KindRadioBox, KindImage, KindImageButton, KindLine, KindShape,
                       KindFrame, KindProgress})
    EXPECT_FALSE(TakesPageFocus(kind)) << int(kind);
  EXPECT_TRUE(IsInstallPage("install"));
  EXPECT_FALSE(IsInstallPage("INSTALL2"));
}

TEST(PageFlow, StyleSpacesKeepTheFirstRecordedPerPanel) {
  TStyleSpaces spaces;
  AddStyleSpace(spaces, {"Style_Frame", 10, 20, 300, 200});
  AddStyleSpace(spaces, {"STYLE_FRAME", 0, 0, 1, 1});
  AddStyleSpace(spaces, {"Style_Other", 1, 2, 3, 4});
  ASSERT_EQ(spaces.size(), 2u);
  ASSERT_NE(FindStyleSpace(spaces, "style_frame"), nullptr);
  EXPECT_EQ(FindStyleSpace(spaces, "style_frame")->Width, 300);
  EXPECT_EQ(FindStyleSpace(spaces, "Style_None"), nullptr);
  EXPECT_EQ(StylePanelName("My frame-1.x"), "Style_My_frame_1_x");
}

TEST(PageFlow, ASwitchBackToAPageUnderWayIsALoopUntilTheUserActs) {
  std::vector<TPageSwitch> underWay = {{"Ping", 3}, {"Pong", 3}};
  EXPECT_TRUE(SwitchLoopsBack(underWay, "ping", 3));
  EXPECT_TRUE(SwitchLoopsBack(underWay, "Pong", 3));
  EXPECT_FALSE(SwitchLoopsBack(underWay, "Other", 3));
  // A click in between (a button of a dialog opened on the way) makes it the user's move.
  EXPECT_FALSE(SwitchLoopsBack(underWay, "Ping", 4));
  EXPECT_FALSE(SwitchLoopsBack({}, "Ping", 0));
}
