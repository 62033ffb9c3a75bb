// The uninstaller: started by the Add/Remove Programs entry with the path of a product's
// uninstall record and the entry's name, it asks once and then removes the whole product.
//   vntuninst.exe <uninst.dat> [<entry name>]
// Exit codes: 0 removed, 1 no usable record (or the usage shown), 2 the user kept the
// product, 4 items were left (the record and the entry stay for another run), 3010 items in
// use go when Windows restarts. A setup of the product that never finished is undone first
// (its journal beside the record).
#include <windows.h>

#include "app/DeviceSide.h"
#include "install/InstallTexts.h"
#include "install/RecordRules.h"
#include "install/win32/EarlierInstallation.h"
#include "install/win32/InterruptedRun.h"
#include "install/win32/JournalFile.h"
#include "install/win32/ProductRemoval.h"
#include "package/Builtins.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"
#include "script/win32/DesktopCommands.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FileQuestions.h"

namespace {

using namespace vnt;

constexpr char Title[] = "Vantry Uninstaller";
constexpr char UsageText[] =
    "Removes a product that a Vantry setup installed.\n\n"
    "vntuninst.exe <uninstall record> [<product>]\n\n"
    "<uninstall record>\tthe product's record (uninst.dat), as its Add/Remove Programs entry names it\n"
    "<product>\tthe entry's name: the company, a blank and the software name";
enum { ExitRemoved = 0, ExitNoRecord = 1, ExitKept = 2, ExitItemsLeft = 4, ExitRestartNeeded = 3010 };

void Tell(const std::string& text, UINT icon = MB_ICONERROR) { MessageBoxA(nullptr, text.c_str(), Title, MB_OK | icon); }

// The record with the bytes it was read from, after its entry has vouched for it.
std::optional<TUninstallRecord> LoadRecord(const std::string& path, const std::string& entryName,
                                           TProductEntry& entry) {
  TUninstallRecord record;
  std::string problem, bytes;
  TRecordLoad load = LoadUninstallRecord(path, record, problem, &bytes);
  if (load == TRecordLoad::Missing) Tell("There is no uninstall record at \"" + path + "\".");
  if (load == TRecordLoad::Unusable) Tell(problem);
  if (load != TRecordLoad::Loaded) return std::nullopt;
  entry = ProductEntryOf(HKEY_LOCAL_MACHINE, TDesktopSources().UninstallKey,
                         entryName.empty() ? RecordProductName(record) : entryName);
  problem = RecordTrustProblem(entry, path, record, bytes);
  if (problem.empty()) return record;
  Tell(problem);
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
std::optional<int> UndoInterruptedRun(const std::string& path) {
  TSystemInfo info;
  std::optional<TRecoveredRun> run = RollBackJournalAt(JournalPathOf(path), HKEY_LOCAL_MACHINE, info.FontsFolder());
  if (!run) return std::nullopt;
  std::string text = InterruptedRunMessage(run->EntryKey.substr(run->EntryKey.find_last_of('\\') + 1));
  for (const auto& line : run->NotUndone) text += "\n" + line;
  MessageBoxA(nullptr, text.c_str(), Title, MB_OK | (run->NotUndone.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
  if (FileExists(path)) return std::nullopt;
  return run->NotUndone.empty() ? ExitRemoved : ExitItemsLeft;
}

int Uninstall(const std::string& path, const std::string& entryName) {
  if (std::optional<int> undone = UndoInterruptedRun(path)) return *undone;
  TProductEntry entry;
  std::optional<TUninstallRecord> record = LoadRecord(path, entryName, entry);
  if (!record) return ExitNoRecord;
  TDeviceSide device;  // lent to the state, so made before it
  TSetupState state;
  AttachDeviceSide(state, device);
  RunStateFromRecord(state, *record);
  std::string question = state.Vars->ExpandText(record->Messages[UtQuestion]);
  if (MessageBoxA(nullptr, question.c_str(), state.ApplicationTitle.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return ExitKept;
  if (!ScriptLetsGoOn(state, BeforeUninstallScript)) return ExitKept;
  std::unique_ptr<TfrmCopyingFiles> progress =
      RemovalProgressWindow(record->SetupFont, state.ApplicationTitle, Message(state, MsgCancel),
                            state.Vars->ExpandText(record->Messages[UtUninstalling], true));
  HWND owner = progress ? progress->Handle() : nullptr;
  TProductRemovalPrompts prompts;
  prompts.Ask = [&](const std::string& text, const std::string& file) {
    return AskRemoveFile(state, owner, text, file);
  };
  prompts.Progress = [&](size_t done, size_t total) {
    if (progress) {
      progress->Progress(ProgressMaximum, "", int32_t(total));
      progress->Progress(ProgressPosition, "", int32_t(done));
    }
    ProcessMessages();
    return true;
  };
  TProductRemoval result = RemoveProduct(*record, path, entry, *state.Vars, Message(state, MsgConduitLabel), prompts);
  ScriptLetsGoOn(state, AfterUninstallScript);
  if (progress) progress->Hide();
  progress.reset();
  bool whole = result.Completed && !result.ProductLeft && result.NotRemoved.empty();
  std::string text = state.Vars->ExpandText(record->Messages[result.NotRemoved.empty() ? UtCompleted : UtIncomplete]);
  text += Lines(result.NotRemoved);
  if (!result.Scheduled.empty()) text += "\n\n" + std::string(ScheduledText) + Lines(result.Scheduled);
  MessageBoxA(nullptr, text.c_str(), state.ApplicationTitle.c_str(), MB_OK | (whole ? MB_ICONINFORMATION : MB_ICONWARNING));
  if (!whole) return ExitItemsLeft;
  return result.Scheduled.empty() ? ExitRemoved : ExitRestartNeeded;
}

bool AsksForUsage(const std::string& word) { return word == "/?" || word == "-?" || word == "/help" || word == "--help"; }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  vnt::RestrictLibrarySearch();
  try {
    TComSession com;
    std::vector<std::string> words = CommandLineParams(GetCommandLineA());
    if (words.empty() || AsksForUsage(words[0])) {
      Tell(UsageText, MB_ICONINFORMATION);
      return words.empty() ? ExitNoRecord : ExitRemoved;
    }
    return Uninstall(words[0], words.size() > 1 ? words[1] : "");
  } catch (const std::bad_alloc&) {
    MessageBoxA(nullptr, OutOfMemoryMessage, Title, MB_OK | MB_ICONERROR);
    return ExitNoRecord;
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), Title, MB_OK | MB_ICONERROR);
    return ExitNoRecord;
  }
}
