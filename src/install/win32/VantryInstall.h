// TVantryInstall: carries out the installation on the PC as one road of phases (Run), each a
// function of its own. Every change is journalled on disk before or as it is made, so a run
// that is cancelled, fails or is killed is undone; what it made becomes the uninstall record.
// What the run needs from a person, and the progress it shows, reach it through
// TInstallPrompts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/SetupVNTZip.h"
#include "install/DeviceSteps.h"
#include "install/InstallJournal.h"
#include "install/OverwriteRules.h"
#include "install/RecordRules.h"
#include "install/RemoveItems.h"
#include "install/Rollback.h"
#include "install/UninstallData.h"
#include "install/UninstallEntry.h"
#include "install/win32/FileProtection.h"
#include "install/win32/JournalFile.h"
#include "install/win32/JournalledFiles.h"
#include "package/MessageIds.h"
#include "package/ProgressKinds.h"
#include "platform/ProgressGate.h"
#include "setup/win32/SetupProgFuncs.h"

namespace vnt {

struct THotSyncQueueTarget;

// A replace question about an existing file.
struct TReplaceQuery {
  TReplaceQuestion Question = TReplaceQuestion::Exists;
  std::string Text;        // the message, <file> replaced
  std::string OutputPath;  // the existing file
  uint32_t PackagedSize = 0;
  uint32_t PackagedDosDateTime = 0;
  uint8_t Mode = 0;  // the file's overwrite mode
};

enum class TBoxKind : uint8_t { Error, Warning, Information };
// The message box icon of a kind.
inline UINT BoxIcon(TBoxKind kind) {
  return kind == TBoxKind::Error ? MB_ICONERROR : kind == TBoxKind::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
}

struct TInstallPrompts {
  std::function<TReplaceAnswer(const TReplaceQuery&)> AskReplace;
  // The folder that holds volume n now, or nothing when the user cancels.
  std::function<std::optional<std::string>(uint16_t volume, const std::string& folder)> AskForVolume;
  std::function<void(TBoxKind kind, const std::string& text)> Show;
  // A removal question about a file (shared file, type library, server): Yes, Yes To All,
  // No or No To All.
  std::function<TReplaceAnswer(const std::string& text, const std::string& path)> AskRemove;
  // The user asked to stop; the wizard's close query decides, and may abort the run.
  std::function<void()> RequestCancel;
  // kind is a TProgressKind: the main line, the second line, the bar's position or its maximum.
  std::function<void(uint8_t kind, const std::string& text, int32_t value)> Status;
  // A progress picture to show (its file), or an empty name to take it away.
  std::function<void(const std::string& picture)> ShowPicture;
  // Each step and item of the run, for a log; nothing by default.
  std::function<void(const std::string& line)> Log;
  // Lets the windows process what is waiting.
  std::function<void()> Pump;
  // The run goes ahead: the wizard shows where its progress goes.
  std::function<void()> ShowProgress;
  // The wizard and the copying window make way for the Application Manager's windows.
  std::function<void()> MakeWayForAppMgr;
  // The Application Manager has ended: what made way comes back.
  std::function<void()> AppMgrDone;
  // The run is being undone: nothing may stop that any more.
  std::function<void()> RollingBack;
};

// How a run ended. Stopped: the before-install script ended it before anything was made.
enum class TInstallOutcome { Installed, Stopped, Cancelled, Failed };

class TVantryInstall {
public:
  // earlier: the record of the installation this run maintains; null for a new installation.
  TVantryInstall(TSetupState& state, TInstallPrompts prompts, TUninstallRecord* earlier = nullptr);
  ~TVantryInstall();
  TVantryInstall(const TVantryInstall&) = delete;
  TVantryInstall& operator=(const TVantryInstall&) = delete;

  // The whole installation: the phases in their order, then the commit; a run cancelled or
  // failed is rolled back instead.
  TInstallOutcome Run();

  void ShowProgressBitmap(int percent);
  void CopyFiles();
  void CreateShortcuts();
  void WriteRegistry();
  void RemoveComponents(int range);
  void WriteUninstallData();
  void RemoveDeviceCopies();

  // The run was cancelled or failed: every later phase returns at once.
  bool Aborted() const { return IsAborted; }
  bool Failed() const { return HasFailed; }
  // Marks the run aborted and stops a running restore after its chunk.
  void Abort();
  // A failure the run cannot go on from: told, then the run ends and is rolled back.
  void Fail(const std::string& text);
  bool ArchiveBusy() const { return Zip.IsBusy(); }
  // What the run has made so far, in order.
  const std::vector<TUninstItem>& UninstallItems() const { return Items; }
  const std::string& IconFile() const { return Icon; }
  // The Application Manager's arguments; empty when it has nothing to install.
  std::string AppMgrCommand() const;
  void RunAppMgr(const std::string& command);

  // The device side's steps; those not given are left out.
  TDeviceSteps Device;

