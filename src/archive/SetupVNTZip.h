// The archive reader: restores the members of an archive, inside the package or spread over
// volume files, into files, with events for naming, progress, volumes and errors.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "archive/ArchiveFileSystem.h"
#include "archive/ArchiveFormat.h"
#include "archive/ArchiveProgress.h"
#include "archive/OutputBlock.h"
#include "package/PackageStream.h"

namespace vnt {

class TSetupVNTZip {
public:
  explicit TSetupVNTZip(TArchiveFileSystem& files) : Files(files) {}
  TSetupVNTZip(const TSetupVNTZip&) = delete;
  TSetupVNTZip& operator=(const TSetupVNTZip&) = delete;

  // Restores the archive that starts at the stream's position. The stream stays the
  // caller's: after a volume switch the reader only stops using it. Answers whether the run
  // ended with ErrorCode 0 and Active set. Damaged data raises EArchiveError, after which
  // ErrorCode is 2 and Active is clear.
  bool RestoreFromStream(TStream& stream, const std::string& destDir);
  // Opens the file with other writers excluded and restores it; a file that cannot be opened
  // raises EArchiveError.
  bool RestoreFromFile(const std::string& fileName, const std::string& destDir);
  bool IsBusy() const { return Busy; }
  // The run stops after the chunk in progress.
  void Cancel() { Active = false; }

  int32_t RestoredCount = 0;
  uint32_t TotalSize = 0;
  uint32_t FileCount = 0;
  // Wider than the 32 bits of the format: skipped chunks count 65,536 each whatever their size.
  int64_t BytesDone = 0;
  uint32_t FilterMode = 0;
  uint32_t ErrorCode = 0;  // 0 none, 1 output not created or written, 2 archive data damaged
  int32_t ProgressBase = 0;
  int32_t ProgressMax = 0;
  int32_t ProgressRange = 0;
  double ProgressScale = 0;

  std::function<void(int32_t id, int32_t percent, bool& cont)> OnProgress;
  std::function<void(uint16_t volume, std::string& fileName, bool& cont)> OnNeedVolume;
  std::function<void(int32_t id, std::string& fileName, int32_t& tag, uint32_t fileDateTime, bool& restore)>
      OnRestoreFile;
  std::function<void(int32_t id, std::string& fileName, TStream& output, int32_t tag)> OnFileRestored;
  std::function<void(int32_t id, std::string& fileName)> OnCannotReplace;
  // A file in use is written beside it and takes its place at the next system start.
  bool ReplaceAtRestart = false;
  std::function<void(int32_t id, const std::string& fileName)> OnReplacedAtRestart;
  std::function<void(int32_t errorCode)> OnError;
  // A member could not be written: its folder, its file or its place, with the system's
  // reason. A folder skips the member; anything else ends the run (ErrorCode 1).
  std::function<void(int32_t id, const std::string& fileName, const std::string& reason)> OnWriteError;
  // A member is whole and in its place: raised once, also for one spread over volumes.
  std::function<void(int32_t id, const std::string& fileName, int32_t tag)> OnFileComplete;
  std::function<void(const std::string& text)> OnComment;
  // Lets the window toolkit process pending messages, at most once per IdleInterval: a
  // message pump per chunk cost more than the chunk on small files.
  std::function<void()> OnIdle;
  std::chrono::milliseconds IdleInterval{50};

  bool Active = false;
  bool Busy = false;
  int32_t CurrentId = 0;
  std::string CurrentFileName;
  int32_t CurrentTag = 0;

private:
  // The member last read, which a volume switch continues.
  struct TLastMember {
    int32_t Id = -1;
    std::string FileName;
    std::string OutputPath;  // where its data goes: the file, or its replacement at restart
    int32_t Tag = 0;
    uint32_t DosDateTime = 0;
    bool Written = false;
    bool Whole = false;   // its data has ended; it is finished when no volume switch follows
    bool Staged = false;  // written under a staging name that is not placed yet
  };

  void Run(const std::string& destDir);
  void ReadHeader();
  void ReadComment();
  void RestoreMember(const std::string& destDir);
  // The output file, emptied; an existing file that cannot be opened is deleted first. Empty
  // when it cannot be replaced (told to OnCannotReplace) or created.
  std::unique_ptr<TArchiveOutput> OpenTarget(bool& cannotReplace);
  std::unique_ptr<TArchiveOutput> OpenReplacement(bool& cannotReplace);
  bool WriteBlock(std::unique_ptr<TArchiveOutput> output, bool newFile);
  void FinishMember();
  bool PlaceMember();
  void DiscardUnfinished();
  void WriteFailed(const std::string& reason);
  // Answers whether the block ran to its end marker.
  bool ReadMemberData(TArchiveOutput* output);
  int64_t ReadChunk(int32_t size, TArchiveOutput* output);
  int64_t InflateChunk(size_t size);
  void SwitchVolume();
  std::string FindVolume(uint32_t volume);
  void ContinueMember();
  void ReportChunk(int64_t count);
  TProgressMapping Mapping() const { return {ProgressBase, ProgressMax, ProgressRange, ProgressScale}; }

  TArchiveFileSystem& Files;
  TStream* Input = nullptr;               // the stream read now: the caller's or OwnedInput
  std::unique_ptr<TStream> OwnedInput;    // a stream the reader opened; closed at the next switch
  TLastMember Last;
  uint32_t LastVolume = 0;
  std::vector<uint8_t> Packed;
  std::unique_ptr<TOutputBlock> Block;  // made for a run, freed with it
  std::chrono::steady_clock::time_point LastIdle{};
};

}  // namespace vnt
