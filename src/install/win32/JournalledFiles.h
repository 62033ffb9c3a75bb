// The installation's file system: a file that replaces another (and the record) is staged
// beside its place, a new file of the archive written in place, and every change to the disk
// is noted in the journal before it is made. A file that stands in the way is moved
// aside, not deleted, so that a rollback can put it back and a commit deletes it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "archive/win32/ArchiveFiles.h"
#include "install/InstallJournal.h"

namespace vnt {

class TJournalledFiles : public TWin32ArchiveFileSystem {
public:
  // note writes an entry down; the file system goes on whatever it answers (the run decides).
  explicit TJournalledFiles(std::function<void(const TJournalEntry&)> note) : Note(std::move(note)) {
    Staging = true;
  }

  std::string StagingName(const std::string& path) override;
  // Whether the file about to be written stands there already, as the caller just found: it
  // saves a look-up per file, and a file expected new is written in place, not staged.
  void Expect(const std::string& path, bool exists) { Expected = {path, exists}; }
  bool RemoveFile(const std::string& path) override;
  // Only a file that came after the look-up and cannot be moved aside gets here; a
  // replacement at the next start would be written where the journal cannot see it.
  std::unique_ptr<TArchiveOutput> CreateReplacement(const std::string&, std::string&) override { return nullptr; }
  // Before a file is written in place (a shortcut, the record): noted, and a file standing
  // there moved aside. False when that file cannot be moved.
  bool PrepareInPlace(const std::string& path);
  // A file moved aside: where it stood and where it is now.
  struct TAside {
    std::string Path, Aside;
  };
  // Files moved aside so far; the commit deletes them.
  const std::vector<TAside>& Asides() const { return AsideFiles; }
  // The file this run moved aside from path goes back there (path itself must be gone): it is
  // no longer the commit's to delete. False when there was none or it cannot move.
  bool PutBack(const std::string& path);
  // Whether the folder holds nothing but files this run moved aside (or nothing at all).
  bool HoldsOnlyAsides(const std::string& folder) const;
  // Before a folder goes: the files moved aside into it move up beside it, noted first, so a
  // rollback makes the folder again before it puts them back.
  void MoveAsidesOutOf(const std::string& folder);

private:
  // Whether a file stands at path: as the caller said, else looked up.
  bool StandsThere(const std::string& path);
  void NoteWriting(const std::string& path, const std::string& staged, bool existed);
  bool MoveAside(const std::string& path, const std::string& from, std::string& to);

  std::function<void(const TJournalEntry&)> Note;
  std::vector<TAside> AsideFiles;
  std::pair<std::string, bool> Expected;
};

}  // namespace vnt
