#include "platform/win32/SystemInfo.h"

#include <shlobj.h>

#include <cstring>
#include <vector>

#include "package/SizeFormat.h"
#include "package/SystemRules.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

const std::string NoText;

// An opened registry key, closed when it goes out of scope; false when it would not open.
class TRegKey {
public:
  TRegKey(const TRegLocation& at, REGSAM access) {
    if (RegOpenKeyExA(at.Root, at.Path.c_str(), 0, access, &Key) != ERROR_SUCCESS) Key = nullptr;
  }
  ~TRegKey() {
    if (Key) RegCloseKey(Key);
  }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  explicit operator bool() const { return Key != nullptr; }
  HKEY Handle() const { return Key; }

private:
  HKEY Key = nullptr;
};

std::string ReadText(const TRegLocation& at, const std::string& name) {
  TRegKey key(at, KEY_QUERY_VALUE);
  if (!key) return {};
  return TSystemInfo::RegReadString(key.Handle(), name).value_or(std::string());
}

// The machine's value, else the user's when the machine gives no text.
std::string MachineThenUser(const TRegLocation& machine, const TRegLocation& user,
                            const std::string& name) {
  std::string text = ReadText(machine, name);
  return text.empty() ? ReadText(user, name) : text;
}

struct TOsVersion {
  uint32_t Platform = 0, Major = 0, Minor = 0, Build = 0, SpMajor = 0, SpMinor = 0;
};

TOsVersion QueryOsVersion() {
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof info;
  auto* plain = reinterpret_cast<OSVERSIONINFOA*>(&info);
  if (!GetVersionExA(plain)) {
    // Windows 9x and early NT 4 know only the short form.
    info = OSVERSIONINFOEXA{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(plain)) return {};
  }
  bool extended = info.dwOSVersionInfoSize == sizeof info;
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
          extended ? info.wServicePackMajor : 0u, extended ? info.wServicePackMinor : 0u};
}

// The shell's path for a folder identifier, without trailing backslash unless a drive root.
std::string ShellIdPath(int id) {
  LPITEMIDLIST items = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, id, &items)) || !items) return {};
  char path[MAX_PATH] = "";  // the size the shell writes into
  if (!SHGetPathFromIDListA(items, path)) path[0] = '\0';
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(items);
    allocator->Release();
  }
  return StripFolderBackslash(path);
}

}  // namespace

TSystemInfo::TSystemInfo(TSystemSources sources) : Sources(std::move(sources)) {
  Administrator = Sources.Administrator ? *Sources.Administrator : AskAdministrator();
  Folders.fill("-");
  Versions.fill(-1);
}

std::optional<std::string> TSystemInfo::RegReadString(HKEY key, const std::string& name) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    LONG got = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &size);
    if (got == ERROR_MORE_DATA) continue;  // the value grew meanwhile
    if (got != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    // Stored data need not end with its zero; the text stops at the first one either way.
    return std::string(data.data(), strnlen(data.data(), size));
  }
  return std::nullopt;
}

std::optional<uint32_t> TSystemInfo::RegReadNumber(HKEY key, const std::string& name) {
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value)
    return std::nullopt;
  return uint32_t(value);
}

std::string TSystemInfo::CurrentVersionValue(const std::string& name) const {
  return MachineThenUser(Sources.MachineCurrentVersion, Sources.UserCurrentVersion, name);
}

template <class TLookUp>
const std::string& TSystemInfo::Cached(TFolder folder, TLookUp lookUp) {
  if (Folders[folder] == "-") Folders[folder] = lookUp();
  return Folders[folder];
}

const std::string& TSystemInfo::ProgramFilesFolder() {
  return Cached(FProgramFiles,
                [&] { return StripFolderBackslash(CurrentVersionValue("ProgramFilesDir")); });
}

const std::string& TSystemInfo::CommonFilesFolder() {
  return Cached(FCommonFiles,
                [&] { return StripFolderBackslash(CurrentVersionValue("CommonFilesDir")); });
}

const std::string& TSystemInfo::TempFolder() { return Cached(FTemp, SystemTempFolder); }
const std::string& TSystemInfo::WindowsFolder() { return Cached(FWindows, SystemWindowsFolder); }
const std::string& TSystemInfo::SystemFolder() { return Cached(FSystem, SystemSystemFolder); }

