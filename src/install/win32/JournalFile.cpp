#include "install/win32/JournalFile.h"

#include "archive/VolumeNames.h"
#include "install/InstallRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

constexpr char NotesKey[] = "Software\\Vantry\\Unfinished Setups";
constexpr auto FlushInterval = std::chrono::milliseconds(500);

}  // namespace

std::string JournalPathOf(const std::string& recordPath) {
  std::string name = recordPath.substr(FolderPart(recordPath).size());
  size_t dot = name.find_last_of('.');
  return FolderPart(recordPath) + (dot == std::string::npos ? name : name.substr(0, dot)) + ".jnl";
}

TJournalFile::~TJournalFile() {
  if (IsOpen()) CloseHandle(Handle);
}

bool TJournalFile::Open(const std::string& path, const TJournalStart& start) {
  FilePath = path;
  // Shared for reading only: nothing else may change the journal while the run lives.
  Handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (!IsOpen()) {
    LastFailure = GetLastError();
    return false;
  }
  if (Write(JournalOpening(start))) {
    Flush();
    return true;
  }
  Drop();
  return false;
}

bool TJournalFile::Write(const std::string& bytes) {
  DWORD written = 0;
  if (!WriteFile(Handle, bytes.data(), DWORD(bytes.size()), &written, nullptr)) LastFailure = GetLastError();
  else if (written != bytes.size()) LastFailure = ERROR_DISK_FULL;
  else return true;
  return false;
}

bool TJournalFile::Append(const std::string& frame) {
  if (!IsOpen()) return false;
  std::string bytes = std::move(Waiting);
  Waiting.clear();
  if (!Write(bytes += frame)) return false;
  if (std::chrono::steady_clock::now() - LastFlush >= FlushInterval) Flush();
  return true;
}

void TJournalFile::AppendWithNext(const std::string& frame) {
  if (IsOpen()) Waiting += frame;
}

void TJournalFile::Flush() {
  if (!IsOpen()) return;
  if (!Waiting.empty()) {
    Write(Waiting);
    Waiting.clear();
  }
  FlushFileBuffers(Handle);
  LastFlush = std::chrono::steady_clock::now();
}

void TJournalFile::Drop() {
  if (IsOpen()) CloseHandle(Handle);
  Handle = INVALID_HANDLE_VALUE;
  Waiting.clear();
  if (!FilePath.empty()) DeleteFileForce(FilePath);
}

std::optional<TJournal> ReadJournalFile(const std::string& path) {
  std::optional<std::string> bytes = ReadFileBytes(path);
  return bytes ? ReadJournal(*bytes) : std::nullopt;
}

void RememberJournal(HKEY root, const std::string& entryKey, const std::string& journalPath) {
  TRegKeyHandle key = OpenKey(root, NotesKey, KEY_SET_VALUE, true);
  if (key)
    RegSetValueExA(key.Get(), entryKey.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(journalPath.c_str()),
                   DWORD(journalPath.size() + 1));
}

void ForgetJournal(HKEY root, const std::string& entryKey) {
  {
    TRegKeyHandle key = OpenKey(root, NotesKey, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (!key) return;
    RegDeleteValueA(key.Get(), entryKey.c_str());
  }
  // The notes key and ours above it go when nothing else is noted.
  for (const std::string& path : KeyAndParents(NotesKey))
    if (path == "Software" || !DeleteKeyIfEmpty(root, path)) return;
}

std::string NotedJournal(HKEY root, const std::string& entryKey) {
  TRegKeyHandle key = OpenKey(root, NotesKey, KEY_QUERY_VALUE);
  if (!key) return "";
  return TSystemInfo::RegReadString(key.Get(), entryKey).value_or("");
}

}  // namespace vnt
