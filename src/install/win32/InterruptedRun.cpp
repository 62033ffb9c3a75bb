#include "install/win32/InterruptedRun.h"

#include "install/InstallTexts.h"
#include "install/Rollback.h"
#include "install/win32/JournalFile.h"
#include "install/win32/RollbackSystem.h"
#include "package/SetupStrings.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

// The journal's bytes, when no live run holds it: the owner keeps it open without sharing
// writes, so an open for writing fails while it lives.
std::optional<std::string> ReadUnheldJournal(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(h);
  return bytes;
}

}  // namespace

std::optional<TRecoveredRun> RollBackJournalAt(const std::string& path, HKEY root, const std::string& fontsFolder) {
  std::optional<std::string> bytes = path.empty() ? std::nullopt : ReadUnheldJournal(path);
  if (!bytes) return std::nullopt;
  std::optional<TJournal> journal = ReadJournal(*bytes);
  TRecoveredRun run;
  if (journal) run.EntryKey = journal->Start.EntryKey;
  auto drop = [&] {
    DeleteFileForce(path);
    if (!run.EntryKey.empty()) ForgetJournal(root, run.EntryKey);
  };
  // A journal cut before its start holds nothing the run made.
  if (!journal) {
    drop();
    return std::nullopt;
  }
  run.NotUndone = RollBack(*journal, MachineRollbackSystem(fontsFolder, nullptr, drop));
  return run;
}

std::optional<TRecoveredRun> RollBackNotedJournal(HKEY root, const std::string& entryKey,
                                                  const std::string& fontsFolder) {
  std::string path = NotedJournal(root, entryKey);
  if (path.empty()) return std::nullopt;
  if (!FileExists(path)) {
    ForgetJournal(root, entryKey);  // the run's folder went some other way: nothing to undo
    return std::nullopt;
  }
  return RollBackJournalAt(path, root, fontsFolder);
}

std::string InterruptedRunMessage(const std::string& product) {
  return ReplacePlaceholder(InterruptedRunText, "<product>", product);
}

}  // namespace vnt
