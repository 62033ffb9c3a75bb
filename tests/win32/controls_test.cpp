// The page controls and their builder on real windows: value rules, switches that recreate
// windows, key routing, pictures that are missing, painting over what lies behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <set>

#include "TestBitmaps.h"
#include "Win32Fixtures.h"
#include "package/VarList.h"
#include "platform/win32/CallbackGuard.h"
#include "platform/win32/ModalLoop.h"
#include "ui/win32/controls/ControlBuilder.h"
#include "ui/win32/controls/VNComponents.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// A hidden top-level window that holds the controls, destroyed after them.
class ControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "TControlsTestPanel";
    RegisterClassA(&wc);
    Panel = CreateWindowExA(0, "TControlsTestPanel", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 400, 300, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Panel, nullptr);
  }
  void TearDown() override {
    Built.clear();
    if (Panel) DestroyWindow(Panel);
  }

  template <class T>
  std::unique_ptr<T> Make() {
    auto c = std::make_unique<T>();
    EXPECT_TRUE(c->Create(Panel));
    c->OnEvent = [this](TVNControl& control) { Events.push_back(control.Value()); };
    return c;
  }

  TControlDef Def(uint8_t kind, std::array<std::string, 6> p, uint8_t role = 0) {
    return MakeControlDef(kind, 10, 20, 23, 75, std::move(p), {}, "", role);
  }

  bool Build(const std::vector<TControlDef>& defs, bool plainLists = false) {
    TBuildCallbacks callbacks;
    callbacks.ControlEvent = [this](TVNControl& c) { Events.push_back(c.Name()); };
    callbacks.ControlCreated = [this](TVNControl& c) { Created.push_back(c.Name()); };
    callbacks.RegisterStyleSpace = [this](const std::string& base, int left, int width, int height, int top) {
      Spaces.push_back(base + ":" + std::to_string(left) + "," + std::to_string(width) + "," +
                       std::to_string(height) + "," + std::to_string(top));
    };
    return BuildControls("P", Panel, defs, callbacks, {"Tahoma", 8, int32_t(0x80000008), 0, 1}, false, plainLists,
                         Built);
  }

  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Notify(TVNControl& c, WORD code) {
    SendMessageA(Panel, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.Handle()), code), LPARAM(c.Handle()));
  }

  HWND Panel = nullptr;
  TPageControls Built;
  std::vector<std::string> Events, Created, Spaces;
};

