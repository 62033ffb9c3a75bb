// The copy phase: the install folder and the file folders, the product archives restored
// with each file's overwrite rule, and the items of what was written.
#include <algorithm>
#include <optional>

#include "archive/VolumeNames.h"
#include "install/InstallRules.h"
#include "install/win32/OwnImage.h"
#include "install/win32/VantryInstall.h"
#include "package/SetupQueries.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "package/VarList.h"
#include "platform/win32/ModalLoop.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

constexpr char CorruptArchiveText[] = "Vantry Zip file corrupted.";

int Order(uint64_t existing, uint64_t packaged) { return existing < packaged ? -1 : existing > packaged ? 1 : 0; }

// The existing file's version against the packaged one; no version information is 0.0.
int VersionOrder(const std::string& path, const TSetupInstallerFile& record) {
  std::optional<VS_FIXEDFILEINFO> info = TSystemInfo::GetFileVersion(path);
  uint64_t existing = info ? uint64_t(info->dwFileVersionMS) << 32 | info->dwFileVersionLS : 0;
  return Order(existing, uint64_t(record.VersionHigh) << 32 | record.VersionLow);
}

int DateOrder(const std::string& path, const TSetupInstallerFile& record) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  FILETIME local{};
  WORD date = 0, time = 0;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return -1;
  return Order(uint32_t(date) << 16 | time, record.DateTime);
}

}  // namespace

void TVantryInstall::CopyFiles() {
  StatusMessage(MsgCopying);
  if (!MakeFolder(Vars().ExpandText("%InstallDir%")) || !OpenJournal()) return;
  MakeListedFolders(State.Description.FileFolders, false);
  RestoreArchives();
  if (IsAborted) return;
  WriteAppMgrFiles();
  Status(ProgressStatus, Message(State, MsgRegistering));
  Status(ProgressDetail, "");
  RegisterFiles();
  RegisterConduits();
}

// Makes the folder with its parents; each folder made is recorded (the file system tells),
// parents first. A folder that was there already is not the product's: a removal must not
// take it. A drive root or an empty text needs nothing. A failure ends the run when fatal.
bool TVantryInstall::MakeFolder(const std::string& folder, int failMessage, bool fatal) {
  std::string path = StripFolderBackslash(folder);
  if (path.empty() || IsDriveRootPath(WithFolderBackslash(path))) return true;
  if (Files.MakeFolders(path)) return true;
  std::string text = Message(State, failMessage);
  if (fatal) Fail(text);
  else Show(TBoxKind::Error, text);
  return false;
}

// The folders of a list that a chosen file (or shortcut) goes to, in name order so that
// parents come first.
void TVantryInstall::MakeListedFolders(std::vector<std::string> folders, bool forShortcuts) {
  std::sort(folders.begin(), folders.end(),
            [](const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) < 0; });
  TSetupQueries queries(State.Description, Vars());
  std::vector<bool> unused = forShortcuts ? queries.UnusedShortcutFolders(folders) : queries.UnusedFolders(folders);
  for (size_t i = 0; i < folders.size(); ++i) {
    if (IsAborted) return;
    if (!unused[i] && !MakeFolder(Vars().ExpandText(folders[i]))) return;
  }
}

void TVantryInstall::RestoreArchives() {
  TSetupDescription& d = State.Description;
  std::string dest = WithFolderBackslash(Vars().ExpandText("%InstallDir%"));
  BindZip();
  try {
    if (State.Package.ArchiveOffset < 1) {
      Zip.ProgressBase = 0, Zip.ProgressMax = 100, Zip.ProgressRange = 0, Zip.ProgressScale = 0;
      Zip.RestoreFromFile(ChangeFileExtension(State.Package.Path, ".001"), dest);
      return;
    }
    TStream& package = *State.Package.PackageStream;
    Zip.ProgressScale = d.ProgressScale;
    if (d.ProductArchiveRange > 0) {
      package.Seek(uint64_t(State.Package.ArchiveOffset));
      Zip.ProgressBase = 0, Zip.ProgressRange = int32_t(d.ProductArchiveRange);
      Zip.ProgressMax = d.Components.empty() ? 100 : int32_t(d.Components.front().ProgressStart);
      Zip.RestoreFromStream(package, dest);
    }
    for (size_t i = 0; i < d.Components.size() && !IsAborted; ++i) {
      const TInstallerComponent& c = d.Components[i];
      if (c.ArchiveRange == 0) continue;
      package.Seek(c.ArchivePosition);
      Zip.ProgressBase = int32_t(c.ProgressStart), Zip.ProgressRange = int32_t(c.ArchiveRange);
      Zip.ProgressMax = i + 1 < d.Components.size() ? int32_t(d.Components[i + 1].ProgressStart) : 100;
      Zip.RestoreFromStream(package, dest);
    }
  } catch (const std::exception& e) {
    // A damaged archive: files are missing, so the run cannot stand.
    Log(std::string("archive error: ") + e.what());
    ReportDamagedArchive();
  }
}