std::string TSystemInfo::ShellFolderValue(const std::string& name) const {
  return StripFolderBackslash(
      MachineThenUser(Sources.MachineShellFolders, Sources.UserShellFolders, name));
}

const std::string& TSystemInfo::FontsFolder() {
  return Cached(FFonts, [&] { return ShellFolderValue("Fonts"); });
}

const std::string& TSystemInfo::DocumentsFolder() {
  return Cached(FDocuments, [&] { return ShellFolderValue("Personal"); });
}

const std::string& TSystemInfo::AppMgrFolder() {
  return Cached(FAppMgr, [&] {
    TRegKey key(Sources.AppMgrPath, KEY_QUERY_VALUE);
    std::optional<std::string> program;
    if (key) program = RegReadString(key.Handle(), "");
    return AppMgrFolderFrom(program, ProgramFilesFolder());
  });
}

const std::string& TSystemInfo::ShellFolder(int kind, bool allUsers) {
  if (kind < 0 || kind >= ShellFolderKinds) return NoText;
  TCachedText& entry = ShellFolders[allUsers ? 1 : 0][kind];
  if (!entry.LookedUp) {
    entry.Text = ShellFolderLookUp(kind, allUsers);
    entry.LookedUp = true;
  }
  return entry.Text;
}

std::string TSystemInfo::ShellFolderLookUp(int kind, bool allUsers) const {
  for (int id : ShellFolderIdsToTry(kind, allUsers, Administrator)) {
    std::string path = ShellIdPath(id);
    if (!path.empty()) return path;
  }
  return {};
}

std::optional<std::string> TSystemInfo::DotNetRoot() const {
  // Opened with full rights: a user who may not do so is treated as having no .NET.
  TRegKey key(Sources.DotNet, KEY_ALL_ACCESS);
  if (!key) return std::nullopt;
  return RegReadString(key.Handle(), "InstallRoot");
}

std::string TSystemInfo::DotNetFolder() const {
  std::optional<std::string> root = DotNetRoot();
  if (!root || root->empty()) return {};
  std::string base = WithFolderBackslash(*root);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string answer;
  do {
    std::string name = found.cFileName;
    if (name.empty() || name[0] == '.' || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      continue;
    if (FileExists(base + name + "\\mscorcfg.dll")) answer = base + name + "\\";
  } while (answer.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return answer;
}

uint32_t TSystemInfo::OSVersionValue(int which) {
  if (which < 0 || which >= int(Versions.size())) return 0;
  if (Versions[which] < 0) Versions[which] = ReadOSVersionValue(which);
  return uint32_t(Versions[which]);
}

uint32_t TSystemInfo::ReadOSVersionValue(int which) const {
  TOsVersion v = QueryOsVersion();
  bool nt = v.Platform == VER_PLATFORM_WIN32_NT;
  switch (which) {
    case 0: return PackedVersion(v.Major, v.Minor, v.Build);
    case 1: return v.Major;
    case 2: return v.Minor;
    case 3: return v.Build;
    default: break;
  }
  std::optional<uint32_t> csd;
  if (nt && v.Major == 4) {
    TRegKey key(Sources.Nt4Windows, KEY_QUERY_VALUE);
    if (key) csd = RegReadNumber(key.Handle(), "CSDVersion");
  }
  return ServicePackLevel(nt, v.Major, v.SpMajor, v.SpMinor, csd);
}

bool TSystemInfo::IsNTFamily() { return QueryOsVersion().Platform == VER_PLATFORM_WIN32_NT; }

bool TSystemInfo::AskAdministrator() {
  if (!IsNTFamily()) return true;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE);
  if (!manager) return false;
  CloseServiceHandle(manager);
  return true;
}

bool TSystemInfo::IsAppMgrInstalled() const {
  TRegKey key(Sources.AppMgrPath, KEY_QUERY_VALUE);
  return key && RegReadString(key.Handle(), "").has_value();
}

std::string TSystemInfo::AppMgrVersion() const {
  // Opened with full rights: a user who may not do so gets "0.0".
  TRegKey key(Sources.CeServices, KEY_ALL_ACCESS);
  if (!key) return AppMgrVersionText(std::nullopt, std::nullopt);
  return AppMgrVersionText(RegReadNumber(key.Handle(), "MajorVersion"),
                           RegReadNumber(key.Handle(), "MinorVersion"));
}

bool TSystemInfo::IsDotNetInstalled() const {
  std::optional<std::string> root = DotNetRoot();
  return root && FolderExists(*root);
}

std::string TSystemInfo::DotNetVersion() const {
  std::string folder = DotNetFolder();
  std::optional<VS_FIXEDFILEINFO> version;
  if (!folder.empty()) version = GetFileVersion(folder + "mscorcfg.dll");
  if (!version) return "0.0";
  return FixedVersionText(version->dwFileVersionMS, version->dwFileVersionLS);
}

int TSystemInfo::ColorDepth() {
  TSystemLibrary gdi("gdi32.dll");
  auto createDC = gdi.Proc<HDC(WINAPI*)(HDC)>("CreateCompatibleDC");
  auto deviceCaps = gdi.Proc<int(WINAPI*)(HDC, int)>("GetDeviceCaps");
  auto deleteDC = gdi.Proc<BOOL(WINAPI*)(HDC)>("DeleteDC");
  if (!createDC || !deviceCaps || !deleteDC) return 0;
  HDC dc = createDC(nullptr);  // compatible with the display
  if (!dc) return 0;
  int bits = deviceCaps(dc, BITSPIXEL);
  deleteDC(dc);
  return bits;
}

uint64_t TSystemInfo::PhysicalMemory() {
  // The older query stops at 4 GB (2 GB on some systems); the extended one, where the system
  // has it, reports the whole memory.
  TSystemLibrary kernel("kernel32.dll");
  if (auto statusEx = kernel.Proc<BOOL(WINAPI*)(MEMORYSTATUSEX*)>("GlobalMemoryStatusEx")) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (statusEx(&status)) return status.ullTotalPhys / 1000000;
  }
  MEMORYSTATUS status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatus(&status);
  return uint64_t(status.dwTotalPhys) / 1000000;
}

