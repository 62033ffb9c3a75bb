#include "archive/SetupVNTZip.h"

#include <cstring>

#include "archive/ChunkCodec.h"
#include "archive/VolumeNames.h"
#include "package/PackagePrimitives.h"

namespace vnt {

namespace {

// Writes of 256 KB: a few per file instead of one per chunk, and the block still fits the
// processor's cache while it is filled and written. A writer thread was measured and did not
// pay: the waits at every file's end cost more than the overlap gained.
constexpr size_t OutputBlockSize = 256 * 1024;

[[noreturn]] void Damage(TArchiveDamage kind) {
  throw EArchiveError(kind, kind == TArchiveDamage::Magic ? InvalidMemberText : CannotReadArchiveText);
}

void ReadBytes(TStream& s, void* buffer, size_t count) {
  if (count > 0) s.ReadExact(buffer, count);
}

}  // namespace

bool TSetupVNTZip::RestoreFromFile(const std::string& fileName, const std::string& destDir) {
  if (Busy) throw std::logic_error("an archive restore is already running");
  ErrorCode = 0;
  std::unique_ptr<TStream> file = Files.OpenVolume(fileName);
  if (!file) {
    ErrorCode = 2;
    Active = false;
    Damage(TArchiveDamage::Volume);
  }
  OwnedInput = std::move(file);
  return RestoreFromStream(*OwnedInput, destDir);
}

bool TSetupVNTZip::RestoreFromStream(TStream& stream, const std::string& destDir) {
  if (Busy) throw std::logic_error("an archive restore is already running");
  ErrorCode = 0;
  RestoredCount = 0;
  BytesDone = 0;
  Active = true;
  Busy = true;
  Input = &stream;
  LastVolume = 0;
  Last = {};
  // However the run ends, it is no longer busy and every stream the reader opened is closed
  // once; the caller's stream is left alone.
  struct TEndOfRun {
    TSetupVNTZip& Zip;
    ~TEndOfRun() {
      Zip.Block.reset();
      Zip.DiscardUnfinished();
      Zip.Busy = false;
      Zip.Input = nullptr;
      Zip.OwnedInput.reset();
      std::vector<uint8_t>().swap(Zip.Packed);
    }
  } endOfRun{*this};
  Block = std::make_unique<TOutputBlock>(OutputBlockSize);
  try {
    Run(destDir);
  } catch (const EArchiveError&) {
    ErrorCode = 2;
    Active = false;
    throw;
  } catch (const EPackageError&) {
    ErrorCode = 2;
    Active = false;
    Damage(TArchiveDamage::Truncated);
  }
  return ErrorCode == 0 && Active;
}

void TSetupVNTZip::Run(const std::string& destDir) {
  ReadHeader();
  CurrentId = 0;
  while (CurrentId != TagEnd && Active) {
    CurrentId = ReadI32(*Input);
    // Only a volume switch continues the member before.
    if (CurrentId != TagVolumeSwitch) FinishMember();
    if (CurrentId == TagEnd || !Active) break;
    if (CurrentId == TagComment) ReadComment();
    else if (CurrentId == TagVolumeSwitch) SwitchVolume();
    else if (CurrentId >= 0) RestoreMember(destDir);
    else Damage(TArchiveDamage::Tag);
  }
  if (OnProgress) OnProgress(TagEnd, FinalProgress(Mapping()), Active);
}

void TSetupVNTZip::ReadHeader() {
  try {
    uint32_t length = ReadU32(*Input);
    if (length > Input->Remaining()) Damage(TArchiveDamage::Header);
    Input->Seek(Input->Position() + length);  // the text is not checked
    TotalSize = ReadU32(*Input);
    FileCount = ReadU32(*Input);
  } catch (const EPackageError&) {
    Damage(TArchiveDamage::Header);
  }
  BytesDone = 0;
}

void TSetupVNTZip::ReadComment() {
  uint32_t length = ReadU32(*Input);
  if (length > Input->Remaining()) Damage(TArchiveDamage::Comment);
  std::string text(length, '\0');
  ReadBytes(*Input, text.data(), length);
  if (OnComment) OnComment(text);
}

void TSetupVNTZip::RestoreMember(const std::string& destDir) {
  uint32_t dosDateTime = ReadU32(*Input);
  CurrentFileName = destDir;
  CurrentTag = 0;
  bool restore = true;
  if (OnRestoreFile) OnRestoreFile(CurrentId, CurrentFileName, CurrentTag, dosDateTime, restore);
  Last = {CurrentId, CurrentFileName, CurrentFileName, CurrentTag, dosDateTime};
  if (restore) {
    std::string folder = FolderPart(CurrentFileName);
    restore = folder.empty() || Files.MakeFolders(folder);
    // The member is skipped and the run goes on; the caller hears why.
    if (!restore && OnWriteError) OnWriteError(CurrentId, CurrentFileName, Files.FailureText());
  }
  std::unique_ptr<TArchiveOutput> output;
  if (restore) {
    std::string staged = Files.StagingName(CurrentFileName);
    if (staged != CurrentFileName) {
      Last.OutputPath = staged;
      Last.Staged = true;
      output = Files.CreateOutput(staged);
    } else {
      bool cannotReplace = false;
      output = OpenTarget(cannotReplace);
      if (cannotReplace) {
        if (OnCannotReplace) OnCannotReplace(CurrentId, CurrentFileName);
        restore = false;
      }
    }
  }
  if (!restore) {
    ReadMemberData(nullptr);
    return;
  }
  Last.Written = WriteBlock(std::move(output), true);
}

// Created straight away: asking first whether the file exists costs a look-up per file, and
// most targets are new. An existing file is removed first, or cannot be replaced.
std::unique_ptr<TArchiveOutput> TSetupVNTZip::OpenTarget(bool& cannotReplace) {
  std::unique_ptr<TArchiveOutput> output = Files.CreateOutput(CurrentFileName);
  if (output || !Files.FileExists(CurrentFileName)) return output;
  if (Files.RemoveFile(CurrentFileName)) return Files.CreateOutput(CurrentFileName);
  return OpenReplacement(cannotReplace);
}

std::unique_ptr<TArchiveOutput> TSetupVNTZip::OpenReplacement(bool& cannotReplace) {
  std::unique_ptr<TArchiveOutput> output =
      ReplaceAtRestart ? Files.CreateReplacement(CurrentFileName, Last.OutputPath) : nullptr;
  cannotReplace = !output;
  if (output && OnReplacedAtRestart) OnReplacedAtRestart(CurrentId, CurrentFileName);
  return output;
}

bool TSetupVNTZip::WriteBlock(std::unique_ptr<TArchiveOutput> output, bool newFile) {
  try {
    if (!output) {
      std::string reason = Files.FailureText();
      throw EOutputError(reason.empty() ? "cannot create the output file" : reason);
    }
    if (newFile) output->Seek(0);
    Block->Begin(*output);
    try {
      Last.Whole = ReadMemberData(output.get());
    } catch (...) {
      Block->FinishBroken();
      throw;
    }
    // Also after a cancel or a chunk that did not inflate: what came before is kept.
    Block->Finish();
  } catch (const EOutputError& e) {
    // No event tells of a file that failed; a staged one goes.
    output.reset();
    ErrorCode = 1;
    WriteFailed(e.what());
    return false;
  }
  if (newFile) ++RestoredCount;
  // Also after a cancel or a chunk that did not inflate: the partial file is kept and dated
  // (a staged one is discarded when the run ends unfinished).
  if (OnFileRestored) OnFileRestored(Last.Id, Last.FileName, *output, Last.Tag);
  output->SetDosDateTime(Last.DosDateTime);
  return true;
}

void TSetupVNTZip::WriteFailed(const std::string& reason) {
  Active = false;
  DiscardUnfinished();
  if (OnWriteError) OnWriteError(Last.Id, Last.FileName, reason);
}

void TSetupVNTZip::FinishMember() {
  if (!Last.Written || !Last.Whole) return;
  Last.Written = Last.Whole = false;
  if (Last.Staged && !PlaceMember()) return;
  if (OnFileComplete) OnFileComplete(Last.Id, Last.FileName, Last.Tag);
}

// The whole staged file takes the member's place. A file there is removed first; one that
// cannot be is replaced at the next start when allowed, else reported and kept. A file
// system stages where a file stands, so that one is looked for first.
bool TSetupVNTZip::PlaceMember() {
  std::string path = Last.FileName;
  const std::string& staged = Last.OutputPath;
  Last.Staged = false;
  if (Files.FileExists(path) && !Files.RemoveFile(path)) {
    if (ReplaceAtRestart && Files.PlaceStagedAtRestart(staged, path)) {
      if (OnReplacedAtRestart) OnReplacedAtRestart(Last.Id, path);
      return true;
    }
    Files.DiscardStaged(staged);
    if (OnCannotReplace) OnCannotReplace(Last.Id, path);
    return false;
  }
  if (Files.PlaceStaged(staged, path)) return true;
  std::string reason = Files.FailureText();
  ErrorCode = 1;
  Last.Staged = true;
  WriteFailed(reason);
  return false;
}

void TSetupVNTZip::DiscardUnfinished() {
  if (!Last.Staged) return;
  Last.Staged = false;
  Files.DiscardStaged(Last.OutputPath);
}

bool TSetupVNTZip::ReadMemberData(TArchiveOutput* output) {
  char magic[sizeof MemberMagic];
  ReadBytes(*Input, magic, sizeof magic);
  if (std::memcmp(magic, MemberMagic, sizeof magic) != 0) Damage(TArchiveDamage::Magic);
  int32_t size = 0;
  do {
    size = ReadI32(*Input);
    ReportChunk(size == ChunkEndMarker ? 0 : ReadChunk(size, output));
  } while (size != ChunkEndMarker && Active);
  return size == ChunkEndMarker;
}

int64_t TSetupVNTZip::ReadChunk(int32_t size, TArchiveOutput* output) {
  if (!ChunkSizeIsSound(size, Input->Remaining())) Damage(TArchiveDamage::ChunkSize);
  size_t bytes = size_t(size > 0 ? int64_t(size) : -int64_t(size));
  if (!output) {
    // Skipping never inflates, so the real size is unknown and a full chunk is counted.
    Input->Seek(Input->Position() + bytes);
    return int64_t(ChunkSize);
  }
  if (size > 0) return InflateChunk(bytes);
  // Stored bytes go straight into the output's block.
  ReadBytes(*Input, Block->Room(bytes).data(), bytes);
  Block->Filled(bytes);
  return int64_t(bytes);
}

int64_t TSetupVNTZip::InflateChunk(size_t size) {
  Packed.resize(size);
  ReadBytes(*Input, Packed.data(), size);
  std::optional<size_t> produced = DecodeChunk(Packed, Block->Room(ChunkSize).first(ChunkSize));
  if (!produced) {
    ErrorCode = 2;
    Active = false;
    if (OnError) OnError(2);
    return 0;
  }
  Block->Filled(*produced);
  return int64_t(*produced);
}

void TSetupVNTZip::ReportChunk(int64_t count) {
  auto now = std::chrono::steady_clock::now();
  if (OnIdle && now - LastIdle >= IdleInterval) {
    LastIdle = now;
    OnIdle();
  }
  BytesDone += count;
  if (OnProgress) OnProgress(CurrentId, MapProgress(Mapping(), ProgressPercent(BytesDone, TotalSize)), Active);
}

void TSetupVNTZip::SwitchVolume() {
  uint32_t volume = ReadU32(*Input);
  // Volumes only go forward; a switch back could send the reader round in circles.
  if (volume <= LastVolume) Damage(TArchiveDamage::Volume);
  LastVolume = volume;
  // Leave the current volume first: the next one may be on a disk that replaces it.
  Input = nullptr;
  OwnedInput.reset();
  std::string name = FindVolume(volume);
  if (!Active) return;
  OwnedInput = Files.OpenVolume(name);
  if (!OwnedInput) Damage(TArchiveDamage::Volume);
  Input = OwnedInput.get();
  Input->Seek(0);
  ContinueMember();
}

std::string TSetupVNTZip::FindVolume(uint32_t volume) {
  // Without the event nobody can say where the volume is, and asking again would never end.
  if (!OnNeedVolume) Damage(TArchiveDamage::Volume);
  std::string extension = "." + VolumeExtension(volume), name;
  do {
    OnNeedVolume(uint16_t(volume), name, Active);
    name = ChangeFileExtension(name, extension);
  } while (Active && !Files.FileExists(name));
  return name;
}

void TSetupVNTZip::ContinueMember() {
  if (!Last.Written) {
    ReadMemberData(nullptr);
    return;
  }
  Last.Written = WriteBlock(Files.AppendOutput(Last.OutputPath), false);
}

}  // namespace vnt