// The client area of a window as its WM_PRINTCLIENT paints it.
class TRendering {
public:
  explicit TRendering(HWND wnd) {
    RECT r;
    GetClientRect(wnd, &r);
    HDC screen = GetDC(nullptr);
    Dc = CreateCompatibleDC(screen);
    Bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    ReleaseDC(nullptr, screen);
    Old = SelectObject(Dc, Bitmap);
    PatBlt(Dc, 0, 0, r.right, r.bottom, BLACKNESS);
    SendMessageA(wnd, WM_PRINTCLIENT, WPARAM(Dc), PRF_CLIENT);
  }
  ~TRendering() {
    SelectObject(Dc, Old);
    DeleteObject(Bitmap);
    DeleteDC(Dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(Dc, x, y); }

private:
  HDC Dc;
  HBITMAP Bitmap;
  HGDIOBJ Old;
};

std::string TempPath(const std::string& name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "vnt_controls_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

// A bitmap file of one colour but for its bottom-left pixel, the transparent colour.
void WriteBitmap(const std::string& path, int width, int height, COLORREF color, COLORREF corner = RGB(1, 2, 3)) {
  WriteBytes(path, Bitmap(width, height, [=](int x, int y) {
               return RgbOf(x == 0 && y == height - 1 ? corner : color);
             }));
}

}  // namespace

TEST_F(ControlsTest, CheckBoxValueRules) {
  auto box = Make<TVNCheckBox>();
  box->SetCheckedValue("yes");
  box->SetUncheckedValue("no");
  // An unexpanded reference stays the value of an unchecked box.
  box->SetValue("%X%");
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(box->Value(), "%X%");
  // The checked value ignores case; the box then reports its own spelling.
  box->SetValue("YES");
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(box->Value(), "yes");
  // The user unchecks; the same value set again does not undo the user's choice.
  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(box->Value(), "no");
  box->SetValue("YES");
  EXPECT_FALSE(box->Checked());
  box->SetValue("maybe");
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(box->Value(), "no");
  box->SetValue("yes");
  EXPECT_TRUE(box->Checked());
  // A lone percent sign at both ends is still such a reference; "50%" is not.
  box->SetValue("%");
  EXPECT_EQ(box->Value(), "%");
  box->SetValue("50%");
  EXPECT_EQ(box->Value(), "no");
}

TEST_F(ControlsTest, BuiltCheckBoxComparesWithThePackagesCheckedValue) {
  ASSERT_TRUE(Build({Def(KindCheckBox, {"A", "", "%X%", "1", "0"}), Def(KindCheckBox, {"B", "", "on", "on", "off"}),
                     Def(KindRadioBox, {"R", "", "1", "v"})}));
  auto& unexpanded = dynamic_cast<TVNCheckBox&>(*Built[0]);
  auto& own = dynamic_cast<TVNCheckBox&>(*Built[1]);
  auto& radio = dynamic_cast<TVNRadioButton&>(*Built[2]);
  EXPECT_FALSE(unexpanded.Checked());
  EXPECT_EQ(unexpanded.Value(), "%X%");
  EXPECT_TRUE(own.Checked());
  EXPECT_EQ(own.Value(), "on");
  EXPECT_TRUE(radio.Checked());
  EXPECT_EQ(radio.Value(), "v");
  radio.SetValue("w");
  EXPECT_FALSE(radio.Checked());
  EXPECT_EQ(radio.Value(), "");
  EXPECT_TRUE(Events.empty()) << "no script runs while the page is built";
}

TEST_F(ControlsTest, ListBoxValueRules) {
  auto list = Make<TVNListBox>();
  list->SetItems(SplitItems("Alpha|Beta|beta|Gamma|"));
  ASSERT_EQ(list->Count(), 4);
  list->SetValue("beta");
  EXPECT_EQ(list->ItemIndex(), 2) << "the first item equal to the text, case-sensitively";
  list->SetValue("Delta");
  EXPECT_EQ(list->ItemIndex(), -1);
  EXPECT_EQ(list->Value(), "Delta") << "the text is remembered although no item has it";
  // The user's pick becomes the value; so does no pick.
  SendMessageA(list->Handle(), LB_SETCURSEL, 3, 0);
  Notify(*list, LBN_SELCHANGE);
  EXPECT_EQ(list->Value(), "Gamma");
  SendMessageA(list->Handle(), LB_SETCURSEL, WPARAM(-1), 0);
  Notify(*list, LBN_SELCHANGE);
  EXPECT_EQ(list->Value(), "");
  EXPECT_EQ(Events, (std::vector<std::string>{"beta", "Delta", "Gamma", ""}));
}

TEST_F(ControlsTest, MultiSelectListKeepsItemsAndServesScripts) {
  auto list = Make<TVNListBox>();
  list->SetItems({"a", "b", "c"});
  list->SetValue("b");
  HWND before = list->Handle();
  list->SetMultiSelect(true);
  EXPECT_NE(list->Handle(), before);
  EXPECT_TRUE(GetWindowLongA(list->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);
  EXPECT_EQ(list->Items(), (std::vector<std::string>{"a", "b", "c"}));
  list->SetItemSelected(0, true);
  list->SetItemSelected(2, true);
  TScriptList& script = *list;
  ASSERT_EQ(script.ItemCount(), 3);
  EXPECT_TRUE(script.ItemSelected(0));
  EXPECT_TRUE(script.ItemSelected(1));
  EXPECT_TRUE(script.ItemSelected(2));
  EXPECT_EQ(script.ItemText(2), "c");
  EXPECT_EQ(script.ItemText(7), "");
  EXPECT_FALSE(script.ItemSelected(-1));
  list->SetValue("c");  // a value replaces the selection
  EXPECT_FALSE(script.ItemSelected(0));
  EXPECT_TRUE(script.ItemSelected(2));
}

TEST_F(ControlsTest, ComboBoxValueRules) {
  auto combo = Make<TVNComboBox>();
  combo->SetItems({"Red", "Green", "Blue"});
  combo->SetValue("Purple");
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Caption(), "Purple") << "an editable box shows the value";
  combo->SetValue("Blue");
  EXPECT_EQ(combo->ItemIndex(), 2);
  // Typed text is the value of an editable box.
  HWND edit = GetWindow(combo->Handle(), GW_CHILD);
  ASSERT_NE(edit, nullptr);
  SetWindowTextA(edit, "Typed");
  Notify(*combo, CBN_EDITCHANGE);
  EXPECT_EQ(combo->Value(), "Typed");
  // List-only: the switch keeps the items; with no pick the value is empty, edit text or not.
  combo->SetListOnly(true);
  EXPECT_EQ((GetWindowLongA(combo->Handle(), GWL_STYLE) & 3), CBS_DROPDOWNLIST);
  EXPECT_EQ(combo->Items(), (std::vector<std::string>{"Red", "Green", "Blue"}));
  SendMessageA(combo->Handle(), CB_SETCURSEL, 1, 0);
  Notify(*combo, CBN_SELCHANGE);
  EXPECT_EQ(combo->Value(), "Green");
  SendMessageA(combo->Handle(), CB_SETCURSEL, WPARAM(-1), 0);
  Notify(*combo, CBN_SELCHANGE);
  EXPECT_EQ(combo->Value(), "");
  combo->SortItems();
  EXPECT_EQ(combo->Items(), (std::vector<std::string>{"Blue", "Green", "Red"}));
}

TEST_F(ControlsTest, EditReadOnlySwitchAndChangeEvent) {
  auto edit = Make<TVNEdit>();
  EXPECT_EQ(edit->Caption(), "Text Box");
  EXPECT_FALSE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(edit->Color(), int32_t(0x80000005));
  edit->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(edit->Color(), int32_t(0x8000000F));
  edit->SetColor(0x123456);
  edit->SetReadOnly(true);  // no change of the flag: the colour stays
  EXPECT_EQ(edit->Color(), 0x123456);
  edit->SetReadOnly(false);
  EXPECT_FALSE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(edit->Color(), int32_t(0x80000005));
  Events.clear();
  SetWindowTextA(edit->Handle(), "typed");
  EXPECT_EQ(Events, std::vector<std::string>{"typed"});
}

TEST_F(ControlsTest, ButtonTypesAndDialogKeys) {
  auto edit = Make<TVNEdit>();
  auto ok = Make<TVNButton>(), cancel = Make<TVNButton>();
  std::vector<std::string> pressed;
  ok->OnEvent = [&](TVNControl&) { pressed.push_back("ok"); };
  cancel->OnEvent = [&](TVNControl&) { pressed.push_back("cancel"); };
  ok->SetButtonType(2);
  cancel->SetButtonType(1);
  EXPECT_TRUE(ok->IsDefault());
  EXPECT_FALSE(ok->IsCancel());
  EXPECT_EQ(GetWindowLongA(ok->Handle(), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
  EXPECT_TRUE(cancel->IsCancel());
  EXPECT_EQ(GetWindowLongA(cancel->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
  ShowWindow(Panel, SW_SHOWNA);  // keys reach only buttons that can be seen
  for (auto* c : {static_cast<TVNControl*>(edit.get()), static_cast<TVNControl*>(ok.get()),
                  static_cast<TVNControl*>(cancel.get())})
    c->SetVisible(true);
  SendMessageA(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageA(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  Pump();
  EXPECT_EQ(pressed, (std::vector<std::string>{"cancel", "ok"}));
  // Other types change nothing but are kept; a hidden button answers no key.
  cancel->SetButtonType(7);
  EXPECT_EQ(cancel->ButtonType(), 7);
  EXPECT_TRUE(cancel->IsCancel());
  cancel->SetVisible(false);
  pressed.clear();
  SendMessageA(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_TRUE(pressed.empty());
  ok->SetButtonType(0);
  EXPECT_FALSE(ok->IsDefault());
  EXPECT_EQ(GetWindowLongA(ok->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
}

TEST_F(ControlsTest, PicturesFromFilesThatMayBeMissing) {
  std::string file = TempPath("red.bmp");
  WriteBitmap(file, 8, 6, RGB(255, 0, 0));
  auto image = Make<TVNImage>();
  image->SetFile("red.bmp");  // no resolver: nothing loads
  EXPECT_TRUE(image->Empty());
  image->ResolveImageFile = [](const std::string& name) { return TempPath(name); };
  image->Reload();
  ASSERT_FALSE(image->Empty());
  EXPECT_EQ(BitmapSize(image->Bitmap()).cx, 8);
  image->SetFile("red.bmp");  // the same name keeps the picture
  EXPECT_FALSE(image->Empty());
  image->SetFile("missing.bmp");
  EXPECT_TRUE(image->Empty());
  EXPECT_EQ(image->File(), "missing.bmp");
  image->SetFile("");
  EXPECT_TRUE(image->Empty());
  // Something that is no bitmap leaves the picture empty too.
  std::ofstream(TempPath("text.bmp")) << "not a bitmap";
  image->SetFile("text.bmp");
  EXPECT_TRUE(image->Empty());
  DeleteFileA(TempPath("text.bmp").c_str());
  DeleteFileA(file.c_str());
  image->SetFile("red.bmp");
  EXPECT_TRUE(image->Empty());
  // Clicks on pictures are events.
  image->SetVisible(true);
  Events.clear();
  SendMessageA(image->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Events, std::vector<std::string>{"red.bmp"});
}

TEST_F(ControlsTest, TinyPictureButtonPaintsOnlyItsFrame) {
  WriteBitmap(TempPath("tiny.bmp"), 3, 3, RGB(255, 0, 0));
  WriteBitmap(TempPath("big.bmp"), 16, 16, RGB(0, 0, 255));
  auto tiny = Make<TVNImageButton>(), big = Make<TVNImageButton>();
  for (auto* button : {tiny.get(), big.get()}) {
    button->ResolveImageFile = [](const std::string& name) { return TempPath(name); };
    button->SetHeight(22);
    button->SetWidth(22);
  }
  tiny->SetFile("tiny.bmp");
  big->SetFile("big.bmp");
  ASSERT_FALSE(tiny->Empty());
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(TRendering(tiny->Handle()).At(11, 11), face) << "a 3 by 3 bitmap is not drawn";
  // A 16 by 16 bitmap is drawn centred, without its corner's colour.
  TRendering bigPaint(big->Handle());
  EXPECT_EQ(bigPaint.At(11, 11), RGB(0, 0, 255));
  EXPECT_EQ(bigPaint.At(3, 18), face) << "the transparent corner";
  EXPECT_EQ(bigPaint.At(4, 18), RGB(0, 0, 255));
  DeleteFileA(TempPath("tiny.bmp").c_str());
  DeleteFileA(TempPath("big.bmp").c_str());
}

TEST_F(ControlsTest, CheckBoxesShowTheShapeBehindThem) {
  TControlDef shape = Def(KindShape, {"0", "255", "255"}), check = Def(KindCheckBox, {"", "", "0", "1", "0"});
  TControlDef clear = Def(KindLabel, {"", "", "1"}), opaque = Def(KindLabel, {"", "", "0"});
  shape.Height = 200;
  clear.Top = 60;
  opaque.Top = 100;
  ASSERT_TRUE(Build({shape, check, clear, opaque}));
  auto& box = dynamic_cast<TVNCheckBox&>(*Built[1]);
  auto& transparentLabel = dynamic_cast<TVNLabel&>(*Built[2]);
  auto& opaqueLabel = dynamic_cast<TVNLabel&>(*Built[3]);
  const COLORREF red = RGB(255, 0, 0), face = GetSysColor(COLOR_BTNFACE);
  // The captions are empty: the right part of each control is background only.
  EXPECT_EQ(TRendering(box.Handle()).At(60, 10), red);
  EXPECT_EQ(TRendering(transparentLabel.Handle()).At(60, 10), red);
  EXPECT_EQ(TRendering(opaqueLabel.Handle()).At(60, 10), face);
  box.SetTransparentPaint(false);
  EXPECT_EQ(TRendering(box.Handle()).At(60, 10), face);
}

TEST_F(ControlsTest, LineIsNeverFlatterThanFour) {
  auto line = Make<TVNLine>();
  line->SetHeight(2);
  line->SetWidth(3);
  EXPECT_EQ(line->Bounds().Height(), 4);
  EXPECT_EQ(line->Bounds().Width(), 10);
  line->SetHeight(9);
  EXPECT_EQ(line->Bounds().Height(), 9);
}

TEST_F(ControlsTest, BuilderNamesPlacesAndSkips) {
  TControlDef button = Def(KindButton, {"&Next", "", "2", "", "next"});
  TControlDef combo = Def(KindCombo, {"", "1", "a|b", "b", "", "pick"});
  TControlDef space = Def(KindStyleSpace, {});
  TControlDef unknown = Def(0, {});
  TControlDef beyond = Def(15, {});
  ASSERT_TRUE(Build({button, unknown, space, combo, beyond}));
  ASSERT_TRUE(Build({button}));
  ASSERT_EQ(Built.size(), 3u);
  EXPECT_EQ(Built[0]->Name(), "VN_P_Button1");
  EXPECT_EQ(Built[1]->Name(), "VN_P_ComboBox1");
  EXPECT_EQ(Built[2]->Name(), "VN_P_Button2");
  EXPECT_EQ(ComponentName(Built[2]->Handle()), "VN_P_Button2");
  EXPECT_EQ(Created, (std::vector<std::string>{"VN_P_Button1", "VN_P_ComboBox1", "VN_P_Button2"}));
  EXPECT_EQ(Spaces, std::vector<std::string>{"P:10,75,23,20"});
  // Height before width: 23 high, 75 wide.
  EXPECT_EQ(Built[0]->Bounds(), (TRectI{10, 20, 85, 43}));
  EXPECT_TRUE(Built[0]->Visible());
  EXPECT_EQ(Built[0]->Tag(), "next");
  EXPECT_EQ(Built[1]->Tag(), "pick");
  EXPECT_EQ(Built[1]->Value(), "b");
  EXPECT_EQ(Built[1]->Definition().P[2], "a|b");
  EXPECT_TRUE(dynamic_cast<TVNButton&>(*Built[0]).IsDefault());
  EXPECT_EQ(Built[0]->Caption(), "&Next");
  // The windowed controls' events go to ControlEvent.
  SendMessageA(Built[0]->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(Events, std::vector<std::string>{"VN_P_Button1"});
}

TEST_F(ControlsTest, BuilderClassesByKindAndRole) {
  std::vector<TControlDef> defs;
  for (uint8_t role : {RoleAgreement, RoleNotDeleted, RoleDirList, RoleMemo, RoleComponents})
    defs.push_back(Def(KindList, {"Tahoma|8|255|0|1|", "x|y", "", "", "memo"}, role));
  defs.push_back(Def(KindCombo, {}, RoleDrive));
  defs.push_back(Def(KindProgress, {}));
  ASSERT_TRUE(Build(defs));
  ASSERT_EQ(Built.size(), 7u);
  EXPECT_NE(dynamic_cast<TVNLicense*>(Built[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<TVNNotDeletedList*>(Built[1].get()), nullptr);
  EXPECT_NE(dynamic_cast<TVNDirList*>(Built[2].get()), nullptr);
  auto* memo = dynamic_cast<TVNMemoList*>(Built[3].get());
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(memo->Caption(), "x\r\ny");  // no empty line after the last
  memo->AddLine("");
  memo->AddLine("a");
  EXPECT_EQ(memo->Lines(), (std::vector<std::string>{"x", "y", "", "a"}));
  EXPECT_EQ(memo->Tag(), "memo");
  EXPECT_EQ(memo->Font().Color, 255);
  EXPECT_NE(dynamic_cast<TVNListBox*>(Built[4].get()), nullptr);
  EXPECT_NE(dynamic_cast<TVNDriveCombo*>(Built[5].get()), nullptr);
  EXPECT_EQ(dynamic_cast<TVNProgress&>(*Built[6]).Position(), 0);
  EXPECT_EQ(Built[0]->Name(), "VN_P_License1");
  EXPECT_EQ(Built[2]->Name(), "VN_P_DirList1");
  Built.clear();
  ASSERT_TRUE(Build({Def(KindList, {}, RoleDirList), Def(KindCombo, {}, RoleDrive)}, true));
  EXPECT_NE(dynamic_cast<TVNListBox*>(Built[0].get()), nullptr);
  EXPECT_NE(dynamic_cast<TVNComboBox*>(Built[1].get()), nullptr);
  EXPECT_EQ(Built[0]->Name(), "VN_P_ListBox1");
}

TEST_F(ControlsTest, PanelDestroyedBeforeItsControls) {
  ASSERT_TRUE(Build({Def(KindButton, {}), Def(KindLabel, {}), Def(KindImage, {"x.bmp"})}));
  DestroyWindow(Panel);
  Panel = nullptr;
  for (auto& c : Built) {
    EXPECT_EQ(c->Handle(), nullptr);
    c->SetCaption("ignored");
    EXPECT_EQ(c->Caption(), "");
  }
  Built.clear();
  TPageControls none;
  EXPECT_FALSE(BuildControls("P", nullptr, {Def(KindButton, {})}, {}, {}, false, false, none));
  EXPECT_TRUE(none.empty());
}

TEST_F(ControlsTest, LicenceShowsTextAndRichText) {
  auto licence = Make<TVNLicense>();
  EXPECT_EQ(licence->RichEditVersion(), 2);
  std::string rtf = TempPath("licence.rtf");
  std::ofstream(rtf, std::ios::binary) << "{\\rtf1\\ansi Hello {\\b bold} world}";
  EXPECT_TRUE(licence->LoadFile(rtf));
  EXPECT_EQ(licence->Caption().substr(0, 16), "Hello bold world");
  EXPECT_FALSE(licence->LoadFile(TempPath("missing.txt")));
  EXPECT_EQ(licence->Caption(), "");
  licence->SetUseRichEdit(false);
  EXPECT_EQ(licence->RichEditVersion(), 0);
  licence->SetText("one\ntwo");
  EXPECT_EQ(licence->Caption(), "one\r\ntwo");
  DeleteFileA(rtf.c_str());
}

TEST_F(ControlsTest, DirectoryListAndDriveCombo) {
  std::string root = TempPath("dirs");
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\beta").c_str(), nullptr);
  CreateDirectoryA((root + "\\Alpha").c_str(), nullptr);
  auto dirs = Make<TVNDirList>();
  auto drives = Make<TVNDriveCombo>();
  dirs->SetDriveCombo(drives.get());
  int changes = 0;
  dirs->OnChange = [&](TVNDirList&) { ++changes; };
  ASSERT_TRUE(dirs->SetDirectory(root + "\\"));
  EXPECT_EQ(dirs->Directory(), root);
  ASSERT_GE(dirs->Entries().size(), 3u);
  EXPECT_EQ(dirs->Entries()[dirs->Entries().size() - 2].Text, "Alpha");
  EXPECT_EQ(dirs->Entries().back().Text, "beta");
  EXPECT_EQ(drives->Drive(), FoldCase(root[0]));
  EXPECT_FALSE(dirs->SetDirectory(root + "\\missing"));
  EXPECT_FALSE(dirs->SetDirectory("relative"));
  EXPECT_EQ(dirs->Directory(), root);
  dirs->OpenEntry(int(dirs->Entries().size()) - 1);
  EXPECT_EQ(dirs->Directory(), root + "\\beta");
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(drives->SetDrive('z'));
  EXPECT_EQ(drives->Value(), "Z");
  EXPECT_EQ(FoldCase(dirs->Directory()[0]), 'Z') << "the linked list follows the drive";
  EXPECT_FALSE(drives->SetDrive('#'));
  drives.reset();  // the list forgets the combo
  EXPECT_TRUE(dirs->SetDirectory(root));
  RemoveDirectoryA((root + "\\beta").c_str());
  RemoveDirectoryA((root + "\\Alpha").c_str());
  RemoveDirectoryA(root.c_str());
}

// A handler runs inside the system's window code: what it throws is kept there, not passed
// through that code, and our next message loop throws it again.
TEST_F(ControlsTest, AThrowInAHandlerIsKeptForOurLoopNotPassedThroughTheSystem) {
  auto button = Make<TVNButton>();
  button->OnEvent = [](TVNControl&) { throw std::bad_alloc(); };
  bool crossed = false;
  try {
    Notify(*button, BN_CLICKED);
  } catch (...) {
    crossed = true;
  }
  EXPECT_FALSE(crossed);
  EXPECT_TRUE(CallbackFailed());
  EXPECT_THROW(ProcessMessages(), std::bad_alloc);
  EXPECT_FALSE(CallbackFailed());
}

namespace {
class TFailingWindow : public TWindow {
public:
  static constexpr UINT Fail = WM_APP + 7;
  bool Make() {
    RegisterWindowClass("TFailingWindow", nullptr, nullptr);
    return CreateWindowOf("TFailingWindow", WS_POPUP, 0, nullptr, "", 0, 0, 20, 20);
  }

protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == Fail) throw std::runtime_error("a fault in a window");
    return TWindow::HandleMessage(msg, wParam, lParam);
  }
};
}  // namespace

// A modal loop stops on the kept failure and throws it once the windows it disabled are back.
TEST_F(ControlsTest, AModalLoopThrowsAFailedHandlersExceptionWithTheOwnerEnabledAgain) {
  TFailingWindow modal;
  ASSERT_TRUE(modal.Make());
  PostMessageA(modal.Handle(), TFailingWindow::Fail, 0, 0);
  TModalLoop loop;
  EXPECT_THROW(loop.Run(modal.Handle(), Panel), std::runtime_error);
  EXPECT_TRUE(IsWindowEnabled(Panel));
  EXPECT_FALSE(loop.Running());
  EXPECT_FALSE(CallbackFailed());
}
