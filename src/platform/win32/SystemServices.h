// System services of the setup: folders and files, starting programs and waiting for them,
// the shell's default action, restarting Windows, and COM for the whole run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "package/SystemRules.h"

namespace vnt {

// A library of the system folder, loaded by full path so that a planted copy beside the
// setup is never picked up. Used for entry points outside the always-linked libraries and
// for those that old Windows versions lack.
// Libraries are looked for in the system folder only, never beside the program or in the
// current folder, where a download may have left a planted one. First thing in every
// program entry; on systems without the call the current folder at least is left out.
void RestrictLibrarySearch();
// A system library loaded from the system folder by its full path.
HMODULE LoadSystemLibrary(const char* fileName);

class TSystemLibrary {
public:
  explicit TSystemLibrary(const char* fileName);
  ~TSystemLibrary();
  TSystemLibrary(const TSystemLibrary&) = delete;
  TSystemLibrary& operator=(const TSystemLibrary&) = delete;

  // The entry point, or null when the library or the entry point is missing.
  template <class TFunction>
  TFunction Proc(const char* name) const {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(RawProc(name)));
  }

private:
  FARPROC RawProc(const char* name) const;
  HMODULE Module = nullptr;
};

// The Windows and system folders without trailing backslash, the temporary folder with it,
// each at whatever length the system gives.
std::string SystemWindowsFolder();
std::string SystemSystemFolder();
std::string SystemTempFolder();

bool FolderExists(const std::string& path);
// A file, not a folder, of that name exists.
bool FileExists(const std::string& path);
// 1 existing, 2 failed, 3 nothing to do (empty, a bare drive), 4 created; never raises.
TForceFolderResult ForceFolder(const std::string& path);
// 0 when the file is missing or cannot be opened for reading.
uint64_t FileSizeOf(const std::string& path);
// The system's words for an error code, without the line break it ends with.
std::string SystemErrorText(DWORD code);
// Clears a read-only attribute first; answers whether the file is gone (a missing file is).
bool DeleteFileForce(const std::string& path);
// Whether every entry of the folder is one that allowed accepts (by its full path); a folder
// that cannot be listed holds nothing.
bool FolderHoldsOnly(const std::string& folder, const std::function<bool(const std::string& path)>& allowed);
// Marks a file, or a folder that will be empty by then, for deletion when Windows next
// starts. Only where a restart can help: the place must take changes (not a read-only
// medium), and the system must let this program mark it.
bool DeleteAtRestart(const std::string& path);
// Deletes a folder with everything in it, read-only files too; links to folders elsewhere are
// removed, never followed. Answers whether the folder is gone.
bool RemoveFolderTree(const std::string& path);

// Lets the window toolkit handle what is queued; empty means the plain dispatch loop.
using TMessagePump = std::function<void()>;
// Dispatches every queued message. A quit request is taken off the queue and answered with
// its exit code, so that the caller can post it again when its own loop may end.
std::optional<int> DispatchPendingMessages();

// Starts "program" parameters in workingFolder (empty: the program's own folder). With
// waitEnd the setup's windows keep working while the program runs; waits may nest.
// On failure errorCode is the system's error.
bool RunProgram(const std::string& program, const std::string& parameters,
                const std::string& workingFolder, DWORD& errorCode, bool waitIdle, bool waitEnd,
                const TMessagePump& pump = {});
// The shell's default action on a file (a document opens in its program). Texts of any
// length are passed whole; empty parameters or folder are left out.
bool ShellOpen(HWND owner, const std::string& file, const std::string& parameters,
               const std::string& folder, int showCommand);
// Asks Windows to reboot, enabling the shutdown privilege first on the NT family. Answers
// whether the request was made.
bool RestartWindows();

// The start-up step that raises when COM cannot be initialised.
class ESystemStartup : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// COM initialised for the window thread from program start to end.
class TComSession {
public:
  TComSession();  // raises ESystemStartup
  ~TComSession();
  TComSession(const TComSession&) = delete;
  TComSession& operator=(const TComSession&) = delete;

private:
  TSystemLibrary Ole{"ole32.dll"};
};

}  // namespace vnt
