#include "install/win32/VantryInstall.h"

#include <map>

#include "install/InstallRules.h"
#include "archive/VolumeNames.h"
#include "install/InstallTexts.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {
// The %ErrorCode% the error script sees when the install drive cannot be read.
constexpr int ErrorCodeDriveUnreadable = 8;
}

TVantryInstall::TVantryInstall(TSetupState& state, TInstallPrompts prompts, TUninstallRecord* earlier)
    : State(state), Prompts(std::move(prompts)), Earlier(earlier) {
  Files.OnFolderMade = [this](const std::string& folder) { Record(UninstFolder, folder); };
  ConnectDeviceSide();
}

TVantryInstall::~TVantryInstall() {
  if (Prompts.ShowPicture && BitmapIndex >= 0) Prompts.ShowPicture("");
}

TInstallOutcome TVantryInstall::Run() {
  using TPhase = void (TVantryInstall::*)();
  // The road of an installation, in its order. Every phase returns at once once the run is
  // aborted; what it made by then is rolled back below.
  static constexpr std::pair<const char*, TPhase> Road[] = {
      {"free space", &TVantryInstall::CheckFreeSpace},
      {"before-install script", &TVantryInstall::RunBeforeInstallScript},
      {"earlier record", &TVantryInstall::FindEarlierRecord},  // where the record and the journal go
      {"copy", &TVantryInstall::CopyFiles},  // the journal opens with the install folder
      {"first disk back", &TVantryInstall::WaitForFirstDisk},
      {"shortcuts", &TVantryInstall::CreateShortcuts},
      {"registry", &TVantryInstall::WriteRegistry},
      {"components no longer chosen", &TVantryInstall::RemoveDeselectedComponents},
      {"uninstall record", &TVantryInstall::WriteRecordAndEntry},
      {"Application Manager", &TVantryInstall::HandOverToAppMgr},
      {"device-only clean-up", &TVantryInstall::RemoveDesktopCopies},
  };
  try {
    for (const auto& [name, phase] : Road) {
      if (IsAborted) break;
      Log(std::string("phase: ") + name);
      (this->*phase)();
    }
  } catch (...) {
    GiveBackAfterFailure();
    throw;
  }
  if (ScriptStopped) return TInstallOutcome::Stopped;
  TInstallOutcome outcome = TInstallOutcome::Installed;
  if (IsAborted) {
    RollBackRun();
    outcome = HasFailed ? TInstallOutcome::Failed : TInstallOutcome::Cancelled;
  } else {
    Commit();
  }
  ShowLastProgress();
  return outcome;
}

// Out of memory or a fault in a window: what the run made so far is undone before the failure
// goes on to the program entry. Should the rollback itself fail, the journal stays behind and
// the next run undoes it.
void TVantryInstall::GiveBackAfterFailure() noexcept {
  IsAborted = true;
  try {
    Zip.Cancel();
    RollBackRun();
  } catch (...) {
  }
}

void TVantryInstall::Abort() {
  IsAborted = true;
  Zip.Cancel();
}

void TVantryInstall::Fail(const std::string& text) {
  if (!HasFailed) Show(TBoxKind::Error, text);
  HasFailed = true;
  Abort();
}

// Room on every drive that receives files for its share (the uninstaller goes to the Windows
// folder's drive). The install drive is asked even when no file goes there: the record and
// the journal do. Network paths have no drive to ask.
void TVantryInstall::CheckFreeSpace() {
  std::map<char, uint64_t> need = TSetupQueries(State.Description, Vars()).BytesByDrive();
  if (char install = DriveOfPath(Vars().ExpandText("%InstallDir%"))) need.try_emplace(install, 0);
  std::map<char, uint64_t> free;
  for (const auto& [letter, bytes] : need) {
    if (std::optional<uint64_t> room = TSystemInfo::DiskFreeBytes(std::string(1, letter)))
      free[letter] = *room;
    else if (!GoOnWithUnreadableDrive(letter))
      return;
  }
  if (std::optional<char> full = DriveWithoutRoom(need, free))
    Fail(ReplacePlaceholder(Message(State, MsgNoRoom), "<drive>", std::string(1, *full)));
}

// The error protocol: the error script may let the run go on, and the drive then counts as
// having nothing free.
bool TVantryInstall::GoOnWithUnreadableDrive(char letter) {
  Show(TBoxKind::Error, ReplacePlaceholder(Message(State, MsgDriveUnreadable), "<drive>", std::string(1, letter)));
  Vars().SetVariable("%CanClose%", "1");
  Vars().SetVariable("%IsFinishingSetup%", "0");
  Vars().SetVariable("%ErrorCode%", std::to_string(ErrorCodeDriveUnreadable));
  State.Interpreter->RunScript(State.Description.Scripts[ErrorScript]);
  if (Vars().ExpandText("%CanClose%") == "0") return true;
  HasFailed = true;
  Abort();
  return false;
}

// The progress shows from here on; a script that stops early, with %CanClose% not "0", ends
// the run before anything is made.
void TVantryInstall::RunBeforeInstallScript() {
  if (Prompts.ShowProgress) Prompts.ShowProgress();
  Pump();
  ShowProgressBitmap(0);
  bool completed = State.Interpreter->RunScript(State.Description.Scripts[BeforeInstallScript]);
  if (!completed && Vars().ExpandText("%CanClose%") != "0") {
    ScriptStopped = true;
    IsAborted = true;
  }
}