std::optional<uint64_t> TSystemInfo::DiskFreeBytes(const std::string& driveLetter) {
  if (driveLetter.empty() || !IsCharAlphaA(driveLetter[0])) return std::nullopt;
  std::string root = driveLetter.substr(0, 1) + ":\\";
  // The extended query counts past 2 GB and knows the user's quota; the first Windows 95 lacks it.
  TSystemLibrary kernel("kernel32.dll");
  using TFreeSpaceEx = BOOL(WINAPI*)(LPCSTR, ULARGE_INTEGER*, ULARGE_INTEGER*, ULARGE_INTEGER*);
  if (auto freeSpaceEx = kernel.Proc<TFreeSpaceEx>("GetDiskFreeSpaceExA")) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!freeSpaceEx(root.c_str(), &available, &total, &free)) return std::nullopt;
    return available.QuadPart;
  }
  DWORD sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
    return std::nullopt;
  return DiskFreeBytesFrom(bytesPerSector, sectorsPerCluster, freeClusters);
}

std::optional<VS_FIXEDFILEINFO> TSystemInfo::GetFileVersion(const std::string& path) {
  TSystemLibrary version("version.dll");
  auto infoSize = version.Proc<DWORD(WINAPI*)(LPCSTR, DWORD*)>("GetFileVersionInfoSizeA");
  auto info = version.Proc<BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, void*)>("GetFileVersionInfoA");
  auto query = version.Proc<BOOL(WINAPI*)(const void*, LPCSTR, void**, UINT*)>("VerQueryValueA");
  if (!infoSize || !info || !query) return std::nullopt;
  DWORD unused = 0;
  DWORD size = infoSize(path.c_str(), &unused);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!info(path.c_str(), 0, size, block.data())) return std::nullopt;
  void* fixed = nullptr;
  UINT length = 0;
  if (!query(block.data(), "\\", &fixed, &length) || !fixed || length < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  VS_FIXEDFILEINFO answer;
  std::memcpy(&answer, fixed, sizeof answer);
  if (answer.dwSignature != 0xFEEF04BD) return std::nullopt;
  return answer;
}

char TSystemInfo::DecimalSeparator() {
  char text[8] = "";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 1) return text[0];
  return '.';
}

std::string TSystemInfo::FormatSizeForUser(double amount, int unit) {
  return FormatSize(amount, unit, DecimalSeparator());
}

}  // namespace vnt