  // Files in use that the system replaces when it next starts.
  const std::vector<std::string>& ReplacedAtRestart() const { return Pending; }

private:
  // The road (VantryInstall.cpp).
  void CheckFreeSpace();
  bool GoOnWithUnreadableDrive(char letter);
  void RunBeforeInstallScript();
  void FindEarlierRecord();
  void WaitForFirstDisk();
  void RemoveDeselectedComponents();
  void WriteRecordAndEntry();
  void HandOverToAppMgr();
  void RemoveDesktopCopies();
  // The journal (InstallJournalling.cpp).
  void Note(const TJournalEntry& entry);
  void NoteWithNext(const TJournalEntry& entry);
  void JournalFailed();
  bool OpenJournal();
  void NoteOldValue(HKEY root, uint8_t rootByte, const std::string& key, const std::string& name);
  void NoteRegistered(const std::string& path);
  void Commit();
  void RollBackRun();
  TRollbackSystem LoggedRollback(TRollbackSystem s);
  void GiveBackAfterFailure() noexcept;
  TRemovalSystem JournalledRemoval(TRemovalSystem machine);
  // Copying (InstallCopy.cpp).
  // A failure shows the message and, when fatal, ends the run.
  bool MakeFolder(const std::string& folder, int failMessage = MsgCannotCreateFolders, bool fatal = true);
  void MakeListedFolders(std::vector<std::string> folders, bool forShortcuts);
  void RestoreArchives();
  void RestoreFile(int32_t id, std::string& fileName, int32_t& tag, uint32_t dateTime, bool& restore);
  bool MayReplace(const TSetupInstallerFile& record, const std::string& output, bool exists);
  bool AskAboutFile(TReplaceQuestion question, uint8_t mode, const TSetupInstallerFile& record,
                    const std::string& output);
  void FileRestored(int32_t id, const std::string& fileName, int32_t tag);
  void WriteRunningSetup(int32_t id, const std::string& fileName, TStream& output, int32_t tag);
  void NeedVolume(uint16_t volume, std::string& fileName, bool& go);
  void ReportDamagedArchive();
  void ReportWriteError(const std::string& path, const std::string& reason);
  void BindZip();
  // Registering (InstallRegister.cpp).
  void RegisterFiles();
  void RegisterFile(const TUninstItem& item);
  void CountUninstaller(const std::string& path);
  // Device steps (InstallDevice.cpp).
  void ConnectDeviceSide();
  bool NoteQueueTarget(const THotSyncQueueTarget& target, HKEY root);
  void WriteAppMgrFiles();
  void QueueHotSyncFile(const std::string& path);
  void RegisterConduits();
  // Shortcuts and registry (InstallDesktop.cpp).
  bool MakeProgramGroup();
  void MakeShortcut(const TSetupShortcut& shortcut);
  void WriteValue(TSetupRegChange& change, uint8_t& root, bool& failed);

  // The record (InstallRecord.cpp).
  bool WritesRecord() const;
  void LoadBase(const std::string& path);
  // The items of the earlier record this run adds to; none for a new installation.
  const std::vector<TUninstItem>& EarlierItems() const;
  void NoteSharedCounted(const std::string& path);
  void WriteRecordDigest(const std::string& bytes);
  bool WriteRecordFile(const std::string& path, const std::string& bytes);
  void WriteAddRemoveEntry(const TEntryPlaces& places, bool record);

  void Status(uint8_t kind, const std::string& text, int32_t value = 0);
  // The detail line and the bar's position held back by the gate go out now.
  void TellHeldBack();
  // The last picture, before the display goes.
  void ShowLastProgress();
  void Pump();
  void StatusMessage(int message) { Status(ProgressStatus, Message(State, message)); }
  void Show(TBoxKind kind, const std::string& text);
  void Log(const std::string& line);
  void Record(uint8_t kind, const std::string& path, const TSetupFile* file = nullptr);
  void RecordRestored(uint8_t kind, const std::string& path, const TSetupFile& file);
  void UseKeptUninstaller(const std::string& path, const TSetupFile& file);
  void RecordValue(const TSetupRegChange& change);
  const TSetupInstallerFile* FileRecord(int32_t id);
  TSetupVariables& Vars() { return *State.Vars; }
  bool Maintenance() const { return State.Vars->MaintenanceMode; }

  TSetupState& State;
  TInstallPrompts Prompts;
  TUninstallRecord* Earlier;
  std::string RecordPath;                // where this run's record goes
  std::optional<TUninstallRecord> Base;  // the product's record a run again over it adds to
  TOtherProducts Others;                 // what other products' records beside it name
  // In memory as on disk, the entries' frames: a rollback never depends on the disk having
  // taken the journal, and a run of many files keeps a few hundred bytes a file.
  std::string JournalFrames;
  TJournalFile Journal;
  bool JournalBroken = false;
  std::string JournalKey;  // the product's Add/Remove Programs key: the journal's note
  TJournalledFiles Files{[this](const TJournalEntry& e) { Note(e); }};
  TSetupVNTZip Zip{Files};
  std::vector<TUninstItem> Items;
  std::unordered_map<int32_t, const TSetupInstallerFile*> FilesById;  // the product files, by id
  TReplaceMemory Answers;
  TFileProtection Protection;
  int BitmapIndex = -1;
  // The progress display's changing lines: what the run wants shown, and what it was told.
  struct TProgressLines {
    std::optional<std::string> Detail;
    std::optional<int32_t> Position;
  };
  TProgressLines Wanted, Told;
  TProgressGate ProgressGate;
  bool ShortcutErrorShown = false;
  bool IsAborted = false;
  bool HasFailed = false;
  bool ScriptStopped = false;
  std::string Icon;
  std::vector<std::string> Pending;
  std::string VolumeFolder;  // where the last volume file was found, with backslash
};

}  // namespace vnt