void TVantryInstall::ReportDamagedArchive() { Fail(CorruptArchiveText); }

// A file that cannot be written (its folder, the disk, its name or length): the run fails
// with the file and the system's reason.
void TVantryInstall::ReportWriteError(const std::string& path, const std::string& reason) {
  Log("cannot write " + path + ": " + reason);
  std::string text = ReplacePlaceholder(Message(State, MsgCannotReplace), "<file>", path);
  Fail(reason.empty() ? text : text + "\n\n" + reason);
}

void TVantryInstall::BindZip() {
  Zip.OnRestoreFile = [this](int32_t id, std::string& name, int32_t& tag, uint32_t date, bool& restore) {
    RestoreFile(id, name, tag, date, restore);
  };
  Zip.OnFileComplete = [this](int32_t id, const std::string& name, int32_t tag) { FileRestored(id, name, tag); };
  Zip.OnFileRestored = [this](int32_t id, std::string& name, TStream& output, int32_t tag) {
    WriteRunningSetup(id, name, output, tag);
  };
  Zip.OnWriteError = [this](int32_t, const std::string& name, const std::string& reason) {
    ReportWriteError(name, reason);
  };
  Zip.OnCannotReplace = [this](int32_t, std::string& name) {
    Log("cannot replace " + name);
    Show(TBoxKind::Warning, ReplacePlaceholder(Message(State, MsgCannotReplace), "<file>", name));
  };
  Zip.ReplaceAtRestart = true;
  Zip.OnReplacedAtRestart = [this](int32_t, const std::string& name) {
    Log("in use, replaced at the next start: " + name);
    Pending.push_back(name);
  };
  Zip.OnError = [this](int32_t code) {
    if (code == 2) ReportDamagedArchive();
  };
  Zip.OnComment = [this](const std::string& comment) {
    Status(ProgressStatus, comment.empty() ? Message(State, MsgCopying)
                              : ReplacePlaceholder(Message(State, MsgCopyingComponent), "<component>", comment));
  };
  Zip.OnProgress = [this](int32_t, int32_t percent, bool& go) {
    Status(ProgressPosition, "", Maintenance() ? percent / 2 : percent);
    ShowProgressBitmap(percent);
    go = !IsAborted;
  };
  Zip.OnNeedVolume = [this](uint16_t volume, std::string& name, bool& go) { NeedVolume(volume, name, go); };
  Zip.OnIdle = Prompts.Pump;
}

// Looked up once per member: an index by id, made at the first look-up. A repeated id
// keeps its first record.
const TSetupInstallerFile* TVantryInstall::FileRecord(int32_t id) {
  const auto& files = State.Description.ProductFiles;
  if (FilesById.empty())
    for (const auto& f : files) FilesById.emplace(f.Id, &f);
  auto it = FilesById.find(id);
  return it == FilesById.end() ? nullptr : it->second;
}

void TVantryInstall::RestoreFile(int32_t id, std::string& fileName, int32_t& tag, uint32_t, bool& restore) {
  restore = false;
  const TSetupInstallerFile* record = FileRecord(id);
  if (!record || IsAborted) return;
  const TSetupFile& f = record->File;
  std::string folder = WithFolderBackslash(Vars().ExpandText(f.DestFolder));
  std::string name = FileNamePart(f.SourceName);
  TFileTarget target = PackagedFileTarget(f.DestFolder, folder, f.SourceName);
  fileName = target.Path;
  TSetupQueries queries(State.Description, Vars());
  if (!queries.SelectedForInstall(f.Components, f.Condition)) return;
  if (!target.Problem.empty()) {
    ReportWriteError(fileName, target.Problem);
    return;
  }
  // One look-up per file serves the check below and the overwrite rule.
  bool exists = FileExists(fileName);
  if (exists && Protection.Guards(fileName)) {
    Log("kept (protected by the system) " + fileName);
    return;
  }
  if (queries.IsDeviceCabinet(name)) {
    Status(ProgressDetail, Message(State, MsgDeviceFiles));
    tag = UninstDeviceFile;
  } else if (!(SameTextIgnoringCase(name, "VNTUNINST.DAT") && f.Condition == "uninstaller")) {
    Status(ProgressDetail, f.SourceName);
    tag = SameTextIgnoringCase(name, ProductIconName(State.Description.Properties.SoftwareName)) ? UninstPlainFile
                                                                                                   : UninstFile;
  } else {
    fileName = folder + UninstallerProgramName;
    exists = FileExists(fileName);
    Status(ProgressDetail, Message(State, MsgUninstallerFiles));
    tag = UninstUninstaller;
  }
  restore = MayReplace(*record, fileName, exists);
  if (restore) Files.Expect(fileName, exists);
  else if (tag == UninstUninstaller && exists) UseKeptUninstaller(fileName, f);
}

