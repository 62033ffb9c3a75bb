#include "install/InstallJournal.h"

#include <zlib.h>

#include <cstring>

#include "package/PackagePrimitives.h"

namespace vnt {

namespace {

constexpr char Magic[4] = {'v', 'J', 'N', 'L'};
constexpr uint8_t StartKind = 0;
// No entry comes near this; a larger length is damage, not an entry to wait for.
constexpr uint32_t MaxFrame = 1u << 24;

uint32_t Checksum(const std::string& bytes) {
  return uint32_t(crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size())));
}

std::string Framed(const std::string& payload) {
  TMemoryStream s;
  WriteU32(s, uint32_t(payload.size()));
  s.Write(payload.data(), payload.size());
  WriteU32(s, Checksum(payload));
  return std::move(s.Bytes());
}

void WriteEntry(TStream& s, const TJournalEntry& e) {
  WriteByte(s, uint8_t(e.Kind));
  switch (e.Kind) {
    case TJournalKind::Made: WriteUninstItem(s, e.Item); break;
    case TJournalKind::Writing:
    case TJournalKind::MovedAside:
      WritePackageString(s, e.Path);
      WritePackageString(s, e.Other);
      WriteByte(s, e.Existed);
      break;
    case TJournalKind::OldValue:
      WriteByte(s, e.Root);
      WritePackageString(s, e.Key);
      WritePackageString(s, e.Name);
      WriteByte(s, e.Existed);
      WriteU32(s, e.Type);
      WriteU32(s, uint32_t(e.Data.size()));
      s.Write(e.Data.data(), e.Data.size());
      break;
    case TJournalKind::Registered:
    case TJournalKind::FolderRemoved:
    case TJournalKind::SharedCounted: WritePackageString(s, e.Path); break;
    case TJournalKind::Unregistered:
      WriteByte(s, uint8_t(e.Op));
      WriteUninstItem(s, e.Item);
      break;
  }
}

TJournalEntry ReadEntry(TStream& s) {
  TJournalEntry e;
  uint8_t kind = ReadByte(s);
  if (kind < uint8_t(TJournalKind::Made) || kind > uint8_t(TJournalKind::SharedCounted))
    throw EPackageError("unknown journal entry");
  e.Kind = TJournalKind(kind);
  switch (e.Kind) {
    case TJournalKind::Made: e.Item = ReadUninstItem(s); break;
    case TJournalKind::Writing:
    case TJournalKind::MovedAside:
      e.Path = ReadPackageString(s);
      e.Other = ReadPackageString(s);
      e.Existed = ReadByte(s) != 0;
      break;
    case TJournalKind::OldValue: {
      e.Root = ReadByte(s);
      e.Key = ReadPackageString(s);
      e.Name = ReadPackageString(s);
      e.Existed = ReadByte(s) != 0;
      e.Type = ReadU32(s);
      uint32_t size = ReadCount(s, 1);
      e.Data.resize(size);
      s.ReadExact(e.Data.data(), size);
      break;
    }
    case TJournalKind::Registered:
    case TJournalKind::FolderRemoved:
    case TJournalKind::SharedCounted: e.Path = ReadPackageString(s); break;
    case TJournalKind::Unregistered: {
      uint8_t op = ReadByte(s);
      if (op > uint8_t(TRegistration::Font)) throw EPackageError("unknown registration");
      e.Op = TRegistration(op);
      e.Item = ReadUninstItem(s);
      break;
    }
  }
  return e;
}

// The payload of the frame at the stream's position; nothing when the frame is not whole.
std::optional<std::string> NextPayload(TMemoryStream& s) {
  if (s.Remaining() < 4) return std::nullopt;
  uint32_t length = ReadU32(s);
  if (length > MaxFrame || s.Remaining() < uint64_t(length) + 4) return std::nullopt;
  std::string payload(length, '\0');
  s.ReadExact(payload.data(), length);
  if (ReadU32(s) != Checksum(payload)) return std::nullopt;
  return payload;
}

// A frame whose checksum holds but whose contents do not read is damage too: it ends the
// journal like a cut, so nothing after it is trusted.
void ReadEntries(TMemoryStream& s, std::vector<TJournalEntry>& entries) {
  while (std::optional<std::string> payload = NextPayload(s)) {
    TMemoryStream p(std::move(*payload));
    try {
      entries.push_back(ReadEntry(p));
    } catch (const EPackageError&) {
      break;
    }
  }
}

}  // namespace

std::string JournalOpening(const TJournalStart& start) {
  TMemoryStream s;
  WriteByte(s, StartKind);
  WritePackageString(s, start.EntryKey);
  WritePackageString(s, start.RecordPath);
  WriteByte(s, start.Maintenance);
  return std::string(Magic, sizeof Magic) + Framed(s.Bytes());
}

std::string JournalFrame(const TJournalEntry& entry) {
  TMemoryStream s;
  WriteEntry(s, entry);
  return Framed(s.Bytes());
}

std::optional<TJournal> ReadJournal(const std::string& bytes) {
  if (bytes.size() < sizeof Magic || std::memcmp(bytes.data(), Magic, sizeof Magic) != 0) return std::nullopt;
  TMemoryStream s(bytes);
  s.Seek(sizeof Magic);
  TJournal journal;
  try {
    std::optional<std::string> start = NextPayload(s);
    if (!start) return std::nullopt;
    TMemoryStream p(*start);
    if (ReadByte(p) != StartKind) return std::nullopt;
    journal.Start.EntryKey = ReadPackageString(p);
    journal.Start.RecordPath = ReadPackageString(p);
    journal.Start.Maintenance = ReadByte(p) != 0;
  } catch (const EPackageError&) {
    return std::nullopt;
  }
  ReadEntries(s, journal.Entries);
  return journal;
}

std::vector<TJournalEntry> ReadJournalFrames(const std::string& frames) {
  TMemoryStream s(frames);
  std::vector<TJournalEntry> entries;
  ReadEntries(s, entries);
  return entries;
}

TJournalEntry MadeEntry(const TUninstItem& item) {
  TJournalEntry e;
  e.Kind = TJournalKind::Made;
  e.Item = item;
  return e;
}

}  // namespace vnt
