#include "device/win32/HotSync.h"

#include <algorithm>
#include <memory>
#include <variant>

#include "package/SetupQueries.h"
#include "package/SystemRules.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemInfo.h"

namespace vnt {

namespace {

// A users file is a few kilobytes; more than this is not one, and is not read whole.
constexpr size_t MaxUsersFileSize = 1 << 20;

const char* const PilotDesktop = "\\Pilot Desktop";

bool KeyExists(HKEY root, const std::string& path) {
  return bool(OpenKey(root, path, KEY_QUERY_VALUE));
}

std::string ReadText(HKEY root, const std::string& path, const std::string& name) {
  TRegKeyHandle key = OpenKey(root, path, KEY_QUERY_VALUE);
  return key ? TSystemInfo::RegReadString(key.Get(), name).value_or(std::string()) : std::string();
}

std::string ReadFileStart(const std::string& path, size_t limit) {
  std::unique_ptr<TFileStream> file = TFileStream::OpenRead(path);
  if (!file) return {};
  std::string bytes(size_t(std::min<uint64_t>(file->Size(), limit)), '\0');
  bytes.resize(file->Read(bytes.data(), bytes.size()));
  return bytes;
}

// A folder name from the users file must stay below the data folder.
bool IsPlainFolderName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

bool SetNumber(HKEY key, const char* name, uint32_t value) {
  DWORD data = value;
  return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) ==
         ERROR_SUCCESS;
}

bool SetText(HKEY key, const char* name, const std::string& text) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1)) ==
         ERROR_SUCCESS;
}

