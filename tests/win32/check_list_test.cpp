// The check list on a real window: the state-change protocol, item objects that survive
// sorting and recreation, and the forced uncheck of an item with nothing in it.
#include <gtest/gtest.h>
#include <windows.h>

#include "ui/win32/controls/VNLists.h"

using namespace vnt;

namespace {

class CheckListTest : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TCheckListTestPanel";
    RegisterClassA(&wc);
    Panel = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(List.Create(Panel));
    TListLook look;
    look.CustomDraw = look.ShowChecks = look.ShowFileSize = true;
    List.SetLook(look);
    List.SetWidth(280);
    List.SetHeight(180);
    List.OnStateChange = [this](int index, bool& cancel) {
      Asked.push_back(index);
      cancel = index == Refused;
    };
    List.OnComponentsChange = [this] { ++Changes; };
  }
  void TearDown() override {
    List.OnStateChange = nullptr;
    DestroyWindow(Panel);
  }
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  HWND Panel = nullptr;
  TVNListBox List;
  std::vector<int> Asked;
  int Refused = -1, Changes = 0;
};

TEST_F(CheckListTest, StateChangesAreAskedAndCanBeRefusedOrLocked) {
  EXPECT_EQ(List.AddItem("Program", TCheckState::Checked, false, "prog", 100, -1), 0);
  List.AddItem("Docs", TCheckState::Unchecked, false, "docs", 50, -1);
  EXPECT_EQ(Asked, std::vector<int>{0});  // adding a checked item asks; adding an unchecked one changes nothing
  Refused = 1;
  List.Toggle(1);
  EXPECT_FALSE(List.IsChecked(1));
  EXPECT_EQ(Changes, 1);  // the toggle tells its end even when refused
  Refused = -1;
  List.SetLocked(0, true);
  List.SetChecked(0, false);
  EXPECT_TRUE(List.IsChecked(0));
  List.SetLocked(0, false);
  List.AllowGrayed = true;
  List.Toggle(1);
  EXPECT_EQ(List.State(1), TCheckState::Grayed);
  EXPECT_EQ(List.CheckedKeys(), "prog");  // grayed is not checked
  List.SetCheckedKeys("DOCS|docs|none");
  EXPECT_EQ(List.CheckedKeys(), "docs");
}

TEST_F(CheckListTest, ItemObjectsStayWithTheirItems) {
  List.AddItem("zeta", TCheckState::Checked, true, "z", 3, 2);
  List.AddItem("Alpha", TCheckState::Unchecked, false, "a", 7, -1);
  SendMessageA(List.Handle(), LB_SETITEMDATA, 0, 0);  // asked to drop it: ignored
  List.SortItems();
  EXPECT_EQ(List.Items(), (std::vector<std::string>{"Alpha", "zeta"}));
  EXPECT_EQ(List.Key(1), "z");
  EXPECT_TRUE(List.IsChecked(1));
  EXPECT_EQ(List.ImageIndex(1), 2);
  List.SetMultiSelect(true);  // a new window
  EXPECT_EQ(List.Key(0), "a");
  EXPECT_EQ(List.ItemSize(0), 7);
  EXPECT_TRUE(List.HasContent(1));
  List.AddItem("plain");  // a plain item gets an object of its own
  EXPECT_EQ(List.ImageIndex(2), 0);
  EXPECT_EQ(List.Key(2), "");
  TListLook sorted = List.Look();
  sorted.Sorted = true;
  List.SetLook(sorted);
  List.AddItem("Beta");
  EXPECT_EQ(List.Items(), (std::vector<std::string>{"Alpha", "Beta", "zeta", "plain"}));
}

TEST_F(CheckListTest, AnItemWithNothingInItIsUncheckedWhenPaintedWithoutDisabledChecks) {
  List.AddItem("Empty", TCheckState::Checked, false, "e", 0, -1);
  List.AddItem("Full", TCheckState::Checked, false, "f", 10, -1);
  List.OnGetComponentSize = [](const std::string& key, int64_t& size) { size = key == "f" ? 10 : 0; };
  EXPECT_FALSE(List.IsItemEnabled(0));
  EXPECT_TRUE(List.IsItemEnabled(1));
  TListLook look;
  look.CustomDraw = look.ShowChecks = look.ShowFileSize = true;
  look.ShowDisabledChecks = false;
  List.SetLook(look);
  ShowWindow(Panel, SW_SHOWNOACTIVATE);
  ShowWindow(List.Handle(), SW_SHOWNA);
  UpdateWindow(List.Handle());
  Pump();
  EXPECT_EQ(List.CheckedKeys(), "f");
  EXPECT_EQ(Changes, 1);  // told once, after the painting
}

}  // namespace
