// The uninstaller: started by the Add/Remove Programs entry with the path of a product's
// uninstall record, it asks once and then removes the whole product.
//   vntuninst.exe <uninst.dat>
// Exit codes: 0 removed, 1 no usable record, 2 the user kept the product, 4 items were left.
// A setup of the product that never finished is undone first (its journal beside the record).
#include <windows.h>

#include "install/win32/EarlierInstallation.h"
#include "install/win32/InterruptedRun.h"
#include "install/win32/JournalFile.h"
#include "install/win32/ProductRemoval.h"
#include "package/Builtins.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"
#include "setup/win32/SetupProgFuncs.h"
#include "ui/win32/windows/CopyingFiles.h"
#include "ui/win32/windows/FileQuestions.h"

namespace {

using namespace vnt;

constexpr char Title[] = "Vantry Uninstaller";
enum { ExitRemoved = 0, ExitNoRecord = 1, ExitKept = 2, ExitItemsLeft = 4 };

std::string RecordArgument() {
  std::vector<std::string> words = CommandLineParams(GetCommandLineA());
  return words.empty() ? "" : words[0];
}

std::optional<TUninstallRecord> LoadRecord(const std::string& path) {
  TUninstallRecord record;
  std::string problem;
  TRecordLoad load = LoadUninstallRecord(path, record, problem);
  if (load == TRecordLoad::Loaded) return record;
  if (load == TRecordLoad::Unusable) MessageBoxA(nullptr, problem.c_str(), Title, MB_OK | MB_ICONERROR);
  if (load == TRecordLoad::Missing) {
    std::string text = "There is no uninstall record at \"" + path + "\".";
    MessageBoxA(nullptr, text.c_str(), Title, MB_OK | MB_ICONERROR);
  }
  return std::nullopt;
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

int Uninstall(const std::string& path) {
  if (std::optional<int> undone = UndoInterruptedRun(path)) return *undone;
  std::optional<TUninstallRecord> record = LoadRecord(path);
  if (!record) return ExitNoRecord;
  TSetupState state;
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
  TRemovalResult result = RemoveProduct(*record, *state.Vars, Message(state, MsgConduitLabel), prompts);
  ScriptLetsGoOn(state, AfterUninstallScript);
  if (progress) progress->Hide();
  progress.reset();
  std::string text = state.Vars->ExpandText(record->Messages[result.NotRemoved.empty() ? UtCompleted : UtIncomplete]);
  for (const auto& line : result.NotRemoved) text += "\n" + line;
  MessageBoxA(nullptr, text.c_str(), state.ApplicationTitle.c_str(),
              MB_OK | (result.NotRemoved.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
  return result.NotRemoved.empty() && result.Completed ? ExitRemoved : ExitItemsLeft;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    TComSession com;
    return Uninstall(RecordArgument());
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), Title, MB_OK | MB_ICONERROR);
    return ExitNoRecord;
  }
}
