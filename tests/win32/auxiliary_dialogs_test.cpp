// The directory selection and the secondary dialog host, run modally on real windows. A
// timer plays the user: it finds the windows by component name, types, presses keys and
// buttons, and closes message boxes, while the code under test sits in its modal loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "Win32Fixtures.h"
#include "package/VarList.h"
#include "ui/ControlRules.h"
#include "ui/win32/windows/DirectorySel.h"
#include "ui/win32/wizard/SecondaryDialog.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// Runs steps from a timer, one after the other; a step answers whether it is done (one that
// waits for a window answers false until the window is there). A step that keeps waiting
// too long, or a modal window still open long after the last step, closes every window of
// the thread, so that a fault ends the test, not the run.
class TUser {
public:
  using TStep = std::function<bool()>;
  explicit TUser(std::vector<TStep> steps) : Steps(std::move(steps)) {
    Current = this;
    Timer = SetTimer(nullptr, 0, 20, Tick);
  }
  ~TUser() {
    KillTimer(nullptr, Timer);
    Current = nullptr;
  }
  TUser(const TUser&) = delete;
  TUser& operator=(const TUser&) = delete;
  bool Finished() const { return Next == Steps.size() && !GaveUp; }

private:
  static constexpr int MaxWaits = 500;  // ten seconds

  static BOOL CALLBACK CloseWindow(HWND wnd, LPARAM) {
    if (IsWindowVisible(wnd)) PostMessageA(wnd, WM_CLOSE, 0, 0);
    return TRUE;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TUser* self = Current;
    if (!self || self->Busy || self->GaveUp) return;
    self->Busy = true;
    bool last = self->Next == self->Steps.size();
    if (!last && self->Steps[self->Next]()) {
      ++self->Next;
      self->Waits = 0;
    } else if (++self->Waits > MaxWaits) {
      if (last) ADD_FAILURE() << "the window stayed open after the last step";
      else ADD_FAILURE() << "step " << self->Next << " waited in vain";
      self->GaveUp = true;
      EnumThreadWindows(GetCurrentThreadId(), CloseWindow, 0);
    }
    self->Busy = false;
  }

  static inline TUser* Current = nullptr;
  std::vector<TStep> Steps;
  size_t Next = 0;
  int Waits = 0;
  bool Busy = false, GaveUp = false;
  UINT_PTR Timer = 0;
};

