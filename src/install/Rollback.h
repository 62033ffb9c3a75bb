// Undoing a run from its journal: what it made goes with the removal code that uninstalls,
// what it replaced or took away comes back. The machine is reached through callbacks, so the
// order is decided here and tested without one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/InstallJournal.h"
#include "install/RemoveItems.h"

namespace vnt {

struct TRollbackSystem {
  // The machine as the removal code sees it; its questions are not asked (the run's own
  // things go), and its registration steps are taken only for files whose registration the
  // journal holds.
  TRemovalSystem Removal;
  // Deletes a file if it is there.
  std::function<void(const std::string& path)> DeleteIfThere;
  // Puts a file moved aside back in its place, over whatever stands there now.
  std::function<void(const std::string& aside, const std::string& path)> MoveBack;
  // Writes an old value back, or deletes the value (and the keys it leaves empty) when it was
  // not there before.
  std::function<void(const TJournalEntry& oldValue)> RestoreValue;
  // Registers a file again: one registration, or (for a replaced file) its server and type
  // library as the file now in place has them.
  std::function<void(TRegistration op, const TUninstItem& item)> Register;
  std::function<void(const std::string& folder)> MakeFolder;
  // The journal is done with: it goes before the folders, since it lies in one of them.
  std::function<void()> DropJournal;
};

// Undoes the run, in this order: staged files and new files not yet recorded are deleted;
// the made items go through the removal (without folders, files that replaced another and
// values that were there before); then, last first, files moved aside come back, old values
// are written back, registrations taken away are made again and removed folders made again;
// replaced files are registered again; the journal is dropped; last the folders the run made
// are removed when empty, last first. Answers what could not be removed.
std::vector<std::string> RollBack(const TJournal& journal, const TRollbackSystem& system);

}  // namespace vnt
