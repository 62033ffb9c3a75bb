#include "device/win32/AppMgr.h"

#include <stdexcept>

namespace vnt {

namespace {

std::string WithBackslash(const std::string& folder) {
  return folder.empty() || folder.back() == '\\' ? folder : folder + "\\";
}

// Answers 0 or the system's error.
DWORD WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  DWORD error = ok ? 0 : GetLastError();
  if (!CloseHandle(file) && ok) error = GetLastError();
  if (ok && error == 0) return 0;
  DeleteFileA(path.c_str());  // a cut file would hand the device a wrong cabinet list
  return error ? error : ERROR_WRITE_FAULT;
}

}  // namespace

// The registered folder comes without a backslash, the ActiveSync fallback with one.
std::string AppMgrPath(TSystemInfo& info) { return WithBackslash(info.AppMgrFolder()) + "CEAPPMGR.EXE"; }

std::vector<std::string> WriteAppMgrFiles(const std::vector<TAppMgrFile>& files) {
  std::vector<std::string> written;
  for (const auto& f : files) {
    if (DWORD error = WriteWholeFile(f.Path, f.Text)) {
      for (const auto& path : written) DeleteFileA(path.c_str());
      throw std::runtime_error("Cannot write " + f.Path + ": " + SystemErrorText(error));
    }
    written.push_back(f.Path);
  }
  return written;
}

std::string AppMgrArgumentsIfPresent(const std::string& appMgrPath, const std::vector<TAppMgrFile>& files) {
  if (!FileExists(appMgrPath)) return "";
  std::vector<std::string> paths;
  for (const auto& f : files) paths.push_back(f.Path);
  return AppMgrArguments(paths);
}

DWORD RunAppMgr(const std::string& appMgrPath, const std::string& arguments, const std::string& installDir,
                const TMessagePump& pump) {
  DWORD error = 0;
  RunProgram(appMgrPath, arguments, WithBackslash(installDir), error, true, true, pump);
  return error;
}

}  // namespace vnt
