// The page binding on real controls: the install-folder controls following each other and the
// user, the program-group list, the built-in roles, the list commands of scripts, and values
// stored and shown again.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "TestBitmaps.h"
#include "Win32Fixtures.h"
#include "package/SystemRules.h"
#include "package/VarList.h"
#include "ui/BindingRules.h"
#include "ui/win32/controls/VNComponents.h"
#include "ui/win32/wizard/SetupMainBinding.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// A page as the wizard form keeps it: a hidden panel, its controls, the binding, and a
// variable table whose changes refresh the page as the form's handler does.
class BindingTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.Vars = std::make_unique<TSetupVariables>(State.Description, State.Builtins);
    Vars().InitVariables({"%DataDir%", "%Name%", "%Opt%", "%Agreement%", "%Pick%", "%Combo%"}, "");
    State.Vars->OnChange = [this](const std::string& name, const std::string&) { VariableChanged(name); };
    Binding.ActiveControls = [this]() -> const TPageControls* { return Shown ? &Controls : nullptr; };
    Binding.RunControlScript = [this](TVNControl& c) { Scripts.push_back(c.Name()); };

    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "TBindingTestPanel";
    RegisterClassA(&wc);
    Panel = CreateWindowExA(0, "TBindingTestPanel", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 500, 400, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(Panel, nullptr);
  }
  void TearDown() override {
    State.Vars->OnChange = nullptr;
    Controls.clear();
    if (Panel) DestroyWindow(Panel);
  }

  TSetupVariables& Vars() { return *State.Vars; }

  void VariableChanged(const std::string& name) {
    if (!Shown) return;
    bool was = Binding.Refreshing;
    Binding.Refreshing = true;
    for (const TRefresh& how : RefreshesAfterChange(Vars(), name)) UpdateControls(Controls, Binding, how);
    Binding.Refreshing = was;
  }

  static TControlDef Def(uint8_t kind, uint8_t role, const std::string& binding, std::array<std::string, 6> p = {}) {
    return MakeControlDef(kind, 10, 10, 21, 200, std::move(p), {}, binding, role);
  }

  // Builds the page as the form does: each control refreshed once made, all while the
  // binding refreshes, radio buttons set from their variables at the end.
  void Build(const std::vector<TControlDef>& defs) {
    TBuildCallbacks callbacks;
    callbacks.ControlEvent = [this](TVNControl& c) {
      if (!Binding.Refreshing && RunsControlScript(c)) Scripts.push_back(c.Name());
    };
    callbacks.ControlCreated = [this](TVNControl& c) { UpdateControl(c, Binding, TRefresh{true, false, 0, ""}); };
    callbacks.ResolveImageFile = [this](const std::string& name) { return Folder / Vars().ExpandText(name); };
    Binding.Refreshing = true;
    ASSERT_TRUE(BuildControls("P", Panel, defs, callbacks, {"Tahoma", 8, int32_t(0x80000008), 0, 1}, false, false,
                              Controls));
    InitialiseRadios(Controls, Vars());
    Binding.Refreshing = false;
    Shown = true;
  }

  template <class T>
  T& At(size_t index) {
    return dynamic_cast<T&>(*Controls.at(index));
  }

  void Notify(TVNControl& c, WORD code) {
    SendMessageA(Panel, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c.Handle()), code), LPARAM(c.Handle()));
  }
  static void Type(TVNControl& edit, const std::string& text) {
    for (char ch : text) SendMessageA(edit.Handle(), WM_CHAR, WPARAM(static_cast<unsigned char>(ch)), 0);
  }
  static DWORD Caret(TVNControl& edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit.Handle(), EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return start == end ? end : DWORD(-1);
  }
  // The user picks an item of a list or combo box.
  void Pick(TVNControl& c, int index, bool combo) {
    SendMessageA(c.Handle(), combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
    Notify(c, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
  }
  static int DriveIndex(TVNDriveCombo& combo, char letter) {
    int n = int(SendMessageA(combo.Handle(), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[MAX_PATH] = "";
      SendMessageA(combo.Handle(), CB_GETLBTEXT, WPARAM(i), LPARAM(text));
      if (FoldCase(text[0]) == letter) return i;
    }
    return -1;
  }
  // A readable drive besides C:, and a letter no drive has.
  static char OtherDrive() {
    DWORD mask = GetLogicalDrives();
    for (char d = 'Z'; d > 'C'; --d)
      if ((mask & (1u << (d - 'A'))) && FolderExists(DriveRootOf(d))) return d;
    return 0;
  }
  static char MissingDrive() {
    DWORD mask = GetLogicalDrives();
    for (char d = 'Q'; d <= 'Y'; ++d)
      if (!(mask & (1u << (d - 'A')))) return d;
    return 0;
  }
  static std::string FreeSpaceOn(char letter) {
    return FreeSpaceText(TSystemInfo::DiskFreeBytes(std::string(1, letter)), TSystemInfo::DecimalSeparator());
  }

  TSetupState State;
  TBinding Binding{State};
  TTempFolder Folder{"vnt binding "};
  HWND Panel = nullptr;
  TPageControls Controls;  // after the binding: the controls' handlers refer to it
  bool Shown = false;
  std::vector<std::string> Scripts;
};

}  // namespace

TEST_F(BindingTest, ChangesOfVariablesRefreshTheirRolesOrBindings) {
  auto filters = [&](const std::string& name) {
    std::vector<int> out;
    for (const TRefresh& how : RefreshesAfterChange(Vars(), name)) {
      EXPECT_FALSE(how.Initial);
      EXPECT_TRUE(how.Filtered);
      out.push_back(how.Filter);
      EXPECT_EQ(how.Name, how.Filter == 0 ? name : "");
    }
    return out;
  };
  EXPECT_EQ(filters("%installdir%"), (std::vector<int>{7, 6, 15, 16}));
  EXPECT_EQ(filters("%ProgramGroup%"), (std::vector<int>{3}));
  EXPECT_EQ(filters("%COMMONSHELLFOLDERS%"), (std::vector<int>{2}));
  EXPECT_EQ(filters("%DataDir%"), (std::vector<int>{0}));
  EXPECT_TRUE(filters("%NeverDeclared%").empty());
}

TEST_F(BindingTest, TypingTheInstallFolderMovesTheFolderControlsButNotTheBox) {
  char other = OtherDrive();
  if (!other) GTEST_SKIP() << "no second drive";
  Vars().SetVariable("%InstallDir%", DriveRootOf(other));
  Build({Def(KindTextBox, RoleInstallDir, ""), Def(KindLabel, RoleFreeSpace, ""),
         Def(KindList, RoleDirList, "%InstallDir%"), Def(KindCombo, RoleDrive, "%InstallDir%")});
  auto& edit = At<TVNEdit>(0);
  auto& free = At<TVNLabel>(1);
  auto& dirs = At<TVNDirList>(2);
  auto& drives = At<TVNDriveCombo>(3);
  // The expanded install folder has no trailing backslash, also at a drive's root.
  EXPECT_EQ(edit.Caption(), std::string(1, other) + ":");
  EXPECT_TRUE(SameFolderText(dirs.Directory(), DriveRootOf(other)));
  EXPECT_EQ(drives.Drive(), other);
  EXPECT_EQ(free.Caption(), FreeSpaceOn(other));

  // The user types the folder, the fourth character last, in the middle of the text.
  const std::string target = Folder.Path;
  ASSERT_EQ(DriveLetterOf(target), 'C');
  SendMessageA(edit.Handle(), EM_SETSEL, 0, -1);
  Type(edit, target.substr(0, 3) + target.substr(4));
  SendMessageA(edit.Handle(), EM_SETSEL, 3, 3);
  Type(edit, target.substr(3, 1));

  EXPECT_EQ(edit.Caption(), target);
  EXPECT_EQ(Caret(edit), 4u) << "a refresh set the text being typed";
  EXPECT_EQ(Vars().ExpandText("%InstallDir%"), target);
  EXPECT_TRUE(SameFolderText(dirs.Directory(), target));
  EXPECT_EQ(drives.Drive(), 'C');
  EXPECT_EQ(drives.RememberedDrive(), 'C');
  EXPECT_EQ(free.Caption(), FreeSpaceOn('C'));
  // The box's own script ran for the typing; the refreshes ran none.
  EXPECT_EQ(Scripts.size(), target.size());
  for (const auto& name : Scripts) EXPECT_EQ(name, edit.Name());

  // A drive that cannot be read shows nothing free, quietly; the lists stay on real folders.
  char missing = MissingDrive();
  ASSERT_NE(missing, 0);
  Vars().SetVariable("%InstallDir%", std::string(1, missing) + ":\\Apps");
  EXPECT_EQ(free.Caption(), FreeSpaceText(std::nullopt, TSystemInfo::DecimalSeparator()));
  EXPECT_EQ(edit.Caption(), std::string(1, missing) + ":\\Apps");
  EXPECT_TRUE(SameFolderText(dirs.Directory(), State.Info.WindowsFolder()));
  EXPECT_EQ(drives.Drive(), 'C');
}

TEST_F(BindingTest, PickingADriveOrAFolderSetsTheBoxesBoundAlike) {
  char other = OtherDrive();
  if (!other) GTEST_SKIP() << "no second drive";
  Vars().SetVariable("%InstallDir%", Folder.Path);
  Vars().SetVariable("%DataDir%", "D:\\Data");
  Build({Def(KindTextBox, RoleInstallDir, ""), Def(KindTextBox, RoleNone, "%InstallDir%"),
         Def(KindTextBox, RoleNone, "%DataDir%"), Def(KindCombo, RoleDrive, "%InstallDir%"),
         Def(KindList, RoleDirList, "%InstallDir%")});
  auto& installBox = At<TVNEdit>(0);
  auto& boundBox = At<TVNEdit>(1);
  auto& otherBox = At<TVNEdit>(2);
  auto& drives = At<TVNDriveCombo>(3);
  auto& dirs = At<TVNDirList>(4);
  EXPECT_EQ(boundBox.Caption(), Folder.Path);
  Scripts.clear();

  int index = DriveIndex(drives, other);
  ASSERT_GE(index, 0);
  Pick(drives, index, true);
  const std::string root = DriveRootOf(other);
  EXPECT_EQ(installBox.Caption(), root);
  EXPECT_EQ(boundBox.Caption(), root);
  EXPECT_EQ(otherBox.Caption(), "D:\\Data");
  EXPECT_EQ(Vars().Stored("%InstallDir%"), root);
  EXPECT_TRUE(SameFolderText(dirs.Directory(), root));
  EXPECT_EQ(drives.RememberedDrive(), other);

  // The user opens a folder in the list: the boxes show it with a trailing backslash and the
  // combo goes back to its drive.
  std::string sub = Folder / "Sub";
  ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
  ASSERT_TRUE(dirs.SetDirectory(sub));
  EXPECT_EQ(installBox.Caption(), sub + "\\");
  EXPECT_EQ(boundBox.Caption(), sub + "\\");
  EXPECT_EQ(Vars().Stored("%InstallDir%"), sub + "\\");
  EXPECT_EQ(drives.Drive(), 'C');
  EXPECT_EQ(otherBox.Caption(), "D:\\Data");

  // Moves made while the page refreshes, or with no page shown, are not the user's.
  Binding.Refreshing = true;
  ASSERT_TRUE(dirs.SetDirectory(Folder.Path));
  Binding.Refreshing = false;
  EXPECT_EQ(installBox.Caption(), sub + "\\");
  Shown = false;
  ASSERT_TRUE(dirs.SetDirectory(sub));
  EXPECT_EQ(installBox.Caption(), sub + "\\");
  Shown = true;
  // The variable was typed in the RoleInstallDir box only; the RoleNone box runs its script as usual.
  EXPECT_EQ(std::count(Scripts.begin(), Scripts.end(), boundBox.Name()), 2);
  EXPECT_EQ(std::count(Scripts.begin(), Scripts.end(), otherBox.Name()), 0);
}

TEST_F(BindingTest, DirectoryListOfAMissingFolderShowsTheNearestExistingOne) {
  Vars().SetVariable("%DataDir%", Folder / "missing\\deeper\\");
  Build({Def(KindList, RoleDirList, "%DataDir%"), Def(KindList, RoleDirList, "")});
  auto& dirs = At<TVNDirList>(0);
  auto& unbound = At<TVNDirList>(1);
  EXPECT_TRUE(SameFolderText(dirs.Directory(), Folder.Path));
  std::string before = unbound.Directory();

  char missing = MissingDrive();
  ASSERT_NE(missing, 0);
  Vars().SetVariable("%DataDir%", std::string(1, missing) + ":\\Nowhere");
  EXPECT_TRUE(SameFolderText(dirs.Directory(), State.Info.WindowsFolder()));
  // The install folder's pass moves every directory list; a list without a value stays.
  Vars().SetVariable("%DataDir%", Folder.Path);
  Vars().SetVariable("%InstallDir%", "C:\\");
  EXPECT_TRUE(SameFolderText(dirs.Directory(), Folder.Path));
  EXPECT_EQ(unbound.Directory(), before);
}

TEST_F(BindingTest, ProgramGroupListFollowsTheStartMenuChoice) {
  TSystemSources sources;
  sources.Administrator = true;
  State.Info = TSystemInfo(sources);
  std::string personal = State.Info.ShellFolder(ShellPrograms, false);
  std::string common = State.Info.ShellFolder(ShellPrograms, true);
  ASSERT_FALSE(personal.empty());
  if (CompareTextIgnoringCase(personal, common) == 0) GTEST_SKIP() << "one Start menu only";
  std::string mine = UniqueName("Vnt Mine "), shared = UniqueName("Vnt Shared ");
  ASSERT_TRUE(CreateDirectoryA((personal + "\\" + mine).c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((common + "\\" + shared).c_str(), nullptr));
  struct TCleanUp {
    std::string A, B;
    ~TCleanUp() {
      RemoveTree(A);
      RemoveTree(B);
    }
  } cleanUp{personal + "\\" + mine, common + "\\" + shared};

  Vars().SetVariable("%ProgramGroup%", mine);
  Build({Def(KindList, RoleProgramGroups, ""), Def(KindTextBox, RoleProgramGroup, ""),
         Def(KindList, RoleProgramGroups, "")});
  auto& groups = At<TVNListBox>(0);
  auto& edit = At<TVNEdit>(1);
  auto& second = At<TVNListBox>(2);
  auto has = [&](const std::string& name) { return FindExactItem(groups.Items(), name) >= 0; };
  EXPECT_TRUE(has(mine));
  EXPECT_FALSE(has(shared));
  EXPECT_EQ(groups.Text(groups.ItemIndex()), mine) << "the chosen group shows as picked";
  std::vector<std::string> sorted = groups.Items();
  SortItems(sorted);
  EXPECT_EQ(groups.Items(), sorted);

  Vars().SetVariable("%CommonShellFolders%", "1");
  EXPECT_TRUE(has(shared));
  EXPECT_FALSE(has(mine));
  EXPECT_EQ(second.Items(), groups.Items()) << "every program-group list of the page follows";
  // The same choice again leaves the list as it is.
  groups.AddItem("marker");
  Vars().SetVariable("%CommonShellFolders%", "1");
  EXPECT_TRUE(has("marker"));
  Vars().SetVariable("%CommonShellFolders%", "0");
  EXPECT_TRUE(has(mine));
  EXPECT_FALSE(has("marker"));
  EXPECT_TRUE(Scripts.empty());

  // Picking a group sets the variable, which the RoleProgramGroup box shows; typing there sets it too.
  Pick(groups, FindExactItem(groups.Items(), mine), false);
  EXPECT_EQ(Vars().ExpandText("%ProgramGroup%"), mine);
  EXPECT_EQ(edit.Caption(), mine);
  EXPECT_EQ(Scripts, (std::vector<std::string>{groups.Name()}));
  SendMessageA(edit.Handle(), EM_SETSEL, mine.size(), LPARAM(mine.size()));
  Type(edit, "\\Tools");
  EXPECT_EQ(Vars().ExpandText("%ProgramGroup%"), mine + "\\Tools");
  EXPECT_EQ(Caret(edit), (mine + "\\Tools").size());
}

TEST_F(BindingTest, RolesShowTheSetupsOwnData) {
  TSetupInstallerFile file;
  file.File.Size = 1536;
  State.Description.ProductFiles.push_back(file);
  State.TempSetupDir = Folder.Path;
  State.Description.Properties.AgreementFile = "licence.txt";
  State.Description.Properties.SetupPicture = "setup.bmp";
  State.NotDeleted = {"C:\\App\\locked.dll", "C:\\App"};
  WriteBytes(Folder / "licence.txt", "You agree.");
  WriteBytes(Folder / "readme.txt", "Read me.");
  State.Description.Properties.SoftwareName = "R&D";
  Binding.ComponentDescription = "%SoftwareName% tools";
  Build({Def(KindLabel, RoleRequiredSpace, ""), Def(KindLabel, RoleComponentDescription, ""),
         Def(KindList, RoleAgreement, ""), Def(KindList, RoleTextFile, "", {"", "", Folder / "readme.txt"}),
         Def(KindList, RoleTextFile, "", {"", "", Folder / "gone.txt"}), Def(KindList, RoleNotDeleted, ""),
         Def(KindImage, RoleProgramIcon, ""), Def(KindImageButton, RoleProgramIcon, ""),
         Def(KindImage, RoleSetupPicture, ""), Def(KindImage, RoleNone, "", {"missing.bmp"})});
  EXPECT_EQ(At<TVNLabel>(0).Caption(), std::string("1") + TSystemInfo::DecimalSeparator() + "5 KB");
  EXPECT_EQ(At<TVNLabel>(1).Caption(), "R&&D tools");
  EXPECT_NE(At<TVNLicense>(2).Caption().find("You agree."), std::string::npos);
  EXPECT_NE(At<TVNLicense>(3).Caption().find("Read me."), std::string::npos);
  EXPECT_EQ(At<TVNLicense>(4).Caption(), "");
  auto& notDeleted = At<TVNNotDeletedList>(5);
  EXPECT_EQ(notDeleted.Lines(), State.NotDeleted);
  for (size_t i : {6, 7}) {
    auto& icon = At<TVNPictureControl>(i);
    ASSERT_FALSE(icon.Empty());
    SIZE size = BitmapSize(icon.Bitmap());
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
  }
  EXPECT_TRUE(At<TVNImage>(8).Empty()) << "no setup picture yet";
  EXPECT_TRUE(At<TVNImage>(9).Empty());

  // Shown again: files written meanwhile load, and the lists are not doubled.
  const std::string bmp = Bitmap(1, 1, 0, 0, 0);
  WriteBytes(Folder / "setup.bmp", bmp);
  WriteBytes(Folder / "missing.bmp", bmp);
  UpdateControls(Controls, Binding, PageRefresh(Vars(), true, "", 0));
  EXPECT_FALSE(At<TVNImage>(8).Empty());
  EXPECT_FALSE(At<TVNImage>(9).Empty());
  EXPECT_EQ(notDeleted.Lines(), State.NotDeleted);
  // Not shown again: a plain refresh changes no picture or viewer.
  DeleteFileA((Folder / "setup.bmp").c_str());
  UpdateControls(Controls, Binding, PageRefresh(Vars(), false, "", 0));
  EXPECT_FALSE(At<TVNImage>(8).Empty());
}

TEST_F(BindingTest, ListCommandsReachTheListsOfTheirTagOnly) {
  State.Description.Languages.resize(3);
  State.Description.Languages[0].Name = "Français";
  State.Description.Languages[1].Name = "English";
  State.Description.Languages[2].Name = "deutsch";
  Vars().SetVariable("%Language%", "English");
  Build({Def(KindList, RoleNone, "", {"", "c|a|b", "", "", "Langs", "1"}),
         Def(KindCombo, RoleNone, "", {"", "0", "y|x", "x", "", "LANGS"}),
         Def(KindList, RoleMemo, "", {"", "two|one", "", "", "langs"}), Def(KindList, RoleNone, "", {"", "c|a"}),
         Def(KindList, RoleNone, "", {"", "c|a", "", "", "other", "1"}),
         Def(KindList, RoleNone, "", {"", "c|a", "", "", "single"})});
  auto& multi = At<TVNListBox>(0);
  auto& combo = At<TVNComboBox>(1);
  auto& memo = At<TVNMemoList>(2);
  auto& untagged = At<TVNListBox>(3);
  auto& other = At<TVNListBox>(4);
  auto& single = At<TVNListBox>(5);
  auto selected = [](TVNListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i)
      if (list.ItemSelected(i)) out.push_back(list.Text(i));
    return out;
  };
  using Op = TListOperation;

  ListCommand(Controls, Binding, "langs", "B", Op::Add);
  EXPECT_EQ(multi.Items(), (std::vector<std::string>{"c", "a", "b", "B"}));
  EXPECT_EQ(combo.Items(), (std::vector<std::string>{"y", "x", "B"}));
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"two", "one", "B"}));
  EXPECT_EQ(untagged.Items(), (std::vector<std::string>{"c", "a"}));
  EXPECT_EQ(other.Items(), (std::vector<std::string>{"c", "a"}));
  ListCommand(Controls, Binding, "nobody", "z", Op::Add);
  EXPECT_EQ(other.Items(), (std::vector<std::string>{"c", "a"}));

  ListCommand(Controls, Binding, "Langs", "b, C|zz", Op::SelectItems);
  EXPECT_EQ(selected(multi), (std::vector<std::string>{"c", "b", "B"}));
  EXPECT_TRUE(selected(other).empty());
  ListCommand(Controls, Binding, "Langs", "", Op::Sort);
  EXPECT_EQ(multi.Items(), (std::vector<std::string>{"a", "b", "B", "c"}));
  EXPECT_EQ(selected(multi), (std::vector<std::string>{"b", "B", "c"})) << "sorting keeps the selection";
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"B", "one", "two"}));
  EXPECT_EQ(combo.Caption(), "x") << "the editable box still shows its value";
  ListCommand(Controls, Binding, "Langs", "", Op::SelectAll);
  EXPECT_EQ(selected(multi).size(), 4u);
  ListCommand(Controls, Binding, "Langs", "", Op::DeselectAll);
  EXPECT_TRUE(selected(multi).empty());

  // A single-select list refuses to select or deselect with the toolkit's error.
  for (Op op : {Op::SelectAll, Op::DeselectAll}) {
    try {
      ListCommand(Controls, Binding, "single", "", op);
      ADD_FAILURE() << "no error for operation " << int(op);
    } catch (const EScriptError& e) {
      EXPECT_STREQ(e.what(), "List index out of bounds");
    }
  }
  EXPECT_THROW(ListCommand(Controls, Binding, "single", "a", Op::SelectItems), EScriptError);
  EXPECT_NO_THROW(ListCommand(Controls, Binding, "single", "zz", Op::SelectItems));
  EXPECT_EQ(single.Items(), (std::vector<std::string>{"c", "a"}));

  // Languages: sorted names, then the value of P3 (list) or P4 (combo); the memo list has no
  // such command. The value is set quietly: no control script runs.
  Scripts.clear();
  ListCommand(Controls, Binding, "langs", "", Op::FillLanguages);
  std::vector<std::string> languages{"deutsch", "English", "Français"};
  EXPECT_EQ(multi.Items(), languages);
  EXPECT_EQ(combo.Items(), languages);
  EXPECT_EQ(multi.Value(), "");
  EXPECT_EQ(combo.Value(), "x");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"B", "one", "two"}));
  ListCommand(Controls, Binding, "langs", "", Op::Clear);
  EXPECT_EQ(multi.Count(), 0);
  EXPECT_EQ(combo.Count(), 0);
  EXPECT_TRUE(memo.Lines().empty());
  EXPECT_EQ(untagged.Count(), 2);
  EXPECT_TRUE(Scripts.empty());
}

