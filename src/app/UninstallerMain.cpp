#include "app/UninstallerMain.h"

#include <windows.h>

#include "app/DeviceSide.h"
#include "net/win32/WebCommands.h"
#include "app/UninstallerCleanup.h"
#include "install/InstallTexts.h"
#include "install/RecordRules.h"
#include "install/win32/EarlierInstallation.h"
#include "install/win32/InterruptedRun.h"
#include "install/win32/JournalFile.h"
#include "install/win32/ProductRemoval.h"
#include "package/Builtins.h"
#include "package/SetupStrings.h"
#include "platform/ProgressGate.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"
#include "setup/SetupSwitches.h"
#include "setup/win32/RunMessages.h"
#include "script/win32/DesktopCommands.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FileQuestions.h"

namespace vnt {

namespace {

constexpr char Title[] = "Vantry Uninstaller";
enum { ExitRemoved = 0, ExitNoRecord = 1, ExitKept = 2, ExitItemsLeft = 4, ExitRestartNeeded = 3010 };

// Every message goes through the run's switches (shown, or only logged) and into its log.
int Tell(TSetupState& state, const std::string& text, UINT flags = MB_OK | MB_ICONERROR) {
  return RunMessageBox(state.Switches, state.Log, nullptr, text, state.ApplicationTitle, flags);
}

// The record with the bytes it was read from, after its entry has vouched for it.
std::optional<TUninstallRecord> LoadRecord(TSetupState& state, const std::string& path, const std::string& entryName,
                                           TProductEntry& entry) {
  TUninstallRecord record;
  std::string problem, bytes;
  TRecordLoad load = LoadUninstallRecord(path, record, problem, &bytes);
  if (load == TRecordLoad::Missing) Tell(state, "There is no uninstall record at \"" + path + "\".");
  if (load == TRecordLoad::Unusable) Tell(state, problem);
  if (load != TRecordLoad::Loaded) return std::nullopt;
  entry = ProductEntryOf(HKEY_LOCAL_MACHINE, TDesktopSources().UninstallKey,
                         entryName.empty() ? RecordProductName(record) : entryName);
  problem = RecordTrustProblem(entry, path, record, bytes);
  if (problem.empty()) return record;
  Tell(state, problem);
  return std::nullopt;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += "\n" + line;
  return text;
}

bool ScriptLetsGoOn(TSetupState& state, int script) {
  bool completed = state.Interpreter->RunScript(state.Description.Scripts[script]);
  return completed || state.Vars->ExpandText("%CanClose%") == "0";
}

// A setup of the product that never finished is undone first; when it had not yet written
// its record, that was all there was to remove.
std::optional<int> UndoInterruptedRun(TSetupState& state, const std::string& path) {
  TSystemInfo info;
  std::optional<TRecoveredRun> run = RollBackJournalAt(JournalPathOf(path), HKEY_LOCAL_MACHINE, info.FontsFolder());
  if (!run) return std::nullopt;
  std::string text = InterruptedRunMessage(run->EntryKey.substr(run->EntryKey.find_last_of('\\') + 1));
  for (const auto& line : run->NotUndone) text += "\n" + line;
  Tell(state, text, MB_OK | (run->NotUndone.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
  if (FileExists(path)) return std::nullopt;
  return run->NotUndone.empty() ? ExitRemoved : ExitItemsLeft;
}

// What became of each item, for the log.
void LogOutcome(TSetupState& state, const std::vector<TUninstItem>& items, const TProductRemoval& result) {
  auto listed = [](const std::vector<std::string>& list, const std::string& path) {
    for (const auto& entry : list)
      if (SameTextIgnoringCase(entry, path) || SameTextIgnoringCase(entry, path + "\\")) return true;
    return false;
  };
  for (const TUninstItem& item : items) {
    std::string what = std::string(UninstKindName(item.Kind)) + " " + item.Path;
    if (listed(result.NotRemoved, item.Path)) state.Log.Line("not removed: " + what);
    else if (listed(result.Scheduled, item.Path)) state.Log.Line("removed when Windows restarts: " + what);
    else if (listed(result.Kept, item.Path)) state.Log.Line("kept: " + what);
    else if (result.Completed) state.Log.Line("removed: " + what);
  }
}

// The uninstaller is the last thing of the last product that used it: it goes once it has
// ended, or when Windows next starts.
void DeleteUninstallerLater(TSetupState& state, const std::string& program) {
  if (DeleteWhenEnded(program, state.Info.TempFolder())) {
    state.Log.Line("removed when the uninstaller has ended: " + program);
  } else if (MoveFileExA(program.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    state.Log.Line("removed when Windows restarts: " + program);
  } else {
    state.Log.Line("not removed: " + program);
  }
}

// The question, the scripts, the removal with its progress, the closing message.
int RemoveWithProgress(TSetupState& state, TUninstallRecord& record, const std::string& path,
                       const TProductEntry& entry) {
  std::string question = state.Vars->ExpandText(record.Messages[UtQuestion]);
  if (Tell(state, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return ExitKept;
  if (!ScriptLetsGoOn(state, BeforeUninstallScript)) return ExitKept;
  std::unique_ptr<TfrmCopyingFiles> progress;
  if (state.Switches.Quietness != TQuietness::VerySilent)
    progress = RemovalProgressWindow(record.SetupFont, state.ApplicationTitle, Message(state, MsgCancel),
                                     state.Vars->ExpandText(record.Messages[UtUninstalling], true));
  HWND owner = progress ? progress->Handle() : nullptr;
  TProductRemovalPrompts prompts;
  prompts.Ask = [&](const std::string& text, const std::string& file) {
    if (!state.Switches.Unattended()) return AskRemoveFile(state, owner, text, file);
    state.Log.Line("kept, as nobody is there to ask: " + file);
    return TReplaceAnswer::No;
  };
  // At human speed: a few times a second, and the end always.
  TProgressGate gate;
  size_t shown = SIZE_MAX;
  prompts.Progress = [&](size_t done, size_t total) {
    if (!gate.Due(GetTickCount(), done != shown, done == total)) return true;
    shown = done;
    if (progress) {
      progress->Progress(ProgressMaximum, "", int32_t(total));
      progress->Progress(ProgressPosition, "", int32_t(done));
    }
    ProcessMessages();
    return true;
  };
  prompts.RunningUninstaller = ProgramPath();
  const std::vector<TUninstItem> items = record.Items;
  TProductRemoval result = RemoveProduct(record, path, entry, *state.Vars, Message(state, MsgConduitLabel), prompts);
  LogOutcome(state, items, result);
  if (!result.UninstallerToDelete.empty()) DeleteUninstallerLater(state, result.UninstallerToDelete);
  ScriptLetsGoOn(state, AfterUninstallScript);
  if (progress) progress->Hide();
  progress.reset();
  bool whole = result.Completed && !result.ProductLeft && result.NotRemoved.empty();
  std::string text = state.Vars->ExpandText(record.Messages[result.NotRemoved.empty() ? UtCompleted : UtIncomplete]);
  text += Lines(result.NotRemoved);
  if (!result.Scheduled.empty()) text += "\n\n" + std::string(ScheduledText) + Lines(result.Scheduled);
  Tell(state, text, MB_OK | (whole ? MB_ICONINFORMATION : MB_ICONWARNING));
  if (!whole) return ExitItemsLeft;
  return result.Scheduled.empty() ? ExitRemoved : ExitRestartNeeded;
}

int Uninstall(TSetupState& state, const std::string& path, const std::string& entryName) {
  state.Log.Line("uninstall record: " + path);
  if (std::optional<int> undone = UndoInterruptedRun(state, path)) return *undone;
  TProductEntry entry;
  std::optional<TUninstallRecord> record = LoadRecord(state, path, entryName, entry);
  if (!record) return ExitNoRecord;
  state.Log.Open(state.Switches.LogFile, state.Info.TempFolder(), RecordProductName(*record), "Uninstall");
  state.Log.Line("product: " + RecordProductName(*record) + ", " + std::to_string(record->Items.size()) + " items");
  RunStateFromRecord(state, *record);
  return RemoveWithProgress(state, *record, path, entry);
}

int RunUninstaller(TSetupState& state, const TSwitchReading& reading) {
  const TSetupSwitches& s = reading.Switches;
  std::string problem = reading.Problem.empty() && s.Words.size() > 2 ? "Too many words." : reading.Problem;
  if (!problem.empty()) {
    ReportToAdministrator(s, problem + "\n\n" + UninstallerUsageText(), Title, true);
    return ExitNoRecord;
  }
  if (s.Usage || s.Words.empty()) {
    ReportToAdministrator(s, UninstallerUsageText(), Title, false);
    return s.Usage ? ExitRemoved : ExitNoRecord;
  }
  state.Switches = s;
  if (s.Log || s.Unattended()) state.Log.Enable();
  state.Log.Line("command line: " + ElidedCommandLine(CommandLineParams(GetCommandLineA())));
  int result = Uninstall(state, s.Words[0], s.Words.size() > 1 ? s.Words[1] : "");
  if (state.Log.IsEnabled() && !state.Log.IsOpen()) state.Log.Open(s.LogFile, state.Info.TempFolder(), "", "Uninstall");
  state.Log.Line("result: exit code " + std::to_string(result));
  return result;
}

}  // namespace

int RunUninstallerProgram() {
  try {
    TSwitchReading reading = ReadSetupSwitches(CommandLineParams(GetCommandLineA()), TSwitchOwner::Uninstaller);
    if (reading.Switches.DeleteAfter && reading.Problem.empty()) return RunDeleteAfter(*reading.Switches.DeleteAfter);
    TComSession com;
    TDeviceSide device;  // lent to the state, so made before it
    TSetupState state;
    state.ApplicationTitle = Title;
    AttachDeviceSide(state, device);
    AttachWebCommands(state);
    return RunUninstaller(state, reading);
  } catch (const std::bad_alloc&) {
    MessageBoxA(nullptr, OutOfMemoryMessage, Title, MB_OK | MB_ICONERROR);
    return ExitNoRecord;
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), Title, MB_OK | MB_ICONERROR);
    return ExitNoRecord;
  }
}

}  // namespace vnt
