// Decisions behind the system folder and machine queries that need no system call: path
// shapes, shell folder identifiers, version arithmetic and the folder-creation walk.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

// "C:\" and the like: the one folder path that keeps its trailing backslash.
bool IsDriveRootPath(const std::string& path);
// The drive a text names by its first character, upper-cased; 0 when that is no letter.
char DriveLetterOf(const std::string& text);
// Drops one trailing backslash unless the path is a drive root.
std::string StripFolderBackslash(const std::string& path);
// Appends a backslash unless there is one already.
std::string WithFolderBackslash(const std::string& path);
// The folder of a file path without trailing backslash ("C:\A\b.exe" -> "C:\A", a drive
// root stays "C:\"); empty when the path names no folder.
std::string FolderOfFile(const std::string& path);
// A registered program path may be quoted; the quotes are not part of the path.
std::string Unquoted(const std::string& text);

// Where the Application Manager lives: the folder of its registered program, or, when none
// is registered, "Microsoft ActiveSync\" under the program files folder (with its backslash).
std::string AppMgrFolderFrom(const std::optional<std::string>& registeredProgram,
                             const std::string& programFilesFolder);
// "major.minor" when both numbers exist, else "0.0".
std::string AppMgrVersionText(std::optional<uint32_t> major, std::optional<uint32_t> minor);

constexpr int ShellFolderKinds = 8;
enum TShellFolderKind {
  ShellDesktop = 0, ShellStartMenu, ShellPrograms, ShellStartup, ShellSendTo, ShellFonts,
  ShellTemplates, ShellFavorites
};
// The shell's folder identifier (CSIDL) of a kind; -1 for an unknown kind.
int ShellFolderId(int kind, bool allUsers);
// Identifiers to ask in turn: the all-users one only for an administrator who asks for it,
// then the per-user one as the answer when the first comes back empty.
std::vector<int> ShellFolderIdsToTry(int kind, bool allUsers, bool administrator);

// major * 2^24 + minor * 2^16 + the low 16 bits of the build number.
uint32_t PackedVersion(uint32_t major, uint32_t minor, uint32_t build);
// Service pack level: NT 5 and later from the extended version information, NT 4 from the
// registry number (when there is one), 0 everywhere else.
uint32_t ServicePackLevel(bool ntFamily, uint32_t major, uint32_t spMajor, uint32_t spMinor,
                          std::optional<uint32_t> nt4CsdVersion);
// The four 16-bit parts of a fixed file version joined by ".".
std::string FixedVersionText(uint32_t versionMS, uint32_t versionLS);

// Free bytes from the older disk query's clusters, in 64 bits: every free cluster counts.
uint64_t DiskFreeBytesFrom(uint32_t bytesPerSector, uint32_t sectorsPerCluster, uint32_t freeClusters);
// The upper-case drive letter of a path that begins with one and a colon; 0 for any other.
char DriveOfPath(const std::string& path);

enum TForceFolderResult {
  ForceFolderExists = 1, ForceFolderFailed = 2, ForceFolderNothingToDo = 3, ForceFolderCreated = 4
};
// Creates a folder and any missing parents. folderExists and createFolder are the file
// system; createFolder receives the path as given here and expands it itself.
TForceFolderResult ForceFolderWith(const std::string& path,
                                   const std::function<bool(const std::string&)>& folderExists,
                                   const std::function<bool(const std::string&)>& createFolder);

// The start-up failure text for an HRESULT of the COM initialisation.
std::string CoInitializeErrorText(uint32_t result);

}  // namespace vnt