TEST_F(BindingTest, LanguageListTakesItsValueFromP3) {
  State.Description.Languages.resize(2);
  State.Description.Languages[0].Name = "English";
  State.Description.Languages[1].Name = "Deutsch";
  Vars().SetVariable("%Language%", "English");
  Build({Def(KindList, RoleNone, "%Pick%", {"", "", "%Language%", "", "langs"}),
         Def(KindCombo, RoleNone, "", {"", "1", "", "%Language%", "", "langs"})});
  ListCommand(Controls, Binding, "langs", "", TListOperation::FillLanguages);
  auto& list = At<TVNListBox>(0);
  auto& combo = At<TVNComboBox>(1);
  EXPECT_EQ(list.Value(), "English");
  EXPECT_EQ(list.Text(list.ItemIndex()), "English");
  EXPECT_EQ(combo.Value(), "English");
  EXPECT_EQ(combo.Text(combo.ItemIndex()), "English");
  EXPECT_TRUE(Scripts.empty());
}

TEST_F(BindingTest, StoredValuesShowAgainWhenThePageIsShownAgain) {
  Vars().SetVariable("%Agreement%", "1");
  Vars().SetVariable("%Opt%", "no");
  std::vector<TControlDef> defs{Def(KindTextBox, RoleNone, "%Name%", {"default"}),
                                Def(KindCheckBox, RoleNone, "%Opt%", {"Opt", "", "%Opt%", "yes", "no"}),
                                Def(KindRadioBox, RoleNone, "%Agreement%", {"Yes", "", "", "1"}),
                                Def(KindRadioBox, RoleNone, "%Agreement%", {"No", "", "", "0"}),
                                Def(KindList, RoleNone, "%Pick%", {"", "a|b|c", "%Pick%"}),
                                Def(KindCombo, RoleNone, "%Combo%", {"", "0", "x|y", "%Combo%"})};
  Build(defs);
  auto& edit = At<TVNEdit>(0);
  auto& check = At<TVNCheckBox>(1);
  auto& yes = At<TVNRadioButton>(2);
  auto& no = At<TVNRadioButton>(3);
  auto& list = At<TVNListBox>(4);
  auto& combo = At<TVNComboBox>(5);
  EXPECT_EQ(edit.Caption(), "");  // declared and empty: the variable wins over P1
  EXPECT_FALSE(check.Checked());
  EXPECT_TRUE(yes.Checked());
  EXPECT_FALSE(no.Checked());

  // The user's entries.
  edit.SetCaption("Alice");
  check.SetChecked(true);
  yes.SetChecked(false);
  no.SetChecked(true);
  Pick(list, 2, false);
  Pick(combo, 1, true);
  StoreControlValues(Controls, Vars());
  EXPECT_EQ(Vars().ExpandText("%Name%"), "Alice");
  EXPECT_EQ(Vars().ExpandText("%Opt%"), "yes");
  EXPECT_EQ(Vars().ExpandText("%Agreement%"), "0");
  EXPECT_EQ(Vars().ExpandText("%Pick%"), "c");
  EXPECT_EQ(Vars().ExpandText("%Combo%"), "y");

  // A script changes some of them; the page shown again shows the variables.
  Vars().SetVariable("%Agreement%", "1");
  Vars().SetVariable("%Pick%", "a");
  edit.SetCaption("junk");
  UpdateControls(Controls, Binding, PageRefresh(Vars(), true, "", 0));
  InitialiseRadios(Controls, Vars());
  EXPECT_EQ(edit.Caption(), "Alice");
  EXPECT_TRUE(check.Checked());
  EXPECT_TRUE(yes.Checked());
  EXPECT_FALSE(no.Checked()) << "the earlier choice stays checked beside the variable's";
  EXPECT_EQ(list.Text(list.ItemIndex()), "a");
  EXPECT_EQ(combo.Value(), "y");
  EXPECT_EQ(combo.Caption(), "y");

  // The same page built afresh from the stored values.
  Controls.clear();
  Build(defs);
  EXPECT_EQ(At<TVNEdit>(0).Caption(), "Alice");
  EXPECT_EQ(At<TVNCheckBox>(1).Value(), "yes");
  EXPECT_TRUE(At<TVNRadioButton>(2).Checked());
  EXPECT_EQ(At<TVNListBox>(4).Value(), "a");
  EXPECT_EQ(At<TVNComboBox>(5).Value(), "y");
}

TEST_F(BindingTest, NamePassesReachOnlyControlsBoundToTheName) {
  Vars().SetVariable("%Name%", "Ann");
  Build({Def(KindTextBox, RoleNone, "%Name%"), Def(KindTextBox, RoleNone, "%Opt%", {"x"}),
         Def(KindLabel, RoleNone, "", {"Hello %Name%"}), Def(KindLabel, RoleFreeSpace, "")});
  auto& bound = At<TVNEdit>(0);
  auto& other = At<TVNEdit>(1);
  auto& label = At<TVNLabel>(2);
  std::string freeText = At<TVNLabel>(3).Caption();
  other.SetCaption("typed");
  Vars().SetVariable("%name%", "Bob");
  EXPECT_EQ(bound.Caption(), "Bob");
  EXPECT_EQ(other.Caption(), "typed");
  EXPECT_EQ(label.Caption(), "Hello Bob");
  EXPECT_EQ(At<TVNLabel>(3).Caption(), freeText);
}
