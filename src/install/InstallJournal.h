// The install journal: what a run changes, written down as it changes it, so that a run that
// is cancelled, fails or is killed can be undone. Made items keep the uninstall record's own
// item encoding; the other entries say what stood there before.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "install/UninstallData.h"

namespace vnt {

enum class TJournalKind : uint8_t {
  Made = 1,           // an item the run made, as the uninstall record keeps it
  Writing = 2,        // a file about to be written: Path, its staged name (Other), whether it Existed
  MovedAside = 3,     // an existing file moved out of the way: Path, where it went (Other)
  OldValue = 4,       // a registry value about to change: Root, Key, Name, Existed, Type, Data
  Registered = 5,     // a made file's registrations are done (shared count, server, type library, font)
  Unregistered = 6,   // an earlier file lost a registration (Op) to the removal of a component
  FolderRemoved = 7,  // an earlier folder removed with a component
  SharedCounted = 8,  // a made file's shared count is about to go up (a product counts a file once)
};

// Which registration an Unregistered entry took away.
enum class TRegistration : uint8_t { SharedCount = 0, TypeLibrary = 1, Server = 2, Font = 3 };

struct TJournalEntry {
  TJournalKind Kind = TJournalKind::Made;
  TUninstItem Item;   // Made; Unregistered (path and file record)
  std::string Path;   // Writing, MovedAside, Registered, FolderRemoved, SharedCounted
  std::string Other;  // Writing: the staged name, empty when written in place; MovedAside: the new place
  bool Existed = false;
  TRegistration Op = TRegistration::SharedCount;
  uint8_t Root = 0;
  std::string Key, Name;
  uint32_t Type = 0;  // the registry value type
  std::string Data;   // the value's bytes
  bool operator==(const TJournalEntry&) const = default;
};

// What the journal is about: whose run, and which record it writes.
struct TJournalStart {
  std::string EntryKey;    // the product's Add/Remove Programs key name
  std::string RecordPath;  // the uninstall record the run writes or maintains
  bool Maintenance = false;
  bool operator==(const TJournalStart&) const = default;
};

struct TJournal {
  TJournalStart Start;
  std::vector<TJournalEntry> Entries;
};

// The journal's first bytes: the magic and the start.
std::string JournalOpening(const TJournalStart& start);
// One entry as it is appended: its length, its bytes and their CRC-32, so that a journal cut
// anywhere, by a killed run or a lost write, reads back exactly the entries before the cut.
std::string JournalFrame(const TJournalEntry& entry);
// The start and the whole entries; nothing when not even the start is whole.
std::optional<TJournal> ReadJournal(const std::string& bytes);
// The whole entries of frames appended one after another (JournalFrame), up to the first that
// is cut or damaged.
std::vector<TJournalEntry> ReadJournalFrames(const std::string& frames);

// Made entry of an item.
TJournalEntry MadeEntry(const TUninstItem& item);

}  // namespace vnt