bool TVantryInstall::MayReplace(const TSetupInstallerFile& record, const std::string& output, bool exists) {
  uint8_t mode = record.File.OverwriteMode;
  bool byVersion = mode == OverwriteIfNewerVersion || mode == OverwriteAskByVersion;
  bool byDate = mode == OverwriteIfNewerDate || mode == OverwriteAskByDate;
  TOverwriteDecision d = DecideOverwrite(mode, exists, exists && byVersion ? VersionOrder(output, record) : 0,
                                         exists && byDate ? DateOrder(output, record) : 0);
  switch (d.Step) {
    case TOverwriteStep::Install:
      if (exists) Log("replacing (mode " + std::to_string(mode) + ") " + output);
      return true;
    case TOverwriteStep::Keep:
      Log((exists ? "kept (mode " : "not installed (mode ") + std::to_string(mode) + ") " + output);
      return false;
    case TOverwriteStep::Ask: break;
  }
  return AskAboutFile(d.Question, mode, record, output);
}

bool TVantryInstall::AskAboutFile(TReplaceQuestion question, uint8_t mode, const TSetupInstallerFile& record,
                                  const std::string& output) {
  for (;;) {
    if (std::optional<bool> remembered = RememberedReplace(Answers, question, mode)) return *remembered;
    if (IsAborted || !Prompts.AskReplace) return false;
    TReplaceQuery query;
    query.Question = question;
    query.Text = ReplacePlaceholder(Message(State, int(question)), "<file>", FileNamePart(output));
    query.OutputPath = output;
    query.PackagedSize = record.File.Size;
    query.PackagedDosDateTime = record.DateTime;
    query.Mode = mode;
    TReplaceAnswer answer = Prompts.AskReplace(query);
    Log("replace question about " + output + ": " + ReplaceAnswerName(answer));
    switch (ReplaceAnswerOutcome(Answers, question, mode, answer)) {
      case TAnswerOutcome::Replace: return true;
      case TAnswerOutcome::Keep: return false;
      case TAnswerOutcome::KeepAndWarn: Show(TBoxKind::Information, Message(State, MsgSkipWarning)); return false;
      case TAnswerOutcome::AskAgain: Show(TBoxKind::Error, Message(State, MsgCannotSkip)); break;
      case TAnswerOutcome::CloseWizard:
        if (Prompts.RequestCancel) Prompts.RequestCancel();
        if (IsAborted) return false;
        break;
    }
  }
}

void TVantryInstall::FileRestored(int32_t id, const std::string& fileName, int32_t tag) {
  const TSetupInstallerFile* record = FileRecord(id);
  if (!record) return;
  RecordRestored(uint8_t(tag), fileName, record->File);
  if (SameTextIgnoringCase(FileNamePart(fileName), ProductIconName(State.Description.Properties.SoftwareName)))
    Icon = fileName;
}

// An empty uninstaller member stands for the running setup's own program, which is the
// uninstaller under that name. A copy that cannot be written fails the run like any file.
void TVantryInstall::WriteRunningSetup(int32_t, const std::string& fileName, TStream& output, int32_t tag) {
  if (tag != UninstUninstaller || output.Size() != 0 || IsAborted) return;
  try {
    WriteOwnImage(output);
    Log("the setup's own program written as the uninstaller: " + fileName);
  } catch (const std::exception& e) {
    ReportWriteError(fileName, e.what());
  }
}

// Each volume is looked for where the one before it was found; the first beside the setup.
void TVantryInstall::NeedVolume(uint16_t volume, std::string& fileName, bool& go) {
  if (VolumeFolder.empty()) VolumeFolder = FolderPart(State.Package.Path);
  std::string name = ChangeFileExtension(FileNamePart(State.Package.Path), "." + VolumeExtension(volume));
  if (FileExists(VolumeFolder + name)) {
    fileName = VolumeFolder + name;
    return;
  }
  std::optional<std::string> chosen =
      Prompts.AskForVolume ? Prompts.AskForVolume(volume, VolumeFolder) : std::nullopt;
  if (chosen) {
    VolumeFolder = WithFolderBackslash(*chosen);
    fileName = VolumeFolder + name;
    return;
  }
  if (Prompts.RequestCancel) Prompts.RequestCancel();
  go = !IsAborted;
}

}  // namespace vnt