// The numbers of a list's keys below the Pilot Desktop key, ascending.
std::vector<int> ConduitKeyNumbers(HKEY pilotDesktop, bool integrated) {
  std::vector<int> numbers;
  char name[256];
  for (DWORD k = 0;; ++k) {
    DWORD size = sizeof name;
    LONG got = RegEnumKeyExA(pilotDesktop, k, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (got == ERROR_MORE_DATA) continue;  // longer than any name of ours
    if (got != ERROR_SUCCESS) break;
    if (auto n = ConduitKeyNumber(std::string(name, size), integrated)) numbers.push_back(*n);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool DeleteAllValues(HKEY key) {
  bool deleted = true;
  char name[16384];
  for (DWORD skipped = 0;;) {
    DWORD size = sizeof name;
    if (RegEnumValueA(key, skipped, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (RegDeleteValueA(key, name) != ERROR_SUCCESS) {
      deleted = false;
      ++skipped;  // step over it, or the loop would meet it forever
    }
  }
  return deleted;
}

}  // namespace

THotSync::THotSync(THotSyncSources sources) : Sources(std::move(sources)) {}

std::optional<std::string> THotSync::FindBaseKey() const {
  for (const std::string& base : Sources.BaseKeys)
    if (KeyExists(Sources.Root, base)) return base;
  return std::nullopt;
}

void THotSync::Start(const std::string& defaultFolder) {
  LastUser.clear();
  DataFolder.clear();
  Users.clear();
  LastUserIndex = 0;
  ProgramFolder = defaultFolder;
  const std::optional<std::string> base = FindBaseKey();
  Installed = base.has_value();
  if (!Installed) return;
  const std::string desktop = *base + PilotDesktop;
  LastUser = ReadText(Sources.Root, desktop + "\\Preferences", "LastUserName");
  DataFolder = ReadText(Sources.Root, desktop + "\\Core", "Path");
  // A program path without a folder leaves the default: an empty folder is no folder.
  const std::string program = FolderOfFile(Unquoted(ReadText(Sources.Root, desktop + "\\Core", "HotSyncPath")));
  if (!program.empty()) ProgramFolder = WithFolderBackslash(program);
  ReadUsersFile();
}

void THotSync::ReadUsersFile() {
  Users.clear();
  LastUserIndex = 0;
  // Without a data folder the path would name the root of the current drive.
  if (DataFolder.empty()) return;
  Users = ParseHotSyncUsers(ReadFileStart(WithFolderBackslash(DataFolder) + "users.dat", MaxUsersFileSize));
  const int last = FindHotSyncUser(Users, LastUser);
  if (last >= 0) LastUserIndex = last;
}

std::string THotSync::GetUserName(int index) const {
  return index >= 0 && size_t(index) < Users.size() ? Users[size_t(index)].Name : std::string();
}

std::string THotSync::GetUserFolder(int index) const {
  return index >= 0 && size_t(index) < Users.size() ? Users[size_t(index)].Folder : std::string();
}

uint16_t THotSync::GetUserId(int index) const {
  return index >= 0 && size_t(index) < Users.size() ? Users[size_t(index)].Id : 0;
}

std::optional<THotSyncQueueTarget> THotSync::QueueTarget(const std::string& userName,
                                                         const std::string& filePath) const {
  const int index = FindUser(userName);
  if (index < 0 || DataFolder.empty()) return std::nullopt;
  const THotSyncUser& user = Users[size_t(index)];
  if (!IsPlainFolderName(user.Folder)) return std::nullopt;
  const std::optional<std::string> base = FindBaseKey();
  if (!base) return std::nullopt;
  THotSyncQueueTarget target;
  target.Folder = WithFolderBackslash(DataFolder) + user.Folder + "\\Install";
  target.File = target.Folder + "\\" + FileNamePart(filePath);
  target.FlagKey = *base + PilotDesktop + "\\HotSync Manager";
  target.FlagName = InstallValueName(user.Id);
  return target;
}

bool THotSync::QueueFileForUser(const std::string& userName, const std::string& filePath) {
  const std::optional<THotSyncQueueTarget> target = QueueTarget(userName, filePath);
  if (!target) {
    if (!FindBaseKey()) Installed = false;
    return false;
  }
  return QueueFileAt(*target, filePath);
}

bool THotSync::QueueFileAt(const THotSyncQueueTarget& target, const std::string& filePath) {
  if (!CreateDirectoryA(target.Folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (!CopyFileA(filePath.c_str(), target.File.c_str(), FALSE)) return false;
  TRegKeyHandle manager = OpenKey(Sources.Root, target.FlagKey, KEY_SET_VALUE);
  return manager && SetNumber(manager.Get(), target.FlagName.c_str(), 1);
}

bool THotSync::UnregisterConduit(const std::string& creator) {
  const std::optional<std::string> base = FindBaseKey();
  if (!base) return true;
  const std::string desktop = *base + PilotDesktop;
  const uint32_t code = CreatorCode(creator);
  const bool applications = UnregisterFromList(desktop, false, code);
  const bool components = UnregisterFromList(desktop, true, code);
  return applications && components;
}

// Keys after a gap are looked at too: a conduit taken out earlier leaves its number free,
// and one of the same creator behind it must still be found, or it would be registered twice.
bool THotSync::UnregisterFromList(const std::string& pilotDesktop, bool integrated, uint32_t code) {
  TRegKeyHandle desktop = OpenKey(Sources.Root, pilotDesktop, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
  if (!desktop) return true;
  for (int n : ConduitKeyNumbers(desktop.Get(), integrated)) {
    const std::string name = ConduitKeyName(integrated, n);
    bool valuesGone = false;
    {
      TRegKeyHandle key = OpenKey(desktop.Get(), name, KEY_QUERY_VALUE | KEY_SET_VALUE);
      if (!key || TSystemInfo::RegReadNumber(key.Get(), "Creator") != code) continue;
      valuesGone = DeleteAllValues(key.Get());
    }
    const bool keyGone = RegDeleteKeyA(desktop.Get(), name.c_str()) == ERROR_SUCCESS;
    return valuesGone && keyGone;
  }
  return true;
}

bool THotSync::RegisterConduit(const THotSyncConduit& conduit, const TExpandText& expand) {
  if (!UnregisterConduit(conduit.Creator)) return false;
  const std::optional<std::string> base = FindBaseKey();
  if (!base) return false;
  const bool integrated = conduit.Integrate != 0;
  const std::string desktop = *base + PilotDesktop + "\\";
  int n = 0;
  while (KeyExists(Sources.Root, desktop + ConduitKeyName(integrated, n))) ++n;
  TRegKeyHandle key = OpenKey(Sources.Root, desktop + ConduitKeyName(integrated, n), KEY_SET_VALUE, true);
  return key && WriteConduitValues(key.Get(), conduit, expand);
}

bool THotSync::WriteConduitValues(HKEY key, const THotSyncConduit& conduit, const TExpandText& expand) {
  bool written = true;
  for (const TConduitValue& v : ConduitValues(conduit, expand)) {
    const bool ok = std::holds_alternative<uint32_t>(v.Data) ? SetNumber(key, v.Name.c_str(), std::get<uint32_t>(v.Data))
                                                             : SetText(key, v.Name.c_str(), std::get<std::string>(v.Data));
    written = ok && written;
  }
  return written;
}

}  // namespace vnt
