#include "install/win32/JournalledFiles.h"

#include <windows.h>

#include <algorithm>

#include "archive/VolumeNames.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

bool TJournalledFiles::StandsThere(const std::string& path) {
  bool there = Expected.first == path ? Expected.second : FileExists(path);
  Expected.first.clear();
  return there;
}

void TJournalledFiles::NoteWriting(const std::string& path, const std::string& staged, bool existed) {
  TJournalEntry e;
  e.Kind = TJournalKind::Writing;
  e.Path = path;
  e.Other = staged;
  e.Existed = existed;
  Note(e);
}

// A file that replaces another is staged, so the old one stays whole until the new one is.
// A new file the caller expects is written in place: its entry, noted first, says nothing
// stood there, so every rollback deletes it, whole or not; and a rename per file would cost
// a run of many small files more than all its writing.
std::string TJournalledFiles::StagingName(const std::string& path) {
  bool expected = Expected.first == path;
  bool existed = StandsThere(path);
  bool inPlace = expected && !existed;
  std::string staged = inPlace ? path : FreeNameBeside(path);
  NoteWriting(path, inPlace ? "" : staged, existed);
  return staged;
}

// A rename keeps the file whole on its volume; its read-only mark does not stop it.
bool TJournalledFiles::MoveAside(const std::string& path, const std::string& from, std::string& to) {
  TJournalEntry e;
  e.Kind = TJournalKind::MovedAside;
  e.Path = path;
  e.Other = to;
  Note(e);
  return MoveFileExA(from.c_str(), to.c_str(), 0) || Failed();
}

bool TJournalledFiles::RemoveFile(const std::string& path) {
  std::string aside = FreeNameBeside(path);
  if (!MoveAside(path, path, aside)) return false;
  AsideFiles.push_back({path, aside});
  return true;
}

namespace {
bool SameText(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }
}  // namespace

bool TJournalledFiles::PutBack(const std::string& path) {
  auto it = std::find_if(AsideFiles.begin(), AsideFiles.end(), [&](const TAside& a) { return SameText(a.Path, path); });
  if (it == AsideFiles.end() || !MoveFileA(it->Aside.c_str(), path.c_str())) return false;
  AsideFiles.erase(it);
  return true;
}

bool TJournalledFiles::HoldsOnlyAsides(const std::string& folder) const {
  return FolderHoldsOnly(folder, [this](const std::string& path) {
    return std::any_of(AsideFiles.begin(), AsideFiles.end(), [&](const TAside& a) { return SameText(a.Aside, path); });
  });
}

void TJournalledFiles::MoveAsidesOutOf(const std::string& folder) {
  for (TAside& a : AsideFiles) {
    if (!SameText(FolderPart(a.Aside), folder + "\\")) continue;
    // Noted as a move of the aside itself: a rollback brings it back down once the folder is
    // there again, and from there to its own place.
    std::string up = FreeNameBeside(folder);
    if (MoveAside(a.Aside, a.Aside, up)) a.Aside = up;
  }
}

bool TJournalledFiles::PrepareInPlace(const std::string& path) {
  bool existed = StandsThere(path);
  NoteWriting(path, "", existed);
  return !existed || RemoveFile(path);
}

}  // namespace vnt
