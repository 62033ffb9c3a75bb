#include "platform/win32/SystemServices.h"

#include <shellapi.h>

#include "platform/win32/CallbackGuard.h"
#include "platform/win32/SystemInfo.h"

namespace vnt {

namespace {

// Calls a "fill this buffer" system function until the answer fits.
template <class TQuery>
std::string GrowingQuery(TQuery query) {
  std::string text(MAX_PATH, '\0');
  for (;;) {
    DWORD n = query(text.data(), DWORD(text.size()));
    if (n < text.size()) {
      text.resize(n);
      return text;
    }
    text.resize(n + 1);
  }
}

bool IsMissing(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::string FullPath(const std::string& path) {
  std::string full = GrowingQuery([&](char* buf, DWORD size) {
    return GetFullPathNameA(path.c_str(), size, buf, nullptr);
  });
  return full.empty() ? path : full;
}

// Waits for the process while the setup's windows go on working. A quit request that
// arrives meanwhile is posted again once the wait is over.
void WaitForEnd(HANDLE process, const TMessagePump& pump) {
  std::optional<int> quitCode;
  for (;;) {
    DWORD got = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
    if (got != WAIT_OBJECT_0 + 1) break;  // ended, or the wait itself failed
    if (pump) {
      pump();
    } else if (auto code = DispatchPendingMessages()) {
      quitCode = code;
    }
  }
  if (quitCode) PostQuitMessage(*quitCode);
}

bool EnableShutdownPrivilege() {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  if (ok) {
    // Success of the call alone is not enough: a privilege not held reports an error.
    SetLastError(ERROR_SUCCESS);
    ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
         GetLastError() == ERROR_SUCCESS;
  }
  CloseHandle(token);
  return ok;
}

}  // namespace

namespace {
constexpr DWORD SearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32, newer than some headers
}  // namespace

void RestrictLibrarySearch() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using TSetDefault = BOOL(WINAPI*)(DWORD);
  using TSetDirectory = BOOL(WINAPI*)(LPCSTR);
  auto setDefault = reinterpret_cast<TSetDefault>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault && setDefault(SearchSystem32)) return;
  auto setDirectory =
      reinterpret_cast<TSetDirectory>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
  if (setDirectory) setDirectory("");
}

HMODULE LoadSystemLibrary(const char* fileName) {
  std::string path = WithFolderBackslash(SystemSystemFolder()) + fileName;
  // What it needs comes from the system folder too; a system without the flag refuses it.
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, SearchSystem32);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) module = LoadLibraryA(path.c_str());
  return module;
}

TSystemLibrary::TSystemLibrary(const char* fileName) : Module(LoadSystemLibrary(fileName)) {}

TSystemLibrary::~TSystemLibrary() {
  if (Module) FreeLibrary(Module);
}

FARPROC TSystemLibrary::RawProc(const char* name) const {
  return Module ? GetProcAddress(Module, name) : nullptr;
}

std::string SystemWindowsFolder() {
  return StripFolderBackslash(GrowingQuery([](char* buf, DWORD size) {
    return GetWindowsDirectoryA(buf, size);
  }));
}

std::string SystemSystemFolder() {
  return StripFolderBackslash(GrowingQuery([](char* buf, DWORD size) {
    return GetSystemDirectoryA(buf, size);
  }));
}

std::string SystemTempFolder() {
  return GrowingQuery([](char* buf, DWORD size) { return GetTempPathA(size, buf); });
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(StripFolderBackslash(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TForceFolderResult ForceFolder(const std::string& path) {
  return ForceFolderWith(path, FolderExists, [](const std::string& dir) {
    return CreateDirectoryA(FullPath(dir).c_str(), nullptr) != FALSE;
  });
}

uint64_t FileSizeOf(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  LARGE_INTEGER size;
  uint64_t answer = GetFileSizeEx(h, &size) ? uint64_t(size.QuadPart) : 0;
  CloseHandle(h);
  return answer;
}

std::string SystemErrorText(DWORD code) {
  char text[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                           sizeof text, nullptr);
  std::string s(text, n);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s.empty() ? "error " + std::to_string(code) : s;
}

bool DeleteFileForce(const std::string& path) {
  if (path.empty()) return false;
  // Most files simply go: one call. Only a refusal is looked into.
  if (DeleteFileA(path.c_str())) return true;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return IsMissing(path);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesA(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
  DeleteFileA(path.c_str());
  return IsMissing(path);
}

bool FolderHoldsOnly(const std::string& folder, const std::function<bool(const std::string& path)>& allowed) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool only = true;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..") only = allowed(folder + "\\" + name);
  } while (only && FindNextFileA(search, &found));
  FindClose(search);
  return only;
}

namespace {

// Whether new files can be made in the folder: a probe made and gone again at once.
bool FolderTakesFiles(const std::string& folder) {
  std::string probe = WithFolderBackslash(folder) + "vnt" + std::to_string(GetCurrentProcessId()) + ".probe";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

bool DeleteAtRestart(const std::string& path) {
  std::string place = FolderOfFile(StripFolderBackslash(path));
  return FolderTakesFiles(place) && MoveFileExA(StripFolderBackslash(path).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

bool RemoveFolderTree(const std::string& path) {
  const std::string folder = StripFolderBackslash(path);
  if (folder.empty()) return false;
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return IsMissing(folder);
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string item = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolderTree(item);
        else DeleteFileForce(item);
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
  }
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(folder.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
  RemoveDirectoryA(folder.c_str());
  return IsMissing(folder);
}

std::optional<int> DispatchPendingMessages() {
  std::optional<int> quitCode;
  MSG msg;
  while (!CallbackFailed() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitCode = int(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  ThrowKeptException();
  return quitCode;
}

bool RunProgram(const std::string& program, const std::string& parameters,
                const std::string& workingFolder, DWORD& errorCode, bool waitIdle, bool waitEnd,
                const TMessagePump& pump) {
  std::string commandLine = "\"" + program + "\" " + parameters;
  std::string folder = workingFolder.empty() ? FolderOfFile(program) : workingFolder;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    errorCode = GetLastError();
    return false;
  }
  errorCode = 0;
  CloseHandle(info.hThread);
  if (waitIdle) WaitForInputIdle(info.hProcess, INFINITE);
  if (waitEnd) WaitForEnd(info.hProcess, pump);
  CloseHandle(info.hProcess);
  return true;
}

bool ShellOpen(HWND owner, const std::string& file, const std::string& parameters,
               const std::string& folder, int showCommand) {
  HINSTANCE result =
      ShellExecuteA(owner, nullptr, file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                    folder.empty() ? nullptr : folder.c_str(), showCommand);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool RestartWindows() {
  if (TSystemInfo::IsNTFamily() && !EnableShutdownPrivilege()) return false;
  return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

TComSession::TComSession() {
  using TCoInitialize = HRESULT(WINAPI*)(void*);
  auto coInitialize = Ole.Proc<TCoInitialize>("CoInitialize");
  HRESULT result = coInitialize ? coInitialize(nullptr) : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
  // S_FALSE (already initialised on this thread) also needs its CoUninitialize.
  if (FAILED(result)) throw ESystemStartup(CoInitializeErrorText(uint32_t(result)));
}

TComSession::~TComSession() {
  using TCoUninitialize = void(WINAPI*)();
  if (auto coUninitialize = Ole.Proc<TCoUninitialize>("CoUninitialize")) coUninitialize();
}

}  // namespace vnt
