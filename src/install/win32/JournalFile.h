// The install journal on disk: "uninst.jnl" beside the uninstall record, appended entry by
// entry as the run makes and changes things, and a note in the registry under the product's
// Add/Remove Programs key name that says where it is, so that the next setup of the product
// finds a run that never finished.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "install/InstallJournal.h"

namespace vnt {

// The journal of a record: the same folder and name, ending in ".jnl" ("uninst.jnl" beside
// "uninst.dat").
std::string JournalPathOf(const std::string& recordPath);

class TJournalFile {
public:
  TJournalFile() = default;
  ~TJournalFile();
  TJournalFile(const TJournalFile&) = delete;
  TJournalFile& operator=(const TJournalFile&) = delete;

  // Creates the journal anew with its start; false (with the system's error kept) when it
  // cannot be written.
  bool Open(const std::string& path, const TJournalStart& start);
  bool IsOpen() const { return Handle != INVALID_HANDLE_VALUE; }
  // Each entry reaches the system at once, so a killed run loses none; the disk is made to
  // hold them at most every half second and at each Flush, which keeps a run of many small
  // files fast.
  // frame: an entry as JournalFrame makes it.
  bool Append(const std::string& frame);
  // An entry a killed run may lose without harm to its rollback waits, and reaches the system
  // with the next entry in one write (or at Flush).
  void AppendWithNext(const std::string& frame);
  void Flush();
  // Closes and deletes the journal: the run is committed or undone.
  void Drop();
  const std::string& Path() const { return FilePath; }
  DWORD Failure() const { return LastFailure; }

private:
  bool Write(const std::string& bytes);

  HANDLE Handle = INVALID_HANDLE_VALUE;
  std::string FilePath;
  std::string Waiting;
  DWORD LastFailure = 0;
  std::chrono::steady_clock::time_point LastFlush{};
};

// The journal's bytes read back; nothing when there is no readable journal there.
std::optional<TJournal> ReadJournalFile(const std::string& path);

// The note of an unfinished run of a product, under root (the Add/Remove Programs root).
void RememberJournal(HKEY root, const std::string& entryKey, const std::string& journalPath);
void ForgetJournal(HKEY root, const std::string& entryKey);
// The journal of an unfinished run of the product; empty when none is noted.
std::string NotedJournal(HKEY root, const std::string& entryKey);

}  // namespace vnt