// The medium with the setup was taken out during the copy: it must come back for the rest.
// Cancelling the prompt asks to close; the question comes again unless the run ended.
void TVantryInstall::WaitForFirstDisk() {
  while (!IsAborted && !FileExists(State.Package.Path)) {
    if (Prompts.AskForVolume && Prompts.AskForVolume(1, FolderPart(State.Package.Path))) return;
    if (!Prompts.RequestCancel) return Abort();
    Prompts.RequestCancel();
  }
}

void TVantryInstall::RemoveDeselectedComponents() {
  if (Maintenance()) RemoveComponents(100);
}

void TVantryInstall::WriteRecordAndEntry() {
  if (WritesRecord()) WriteUninstallData();
}

// The Application Manager's windows must be in front: the progress picture goes, and the
// wizard and the copying window make way while it runs.
void TVantryInstall::HandOverToAppMgr() {
  if (Prompts.ShowPicture && BitmapIndex >= 0) Prompts.ShowPicture("");
  BitmapIndex = -1;
  std::string command = AppMgrCommand();
  if (command.empty()) return;
  if (Prompts.MakeWayForAppMgr) Prompts.MakeWayForAppMgr();
  RunAppMgr(command);
  if (Prompts.AppMgrDone) Prompts.AppMgrDone();
}

void TVantryInstall::RemoveDesktopCopies() {
  if (State.Package.Option(OptDeviceOnly)) RemoveDeviceCopies();
}

// Progress at human speed. A new step (the main line, the bar's maximum) is told at once,
// with what was held back, and its first change of the lower lines follows at once too. The
// file name and the bar's position, which change per file and per chunk, are told at most a
// few times a second and only when they changed, and the windows then work off their queue:
// a run of many small files is not spent painting. What was held back goes with the next
// update after the interval, before a message, and at the end of the run.
void TVantryInstall::Status(uint8_t kind, const std::string& text, int32_t value) {
  if (!Prompts.Status) return;
  const uint32_t now = GetTickCount();
  if (kind != ProgressDetail && kind != ProgressPosition) {
    TellHeldBack();
    Prompts.Status(kind, text, value);
    ProgressGate.Shown(now);
    ProgressGate.Reopen();
    Pump();
    return;
  }
  bool changed = false;
  if (kind == ProgressDetail) {
    changed = Wanted.Detail != text;
    Wanted.Detail = text;
  } else {
    changed = Wanted.Position != value;
    Wanted.Position = value;
  }
  if (!ProgressGate.Due(now, changed)) return;
  TellHeldBack();
  Pump();
}

void TVantryInstall::TellHeldBack() {
  if (!Prompts.Status) return;
  if (Wanted.Detail && Wanted.Detail != Told.Detail) Prompts.Status(ProgressDetail, *(Told.Detail = Wanted.Detail), 0);
  if (Wanted.Position && Wanted.Position != Told.Position)
    Prompts.Status(ProgressPosition, "", *(Told.Position = Wanted.Position));
}

void TVantryInstall::ShowLastProgress() {
  if (Wanted.Detail == Told.Detail && Wanted.Position == Told.Position) return;
  TellHeldBack();
  ProgressGate.Shown(GetTickCount());
  Pump();
}

void TVantryInstall::Pump() {
  if (Prompts.Pump) Prompts.Pump();
}

void TVantryInstall::Show(TBoxKind kind, const std::string& text) {
  TellHeldBack();
  Log(text);
  if (Prompts.Show) Prompts.Show(kind, text);
}

void TVantryInstall::Log(const std::string& line) {
  if (Prompts.Log) Prompts.Log(line);
}

namespace {

TUninstItem FileItem(uint8_t kind, const std::string& path, const TSetupFile* file) {
  TUninstItem item;
  item.Kind = kind;
  item.Path = path;
  if (file) item.File = *file;
  return item;
}

}  // namespace

void TVantryInstall::Record(uint8_t kind, const std::string& path, const TSetupFile* file) {
  TUninstItem item = FileItem(kind, path, file);
  Note(MadeEntry(item));
  Items.push_back(std::move(item));
  Log(std::string(UninstKindName(kind)) + " " + path);
}

// A rollback deletes a new file and puts back what a replaced one stood for whether or not
// the file is recorded, so its record may reach the journal's file with the next entry: a
// run of many small files then writes the journal once per file.
void TVantryInstall::RecordRestored(uint8_t kind, const std::string& path, const TSetupFile& file) {
  TUninstItem item = FileItem(kind, path, &file);
  NoteWithNext(MadeEntry(item));
  Items.push_back(std::move(item));
  Log(std::string(UninstKindName(kind)) + " " + path);
}

// The uninstaller that stands there already (another product's, as new as ours) is this
// product's too: its record names it and the product counts it, or the other product's
// removal would take it away. It is not noted as made: a rollback leaves it where it stood.
void TVantryInstall::UseKeptUninstaller(const std::string& path, const TSetupFile& file) {
  Items.push_back(FileItem(UninstUninstaller, path, &file));
  Log("uses the uninstaller that stands there " + path);
}

void TVantryInstall::RecordValue(const TSetupRegChange& change) {
  TUninstItem item;
  item.Kind = UninstRegValue;
  item.RegChange = change;
  Note(MadeEntry(item));
  Items.push_back(std::move(item));
  Log("value " + change.Key + "\\" + change.ValueName);
}

void TVantryInstall::ShowProgressBitmap(int percent) {
  const auto& pictures = State.Description.ProgressBitmaps;
  std::optional<int> index = ProgressBitmapIndex(percent, int(pictures.size()));
  if (!index || *index == BitmapIndex) return;
  BitmapIndex = *index;
  std::string path = State.TempSetupDir + "\\" + Vars().ExpandText(pictures[size_t(*index)]);
  if (Prompts.ShowPicture && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) Prompts.ShowPicture(path);
}

}  // namespace vnt
