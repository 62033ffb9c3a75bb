#include "install/win32/RecordFiles.h"

#include "install/InstallTexts.h"
#include "package/Builtins.h"
#include "package/SetupStrings.h"
#include "package/SystemRules.h"
#include "platform/win32/Digest.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return length && length < sizeof buffer ? std::string(buffer, length) : path;
}

bool SamePath(const std::string& a, const std::string& b) { return SameTextIgnoringCase(FullPath(a), FullPath(b)); }

std::string Told(const char* text, const TProductEntry& entry, const std::string& path) {
  return ReplacePlaceholder(ReplacePlaceholder(text, "<product>", entry.Name), "<file>", path);
}

}  // namespace

TProductEntry ProductEntryOf(HKEY root, const std::string& uninstallKey, const std::string& product) {
  return {root, WithFolderBackslash(uninstallKey) + product, product};
}

std::optional<std::string> RecordOwnerAt(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
  std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  try {
    return RecordProductName(ReadUninstallRecord(*bytes));
  } catch (const EUninstallRecord&) {
    return std::nullopt;
  }
}

std::string RecordTrustProblem(const TProductEntry& entry, const std::string& path, const TUninstallRecord& record,
                               const std::string& bytes) {
  if (!SameTextIgnoringCase(RecordProductName(record), entry.Name))
    return ReplacePlaceholder(Told(RecordNotOwnText, entry, path), "<other>", RecordProductName(record));
  TRegKeyHandle key = OpenKey(entry.Root, entry.Key, KEY_QUERY_VALUE);
  std::optional<std::string> command = key ? TSystemInfo::RegReadString(key.Get(), "UninstallString") : std::nullopt;
  std::vector<std::string> words = command ? CommandLineParams(*command) : std::vector<std::string>();
  if (words.empty() || !SamePath(words[0], path)) return Told(RecordNotNamedText, entry, path);
  std::optional<std::string> kept = TSystemInfo::RegReadString(key.Get(), RecordDigestValue);
  if (!kept) return "";
  std::optional<std::string> digest = Sha256Hex(bytes);
  if (!digest || !SameTextIgnoringCase(*digest, *kept)) return Told(RecordChangedText, entry, path);
  return "";
}

bool StoreRecordDigest(const TProductEntry& entry, const std::string& bytes) {
  std::optional<std::string> digest = Sha256Hex(bytes);
  TRegKeyHandle key = OpenKey(entry.Root, entry.Key, KEY_SET_VALUE);
  if (!digest || !key) return false;
  return RegSetValueExA(key.Get(), RecordDigestValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(digest->c_str()),
                        DWORD(digest->size() + 1)) == ERROR_SUCCESS;
}

TOtherProducts OtherProductsBeside(const std::string& recordPath, const std::string& product) {
  TOtherProducts others;
  std::string folder = WithFolderBackslash(FolderOfFile(recordPath));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "uninst*.dat").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return others;
  do {
    std::string path = folder + found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || SamePath(path, recordPath)) continue;
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) continue;
    try {
      TUninstallRecord record = ReadUninstallRecord(*bytes);
      if (!SameTextIgnoringCase(RecordProductName(record), product)) others.Add(record.Items);
    } catch (const EUninstallRecord&) {
      // Not a record: it names nothing.
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return others;
}

bool ReplaceRecordFile(const std::string& path, const std::string& bytes) {
  std::string staged = path + ".new";
  HANDLE file = CreateFileA(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool whole = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size() &&
               FlushFileBuffers(file);
  CloseHandle(file);
  if (whole && MoveFileExA(staged.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileA(staged.c_str());
  return false;
}

}  // namespace vnt