struct TWindowSearch {
  std::string ClassName, Caption;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchShown(HWND wnd, LPARAM lParam) {
  auto* search = reinterpret_cast<TWindowSearch*>(lParam);
  char name[64] = "", caption[256] = "";
  GetClassNameA(wnd, name, sizeof name);
  GetWindowTextA(wnd, caption, sizeof caption);
  if (IsWindowVisible(wnd) && search->ClassName == name && (search->Caption.empty() || search->Caption == caption)) {
    search->Found = wnd;
    return FALSE;
  }
  return TRUE;
}

// A shown top-level window of this thread.
HWND FindShown(const std::string& className, const std::string& caption = "") {
  TWindowSearch search{className, caption};
  EnumThreadWindows(GetCurrentThreadId(), MatchShown, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

struct TNameSearch {
  std::string Name;
  HWND Found = nullptr;
};

BOOL CALLBACK MatchName(HWND wnd, LPARAM lParam) {
  auto* search = reinterpret_cast<TNameSearch*>(lParam);
  if (ComponentName(wnd) != search->Name) return TRUE;
  search->Found = wnd;
  return FALSE;
}

HWND Named(HWND root, const std::string& name) {
  TNameSearch search{name};
  if (root) EnumChildWindows(root, MatchName, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::string TextOf(HWND wnd) {
  char text[1024] = "";
  if (wnd) GetWindowTextA(wnd, text, sizeof text);
  return text;
}

struct TIconSearch {
  HICON Icon;
  bool Found = false;
};

BOOL CALLBACK MatchIcon(HWND wnd, LPARAM lParam) {
  auto* search = reinterpret_cast<TIconSearch*>(lParam);
  search->Found = reinterpret_cast<HICON>(SendMessageA(wnd, STM_GETICON, 0, 0)) == search->Icon;
  return !search->Found;
}

// Whether a message box shows the system icon.
bool ShowsIcon(HWND box, HICON icon) {
  TIconSearch search{icon};
  EnumChildWindows(box, MatchIcon, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

TVNDirList* DirListOf(HWND form) {
  return dynamic_cast<TVNDirList*>(TVNControl::FromHandle(Named(form, "lstDirectories")));
}

void PressKey(HWND wnd, WPARAM key) {
  PostMessageA(wnd, WM_KEYDOWN, key, 1);
  PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
}

RECT PlaceIn(HWND wnd, HWND parent) {
  RECT r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// A window that owns the modal windows, as the wizard does. Hidden unless a test shows it:
// under Wine without a window manager every hide of a shown window waits two seconds.
class ModalTest : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TAuxDialogsOwner";
    RegisterClassA(&wc);
    Owner = CreateWindowExA(0, "TAuxDialogsOwner", "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Owner, nullptr);
  }
  void TearDown() override { DestroyWindow(Owner); }

  HWND Owner = nullptr;
};

class DirectorySelTest : public ModalTest {
protected:
  void SetUp() override {
    ModalTest::SetUp();
    CreateDirectoryA((Temp / "Sub").c_str(), nullptr);
    Dialog.Texts.MessageCaption = "Aux Setup";
  }
  // Waits for the window; the check then runs on it.
  TUser::TStep OnWindow(std::function<void(HWND)> check) {
    return [check] {
      HWND form = FindShown("TfrmDirectorySel");
      if (!form) return false;
      check(form);
      return true;
    };
  }

  TTempFolder Temp;
  TfrmDirectorySel Dialog;
};

}  // namespace

TEST_F(DirectorySelTest, LayoutStartFolderAndOkAnswersTheEdit) {
  ShowWindow(Owner, SW_SHOW);
  SetActiveWindow(Owner);
  Dialog.Texts.Caption = "Pick a folder";
  Dialog.Texts.OK = "&Go";
  TUser user({OnWindow([&](HWND form) {
                EXPECT_EQ(ComponentName(form), "frmDirectorySel");
                EXPECT_EQ(TextOf(form), "Pick a folder");
                EXPECT_EQ(GetWindow(form, GW_OWNER), Owner);
                EXPECT_FALSE(IsWindowEnabled(Owner)) << "the owner waits while the window is open";
                RECT client;
                GetClientRect(form, &client);
                EXPECT_EQ(client.right, 281);
                EXPECT_EQ(client.bottom, 277);
                struct {
                  const char* Name;
                  int Left, Top, Width;
                } places[] = {{"lblDirectory", 12, 12, 0},    {"txtDirectory", 12, 28, 257},
                              {"lblDirectories", 12, 60, 0},  {"lstDirectories", 12, 76, 257},
                              {"lblDrives", 12, 188, 0},      {"cmbDrives", 12, 204, 257},
                              {"btnOK", 116, 244, 75},        {"btnCancel", 196, 244, 75}};
                for (const auto& p : places) {
                  HWND c = Named(form, p.Name);
                  ASSERT_NE(c, nullptr) << p.Name;
                  RECT r = PlaceIn(c, form);
                  EXPECT_EQ(r.left, p.Left) << p.Name;
                  EXPECT_EQ(r.top, p.Top) << p.Name;
                  if (p.Width) {
                    EXPECT_EQ(r.right - r.left, p.Width) << p.Name;
                  }
                }
                EXPECT_EQ(TextOf(Named(form, "btnOK")), "&Go");
                // The list moved to the start folder; the caller's text replaced it in the edit.
                ASSERT_NE(DirListOf(form), nullptr);
                EXPECT_EQ(DirListOf(form)->Directory(), Temp.Path);
                EXPECT_EQ(TextOf(Named(form, "txtDirectory")), "D:\\From Caller");
                EXPECT_EQ(GetFocus(), Named(form, "txtDirectory"));
                SetWindowTextA(Named(form, "txtDirectory"), "E:\\Typed\\By User");
                SendMessageA(Named(form, "btnOK"), BM_CLICK, 0, 0);
              })});
  EXPECT_EQ(Dialog.Execute(Owner, Temp.Path, std::string("D:\\From Caller")), ModalOk);
  EXPECT_TRUE(user.Finished());
  EXPECT_EQ(Dialog.Directory(), "E:\\Typed\\By User");
  EXPECT_TRUE(IsWindowEnabled(Owner));
  EXPECT_EQ(GetActiveWindow(), Owner);
  EXPECT_EQ(FindShown("TfrmDirectorySel"), nullptr);
}

TEST_F(DirectorySelTest, StartFolderRules) {
  // A start folder that is missing: the message first, then the edit shows the list's folder.
  std::string missing = Temp / "Missing\\Deeper";
  std::string listFolder;
  {
    TUser user({[&] {
                  HWND box = FindShown("#32770", "Aux Setup");
                  if (!box) return false;
                  EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), "Invalid or not existent directory.");
                  EXPECT_TRUE(ShowsIcon(box, LoadIcon(nullptr, IDI_ERROR))) << "the error icon";
                  SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                  return true;
                },
                OnWindow([&](HWND form) {
                  ASSERT_NE(DirListOf(form), nullptr);
                  listFolder = DirListOf(form)->Directory();
                  EXPECT_FALSE(listFolder.empty());
                  EXPECT_EQ(TextOf(Named(form, "txtDirectory")), listFolder);
                  PostMessageA(form, WM_CLOSE, 0, 0);  // the X button
                })});
    EXPECT_EQ(Dialog.Execute(Owner, missing), ModalCancel);
    EXPECT_TRUE(user.Finished());
  }
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_EQ(CompareTextIgnoringCase(listFolder, NormalDirectory(current)), 0) << listFolder;
  // An existing start folder without caller's text: the edit shows it as given.
  {
    std::string given = Temp.Path + "\\";
    TUser user({OnWindow([&](HWND form) {
      EXPECT_EQ(FindShown("#32770", "Aux Setup"), nullptr);
      EXPECT_EQ(DirListOf(form)->Directory(), Temp.Path);
      EXPECT_EQ(TextOf(Named(form, "txtDirectory")), given);
      PressKey(Named(form, "txtDirectory"), VK_ESCAPE);
    })});
    EXPECT_EQ(Dialog.Execute(Owner, given), ModalCancel);
    EXPECT_TRUE(user.Finished());
  }
  // No start folder: no message, the list stays where it is and the edit shows it.
  {
    TUser user({OnWindow([&](HWND form) {
      EXPECT_EQ(FindShown("#32770", "Aux Setup"), nullptr);
      EXPECT_EQ(TextOf(Named(form, "txtDirectory")), DirListOf(form)->Directory());
      PressKey(Named(form, "txtDirectory"), VK_ESCAPE);
    })});
    EXPECT_EQ(Dialog.Execute(Owner, ""), ModalCancel);
    EXPECT_TRUE(user.Finished());
  }
  EXPECT_EQ(Dialog.Directory(), "") << "cancelled runs choose nothing";
}

TEST_F(DirectorySelTest, ListChangesReachTheEditAndKeysAnswer) {
  // Enter in the edit confirms.
  {
    TUser user({OnWindow([&](HWND) { PressKey(GetFocus(), VK_RETURN); })});
    EXPECT_EQ(Dialog.Execute(Owner, Temp.Path, std::string("C:\\Earlier")), ModalOk);
    EXPECT_TRUE(user.Finished());
    EXPECT_EQ(Dialog.Directory(), "C:\\Earlier");
  }
  // Opening a folder in the list copies it into the edit; Esc then cancels and the earlier
  // answer stays.
  TUser user({OnWindow([&](HWND form) {
                TVNDirList* list = DirListOf(form);
                ASSERT_NE(list, nullptr);
                int sub = -1;
                for (size_t i = 0; i < list->Entries().size(); ++i)
                  if (list->Entries()[i].Text == "Sub") sub = int(i);
                ASSERT_GE(sub, 0);
                SendMessageA(list->Handle(), LB_SETCURSEL, WPARAM(sub), 0);
                SetFocus(list->Handle());
                PressKey(list->Handle(), VK_RETURN);  // opens the folder, does not confirm
              }),
              [&] {
                HWND form = FindShown("TfrmDirectorySel");
                if (!form || TextOf(Named(form, "txtDirectory")) != Temp / "Sub") return false;
                PressKey(Named(form, "txtDirectory"), VK_ESCAPE);
                return true;
              }});
  EXPECT_EQ(Dialog.Execute(Owner, Temp.Path, std::string("typed")), ModalCancel);
  EXPECT_TRUE(user.Finished());
  EXPECT_EQ(Dialog.Directory(), "C:\\Earlier");
}

TEST_F(DirectorySelTest, BlankAnswerKeepsTheWindowOpen) {
  HWND shown = nullptr;
  TUser user({OnWindow([&](HWND form) {
                shown = form;
                SendMessageA(Named(form, "btnOK"), BM_CLICK, 0, 0);
              }),
              [&] {
                EXPECT_TRUE(IsWindowVisible(shown)) << "a blank folder is no answer";
                SetWindowTextA(Named(shown, "txtDirectory"), "F:\\Real");
                // Enter on the window itself presses the default button.
                SendMessageA(shown, WM_KEYDOWN, VK_RETURN, 1);
                return true;
              }});
  EXPECT_EQ(Dialog.Execute(Owner, Temp.Path, std::string("   ")), ModalOk);
  EXPECT_TRUE(user.Finished());
  EXPECT_EQ(Dialog.Directory(), "F:\\Real");
}

namespace {

class SecondaryDialogTest : public ModalTest {
protected:
  void SetUp() override {
    ModalTest::SetUp();
    ASSERT_TRUE(Form.Create(Owner));
    Form.SetCaption("Second");
    Form.SetClientSize(320, 180);
    Form.CentreOnScreen();
  }
  TUser::TStep OnWindow(std::function<void(HWND)> check) {
    return [this, check] {
      if (!IsWindowVisible(Form.Handle())) return false;
      check(Form.Handle());
      return true;
    };
  }
  template <class T>
  std::unique_ptr<T> OnPanel(int left, int top) {
    auto c = std::make_unique<T>();
    EXPECT_TRUE(c->Create(Form.Panel()));
    c->SetLeft(left);
    c->SetTop(top);
    c->SetVisible(true);
    return c;
  }

  TfrmSecondaryDialog Form;
};

}  // namespace

TEST_F(SecondaryDialogTest, AfterShowRunsOnceAtTheFirstPaint) {
  int calls = 0;
  bool visibleThen = false;
  Form.OnAfterShow = [&] {
    ++calls;
    visibleThen = IsWindowVisible(Form.Handle());
    return true;
  };
  TUser user({[&] { return calls == 1; },
              OnWindow([&](HWND form) {
                EXPECT_EQ(ComponentName(form), "frmSecondaryDialog");
                EXPECT_EQ(TextOf(form), "Second");
                EXPECT_EQ(Named(form, "pnlSecondary"), Form.Panel());
                RECT client, panel;
                GetClientRect(form, &client);
                GetClientRect(Form.Panel(), &panel);
                EXPECT_EQ(client.right, 320);
                EXPECT_EQ(client.bottom, 180);
                EXPECT_TRUE(EqualRect(&client, &panel));
                EXPECT_FALSE(IsWindowEnabled(Owner));
                RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
              }),
              [&] {
                EXPECT_EQ(calls, 1) << "later paints do not run it again";
                Form.EndModal(ModalCancel);  // the wizard's Cancel while the dialog is open
                return true;
              }});
  EXPECT_EQ(Form.ShowModal(), ModalCancel);
  EXPECT_TRUE(user.Finished());
  EXPECT_TRUE(visibleThen);
  EXPECT_TRUE(IsWindowEnabled(Owner));
  EXPECT_FALSE(IsWindowVisible(Form.Handle()));
}

TEST_F(SecondaryDialogTest, AfterShowAnsweringFalseAborts) {
  // A script that cancels: the wizard ends the dialog with Cancel, then the script answers
  // that it stopped early, which is the abort result.
  Form.OnAfterShow = [&] {
    Form.EndModal(ModalCancel);
    return false;
  };
  TUser guard({[] { return false; }});  // only its time-out: closes the window should it hang
  EXPECT_EQ(Form.ShowModal(), ModalAbort);
  EXPECT_TRUE(IsWindowEnabled(Owner));
}

TEST_F(SecondaryDialogTest, EnterAndEscReachThePanelsButtons) {
  auto edit = OnPanel<TVNEdit>(10, 10);
  auto ok = OnPanel<TVNButton>(10, 50);
  auto cancel = OnPanel<TVNButton>(100, 50);
  auto box = OnPanel<TVNCheckBox>(10, 90);
  ok->SetButtonType(2);
  cancel->SetButtonType(1);
  ok->OnEvent = [&](TVNControl&) { Form.EndModal(11); };
  cancel->OnEvent = [&](TVNControl&) { Form.EndModal(12); };
  // The default button stays framed wherever the keyboard or a click takes the focus.
  auto framed = [&] { return (GetWindowLongA(ok->Handle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON; };
  {
    TUser user({OnWindow([&](HWND) {
                  EXPECT_EQ(GetFocus(), edit->Handle()) << "the first tab stop of the panel has the focus";
                  EXPECT_TRUE(framed());
                  PressKey(edit->Handle(), VK_TAB);
                }),
                [&] { return GetFocus() == ok->Handle(); },  // Tab goes on to the next control
                [&] {
                  EXPECT_TRUE(framed()) << "with the focus";
                  PressKey(ok->Handle(), VK_TAB);
                  return true;
                },
                [&] { return GetFocus() == cancel->Handle(); },
                [&] {
                  EXPECT_TRUE(framed()) << "with the focus on another button";
                  SendMessageA(box->Handle(), BM_CLICK, 0, 0);
                  EXPECT_TRUE(framed()) << "after a click elsewhere";
                  PressKey(box->Handle(), VK_ESCAPE);
                  return true;
                }});
    EXPECT_EQ(Form.ShowModal(), 12);
    EXPECT_TRUE(user.Finished());
  }
  // Shown again: Enter anywhere presses the default button.
  TUser user({OnWindow([&](HWND) { PressKey(edit->Handle(), VK_RETURN); })});
  EXPECT_EQ(Form.ShowModal(), 11);
  EXPECT_TRUE(user.Finished());
}

TEST_F(SecondaryDialogTest, QuitEndsNestedLoopsAndReachesTheMainLoop) {
  // A button on the dialog opens the directory selection, as a page script would; the
  // application is asked to quit while both are open.
  TfrmDirectorySel directory;
  int inner = -1;
  auto browse = OnPanel<TVNButton>(10, 10);
  browse->OnEvent = [&](TVNControl&) { inner = directory.Execute(Form.Handle(), ""); };
  TUser user({OnWindow([&](HWND) { PostMessageA(browse->Handle(), BM_CLICK, 0, 0); }),
              [&] {
                HWND shown = FindShown("TfrmDirectorySel");
                if (!shown) return false;
                EXPECT_FALSE(IsWindowEnabled(Form.Handle()));
                PostQuitMessage(7);
                return true;
              }});
  EXPECT_EQ(Form.ShowModal(), ModalCancel);
  EXPECT_TRUE(user.Finished());
  EXPECT_EQ(inner, ModalCancel);
  EXPECT_TRUE(Form.Quitting());
  EXPECT_TRUE(IsWindowEnabled(Form.Handle()));
  EXPECT_TRUE(IsWindowEnabled(Owner));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit request is kept for the main loop";
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and kept once";
}
