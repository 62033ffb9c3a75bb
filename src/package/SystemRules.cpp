#include "package/SystemRules.h"

#include <cstdio>

namespace vnt {

char DriveLetterOf(const std::string& text) {
  if (text.empty()) return 0;
  char c = text[0] >= 'a' && text[0] <= 'z' ? char(text[0] - 'a' + 'A') : text[0];
  return c >= 'A' && c <= 'Z' ? c : 0;
}

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Up to and including the last backslash or drive colon; empty when there is neither.
std::string PathPrefix(const std::string& path) {
  size_t at = path.find_last_of("\\:");
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

struct TShellIds {
  int PerUser;
  int AllUsers;
};
constexpr TShellIds ShellIds[ShellFolderKinds] = {
    {16, 25}, {11, 22}, {2, 23}, {7, 24}, {9, 9}, {20, 20}, {21, 45}, {6, 31}};

}  // namespace

bool IsDriveRootPath(const std::string& path) {
  return path.size() == 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

std::string StripFolderBackslash(const std::string& path) {
  if (path.empty() || path.back() != '\\' || IsDriveRootPath(path)) return path;
  return path.substr(0, path.size() - 1);
}

std::string WithFolderBackslash(const std::string& path) {
  if (!path.empty() && path.back() == '\\') return path;
  return path + '\\';
}

std::string FolderOfFile(const std::string& path) {
  std::string folder = PathPrefix(path);
  // "\prog.exe" lives in the root of the current drive.
  if (folder == "\\") return folder;
  return StripFolderBackslash(folder);
}

std::string Unquoted(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

std::string AppMgrFolderFrom(const std::optional<std::string>& registeredProgram,
                             const std::string& programFilesFolder) {
  if (registeredProgram) {
    std::string folder = FolderOfFile(Unquoted(*registeredProgram));
    if (!folder.empty()) return folder;
  }
  return WithFolderBackslash(programFilesFolder) + "Microsoft ActiveSync\\";
}

std::string AppMgrVersionText(std::optional<uint32_t> major, std::optional<uint32_t> minor) {
  if (!major || !minor) return "0.0";
  return std::to_string(*major) + "." + std::to_string(*minor);
}

int ShellFolderId(int kind, bool allUsers) {
  if (kind < 0 || kind >= ShellFolderKinds) return -1;
  return allUsers ? ShellIds[kind].AllUsers : ShellIds[kind].PerUser;
}

std::vector<int> ShellFolderIdsToTry(int kind, bool allUsers, bool administrator) {
  if (kind < 0 || kind >= ShellFolderKinds) return {};
  if (allUsers && administrator) return {ShellFolderId(kind, true), ShellFolderId(kind, false)};
  return {ShellFolderId(kind, false)};
}

uint32_t PackedVersion(uint32_t major, uint32_t minor, uint32_t build) {
  return (major << 24) + (minor << 16) + (build & 0xFFFF);
}

uint32_t ServicePackLevel(bool ntFamily, uint32_t major, uint32_t spMajor, uint32_t spMinor,
                          std::optional<uint32_t> nt4CsdVersion) {
  if (!ntFamily) return 0;
  if (major >= 5) return spMajor * 256 + spMinor;
  if (major == 4) return nt4CsdVersion.value_or(0);
  return 0;
}

std::string FixedVersionText(uint32_t versionMS, uint32_t versionLS) {
  return std::to_string(versionMS >> 16) + "." + std::to_string(versionMS & 0xFFFF) + "." +
         std::to_string(versionLS >> 16) + "." + std::to_string(versionLS & 0xFFFF);
}

uint64_t DiskFreeBytesFrom(uint32_t bytesPerSector, uint32_t sectorsPerCluster, uint32_t freeClusters) {
  return uint64_t(bytesPerSector) * sectorsPerCluster * freeClusters;
}

char DriveOfPath(const std::string& path) { return path.size() >= 2 && path[1] == ':' ? DriveLetterOf(path) : 0; }

TForceFolderResult ForceFolderWith(const std::string& path,
                                   const std::function<bool(const std::string&)>& folderExists,
                                   const std::function<bool(const std::string&)>& createFolder) {
  // All trailing backslashes go: "C:\A\\" names the same folder as "C:\A".
  std::string dir = path;
  while (!dir.empty() && dir.back() == '\\') dir.pop_back();
  if (dir.empty() || dir.back() == ':') return ForceFolderNothingToDo;
  std::string parent = PathPrefix(dir);
  while (!parent.empty() && parent.back() == '\\') parent.pop_back();
  if (parent == dir) return ForceFolderNothingToDo;
  if (folderExists(dir)) return ForceFolderExists;
  // The parent is strictly shorter, so the walk ends.
  if (ForceFolderWith(parent, folderExists, createFolder) == ForceFolderFailed)
    return ForceFolderFailed;
  return createFolder(dir) ? ForceFolderCreated : ForceFolderFailed;
}

std::string CoInitializeErrorText(uint32_t result) {
  char text[64];
  std::snprintf(text, sizeof text, "CoInitialize failed (0x%.8x)", unsigned(result));
  return text;
}

}  // namespace vnt
