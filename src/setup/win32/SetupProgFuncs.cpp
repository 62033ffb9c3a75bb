#include "setup/win32/SetupProgFuncs.h"

#include <new>
#include <stdexcept>

#include "archive/ArchiveFormat.h"
#include "archive/SetupVNTZip.h"
#include "archive/win32/ArchiveFiles.h"
#include "package/CustomVarFuncs.h"
#include "package/PackagePrimitives.h"
#include "package/SetupQueries.h"
#include "package/SetupSections.h"
#include "package/SetupStrings.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/RegistryText.h"
#include "platform/win32/SystemServices.h"
#include "script/CommandsNotYet.h"
#include "script/ListCommands.h"
#include "script/VariableNames.h"
#include "setup/LoaderFileFilter.h"
#include "setup/SwitchValues.h"
#include "setup/win32/PreviousSetup.h"
#include "setup/win32/RunMessages.h"
#include "setup/win32/SetupLoader.h"
#include "setup/win32/SplashForm.h"
#include "setup/win32/TempSetupFolder.h"

namespace vnt {

namespace {

void ShowMessage(TSetupState& state, const std::string& text, UINT icon) {
  RunMessageBox(state, nullptr, text, MB_OK | icon);
}

// Runs that died (killed, a crash, a power cut) leave their folders behind: those go first,
// so that their numbers are free again.
bool CreateTempSetupDir(TSetupState& state) {
  RemoveLeftoverSetupFolders(state.Info.TempFolder());
  std::string path = MakeTempSetupFolder(state.Info.TempFolder(), state.RunLock);
  if (path.empty()) return false;
  state.TempSetupDir = path;
  state.Builtins.TempSetupDir = path;
  return true;
}

// The early read of the names that expansion needs before the variables exist.
void ReadEarlyProperties(TSetupState& state) {
  TSetupProperties early;
  TSetupDescription& d = state.Description;
  ReadProperties(state.Package, d, &early, nullptr);
  d.Properties.SoftwareName = early.SoftwareName;
  d.Properties.CompanyName = early.CompanyName;
  d.Properties.DefaultInstallDir = early.DefaultInstallDir;
  d.Properties.DefaultProgramGroup = early.DefaultProgramGroup;
  d.Properties.SetupTypeComponents[0] = early.SetupTypeComponents[0];
}

void MakeInterpreter(TSetupState& state) {
  state.Script = std::make_unique<TScriptContext>(*state.Vars);
  state.Interpreter = std::make_unique<TScriptInterpreter>(*state.Script);
  state.ValueCommands.Register(*state.Script);
  RegisterListCommands(*state.Script);
  state.Library.Register(*state.Script);
  state.Desktop = std::make_unique<TDesktopCommands>(*state.Script);
  state.Desktop->Install();
  state.Desktop->LoadPreviousSetup = [&state] { LoadPreviousSetup(state); };
  state.Desktop->BoxHook = [&state](HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return RunMessageBox(state.Switches, state.Log, owner, text, caption, flags);
  };
  if (state.AddDeviceCommands) state.AddDeviceCommands(*state.Script);
  if (state.AddWebCommands) state.AddWebCommands(*state.Script);
  RegisterCommandsNotYetCarriedOut(*state.Script);
  state.Script->OnScriptError = [&state](const std::string& text) { ShowMessage(state, text, MB_ICONERROR); };
}

void ReadVariablesSection(TSetupState& state) {
  ReadVariables(state.Package, state.Description);
  MakeRunState(state);
  state.Vars->SelectedComponents = state.Description.Properties.SetupTypeComponents[0];
  SetCustomVariables(*state.Vars, state.Description.Variables, ReadRegistryText);
}

void ReadPropertiesAndMessages(TSetupState& state) {
  TSetupDescription& d = state.Description;
  ReadProperties(state.Package, d, &d.Properties, &d.Requirements);
  ReadPropertiesPart2(state.Package, d.Properties);
  std::string language = state.Vars->Stored("%Language%");
  ReadMessages(state.Package, d, language);
  if (!d.DefaultLanguageName.empty()) state.Vars->SetVariable("%Language%", d.DefaultLanguageName);
}

// The software the package requires; answers false after telling the user.
bool RequiredSoftwarePresent(TSetupState& state) {
  if (state.Package.Option(OptRequiresAppMgr) && !state.Info.IsAppMgrInstalled()) {
    ShowMessage(state, Message(state, MsgAppMgrMissing), MB_ICONINFORMATION);
    return false;
  }
  if (state.Package.Option(OptRequiresHotSync) && !HotSyncBaseKey()) {
    ShowMessage(state, Message(state, MsgHotSyncMissing), MB_ICONINFORMATION);
    return false;
  }
  return true;
}

void ReadRemainingSections(TSetupState& state) {
  TPackage& pkg = state.Package;
  TSetupDescription& d = state.Description;
  ReadDeviceTable(pkg, d);
  ReadComponents(pkg, d);
  ReadProgressBitmaps(pkg, d);
  ReadScripts(pkg, d);
  ReadDialogs(pkg, d);
  ReadFolders(pkg, d);
  ReadProductFiles(pkg, d);
  ReadShortcuts(pkg, d);
  ReadRegistryChanges(pkg, d);
  if (pkg.Option(OptBackgroundWindow)) ReadBackItems(pkg, d);
}

// The program's own font, for windows of packages that keep their own fonts.
const TFontRecord ProgramFont{"Tahoma", 8, int32_t(0x80000012), 0, 1};

std::unique_ptr<TfrmSetupLoader> MakeLoader(TSetupState& state) {
  if (state.Switches.Unattended()) return nullptr;
  const TSetupDescription& d = state.Description;
  const TFontRecord& font = state.Package.Option(OptOwnFonts) ? ProgramFont : d.Properties.SetupFont;
  auto loader = std::make_unique<TfrmSetupLoader>(
      state.ApplicationTitle, state.Vars->ExpandText(d.Properties.SetupTitle, true),
      state.Vars->ExpandText(Message(state, MsgLoaderText), true), font, !d.Properties.SplashBitmap.empty());
  loader->ShowAndPaint();
  return loader;
}

// A support file the run could not write; the setup cannot go on without it.
class ESupportFileError : public std::runtime_error {
public:
  explicit ESupportFileError(const std::string& name)
      : std::runtime_error("Setup cannot write the file " + name + ". Check that the disk has room and that "
                           "the folder can be written to, then start the setup again.") {}
};

// Restores the support archive: the splash picture alone, or everything else. Damaged data
// raises EArchiveError and a file that could not be written ESupportFileError: the setup
// needs every support file whole.
void RestoreSupportFiles(TSetupState& state, TSupportPass pass) {
  TStream& s = SeekSection(state.Package, SecSupportArchive);
  if (ReadByte(s) != 1) return;
  TWin32ArchiveFileSystem files;
  files.OnFolderMade = [&state](const std::string& folder) { state.CreatedFolders.push_back(folder); };
  TSetupVNTZip zip(files);
  zip.FilterMode = pass;
  zip.OnIdle = ProcessMessages;
  const TSetupDescription& d = state.Description;
  const size_t first = state.RestoredFiles.size();
  TLoaderFileFilter filter(d.SupportFiles, *state.Vars, d.Properties.SplashBitmap, state.RestoredFiles);
  filter.BindTo(zip);
  // The splash pass is over once the picture is written: the rest of the archive is the
  // other pass's.
  bool pictureDone = false;
  if (pass == SupportSplashPass)
    zip.OnFileRestored = [&](int32_t, std::string&, TStream&, int32_t) {
      pictureDone = true;
      zip.Cancel();
    };
  bool completed = zip.RestoreFromStream(s, state.Vars->ExpandText("%InstallDir%"));
  if (completed || (pictureDone && zip.ErrorCode == 0)) {
    // A folder that could not be made skips its file without an error of the reader's: only
    // then are fewer files written than chosen, and only then is each one looked for.
    if (size_t(zip.RestoredCount) == state.RestoredFiles.size() - first) return;
    for (size_t i = first; i < state.RestoredFiles.size(); ++i)
      if (!files.FileExists(state.RestoredFiles[i])) throw ESupportFileError(state.RestoredFiles[i]);
    return;
  }
  if (zip.ErrorCode == 1) throw ESupportFileError(zip.CurrentFileName);
  throw EArchiveError(TArchiveDamage::Truncated, CannotReadArchiveText);
}

// The splash picture for half a second, when the package has one and it was restored.
std::unique_ptr<TfrmSplashBitmapForm> ShowSplash(TSetupState& state) {
  const std::string& name = state.Description.Properties.SplashBitmap;
  if (name.empty() || state.Switches.Unattended()) return nullptr;
  std::string path = state.TempSetupDir + "\\" + name;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
  auto splash = std::make_unique<TfrmSplashBitmapForm>(path);
  if (!splash->Loaded()) return nullptr;
  splash->ShowCentred(state.ApplicationTitle);
  Sleep(500);
  return splash;
}

// What the log tells first: what runs, where, and how it was started.
void LogStartupFacts(TSetupState& state) {
  state.Log.Line("setup: " + state.Package.Path);
  state.Log.Line("system: Windows " + std::to_string(state.Info.OSVersionValue(1)) + "." +
                 std::to_string(state.Info.OSVersionValue(2)) + " build " +
                 std::to_string(state.Info.OSVersionValue(3)) + (state.Info.IsAdministrator() ? ", administrator" : ""));
  state.Log.Line("command line: " + ElidedCommandLine(CommandLineParams(GetCommandLineA())));
}

// The log opens once the product's name is known; lines before it wait in memory.
void OpenLog(TSetupState& state) {
  if (!state.Log.IsEnabled()) return;
  state.Log.Open(state.Switches.LogFile, state.Info.TempFolder(), state.Description.Properties.SoftwareName);
  LogStartupFacts(state);
}

// The command line's names must be the package's: nothing is done with a name it lacks.
bool SwitchValuesFit(TSetupState& state) {
  std::string problem = SwitchValuesProblem(state.Switches, state.Description);
  if (problem.empty()) return true;
  state.Log.Line(problem);
  ReportToAdministrator(state.Switches, problem + "\n\n" + SetupUsageText(FileNamePart(state.Package.Path)),
                        state.ApplicationTitle, true);
  return false;
}

void ApplySwitches(TSetupState& state) {
  for (const std::string& line : ApplySwitchValues(state.Switches, state.Description, *state.Vars))
    state.Log.Line(line);
}

TStartupResult LoadDescription(TSetupState& state) {
  ReadEarlyProperties(state);
  OpenLog(state);
  if (!CreateTempSetupDir(state)) {
    ShowMessage(state, "Setup cannot create its temporary folder in " + state.Info.TempFolder() + ".", MB_ICONERROR);
    return StartupFailed;
  }
  ReadVariablesSection(state);
  ReadPropertiesAndMessages(state);
  const TSetupProperties& p = state.Description.Properties;
  state.Log.Line("product: " + p.CompanyName + " " + p.SoftwareName +
                 (p.DisplayVersion.empty() ? "" : ", version " + p.DisplayVersion));
  if (!RequiredSoftwarePresent(state)) return StartupFailed;
  ReadSupportFiles(state.Package, state.Description);
  state.ApplicationTitle = state.Vars->ExpandText(state.Description.Properties.SetupTitle);
  auto loader = MakeLoader(state);
  if (!state.Description.Properties.SplashBitmap.empty()) RestoreSupportFiles(state, SupportSplashPass);
  auto splash = ShowSplash(state);
  ReadRemainingSections(state);
  if (state.DeviceTableRead) state.DeviceTableRead();
  const TSetupDescription& d = state.Description;
  state.Vars->InitVariables(CollectVariableNames(d.Scripts, d.Dialogs.Dialogs),
                            state.HotSyncUsers ? state.HotSyncUsers() : std::string());
  state.ApplicationTitle = state.Vars->ExpandText(state.Description.Properties.SetupTitle);
  if (!SwitchValuesFit(state)) return StartupFailed;
  if (state.Log.IsOpen()) state.Vars->SetVariable("%SetupLog%", state.Log.Path());
  RestoreSupportFiles(state, SupportRestPass);
  return StartupOk;
}

// The start script; a cancel or finish in it ends the setup. An earlier run of the product
// that never finished is undone first, so that the script finds the machine as it was.
TStartupResult RunStartScript(TSetupState& state) {
  if (state.RecoverInterruptedRun) state.RecoverInterruptedRun();
  ApplySwitches(state);
  state.Log.Line("start script");
  if (!state.Interpreter->RunScript(state.Description.Scripts[StartScript])) {
    state.Log.Line("the start script ended the setup");
    return StartupEndedByScript;
  }
  ApplySwitches(state);
  return StartupOk;
}

}  // namespace

void MakeRunState(TSetupState& state) {
  state.Vars = std::make_unique<TSetupVariables>(state.Description, state.Builtins);
  MakeInterpreter(state);
}

std::string Message(TSetupState& state, int index) {
  std::string language = state.Vars ? state.Vars->ExpandText("%Language%") : std::string();
  std::string text = GetMessage(state.Description, index, language);
  return state.Vars ? state.Vars->ExpandText(text) : text;
}

TStartupResult RunStartup(TSetupState& state) {
  state.ApplicationTitle = DefaultApplicationTitle;
  std::string path = ProgramPath();
  if (!OpenPackage(state.Package, path, TFileStream::OpenRead(path), PackageEndResourceValue())) {
    ShowMessage(state, FatalOpenMessage, MB_ICONERROR);
    return StartupFailed;
  }
  if (!PackageIsValid(state.Package)) {
    ShowMessage(state, FatalCorruptMessage, MB_ICONERROR);
    return StartupFailed;
  }
  try {
    TStartupResult result = LoadDescription(state);
    if (result == StartupOk) result = RunStartScript(state);
    if (result != StartupOk) CleanUp(state);
    return result;
  } catch (const ESupportFileError& e) {
    CleanUp(state);
    ShowMessage(state, e.what(), MB_ICONERROR);
    return StartupFailed;
  } catch (const std::bad_alloc&) {
    throw;  // the program's entry tells of it, as for the wizard
  } catch (const std::exception&) {
    // A damaged section or support archive never becomes data.
    CleanUp(state);
    ShowMessage(state, FatalCorruptMessage, MB_ICONERROR);
    return StartupFailed;
  }
}


void CleanUp(TSetupState& state) {
  state.Description = TSetupDescription{};
  for (const auto& file : state.RestoredFiles) DeleteFileForce(file);
  state.RestoredFiles.clear();
  // Deepest first, and only when empty: a folder that holds anything else is not ours alone.
  for (auto folder = state.CreatedFolders.rbegin(); folder != state.CreatedFolders.rend(); ++folder)
    RemoveDirectoryA(folder->c_str());
  state.CreatedFolders.clear();
  state.RunLock.Release();  // the lock would keep its folder from going
  if (!state.TempSetupDir.empty()) {
    RemoveFolderTree(state.TempSetupDir);  // the run's own folder goes with whatever it holds
    state.TempSetupDir.clear();
  }
}

}  // namespace vnt
