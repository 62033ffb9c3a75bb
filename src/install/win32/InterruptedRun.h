// Runs that never finished (the setup was killed, the power went): their journal is found
// and the run rolled back, by the next setup of the product or by its uninstaller.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vnt {

struct TRecoveredRun {
  std::string EntryKey;               // the product's Add/Remove Programs key
  std::vector<std::string> NotUndone;  // what could not be put back
};

// Rolls back the journal at path unless a live run still holds it; nothing when there is no
// journal, or it is in use. The journal and its note under root go afterwards.
std::optional<TRecoveredRun> RollBackJournalAt(const std::string& path, HKEY root, const std::string& fontsFolder);
// The same for the journal noted for the product's Add/Remove Programs key.
std::optional<TRecoveredRun> RollBackNotedJournal(HKEY root, const std::string& entryKey,
                                                  const std::string& fontsFolder);
// The interrupted-run message for a product (the last part of its entry key when no name is
// given).
std::string InterruptedRunMessage(const std::string& product);

}  // namespace vnt
