#include "setup/win32/SetupLog.h"

#include "setup/LogRules.h"

namespace vnt {

namespace {

TLogTime Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

// Readers (an administrator's tail, a distribution tool) may look while the run writes.
HANDLE CreateLogFile(const std::string& path, DWORD disposition) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

}  // namespace

TSetupLog::~TSetupLog() {
  if (IsOpen()) CloseHandle(File);
}

bool TSetupLog::Open(const std::string& path, const std::string& folder, const std::string& product,
                     const std::string& program) {
  if (!Enabled || IsOpen()) return IsOpen();
  if (!path.empty()) {
    FilePath = FullPath(path);
    File = CreateLogFile(FilePath, CREATE_ALWAYS);
  } else {
    // Two runs in one second each get a file of their own.
    std::string name = DefaultLogFileName(product, program, Now());
    std::string base = folder + "\\" + name.substr(0, name.size() - 4);
    for (int n = 1; n < 100 && !IsOpen(); ++n) {
      FilePath = n == 1 ? base + ".txt" : base + " (" + std::to_string(n) + ").txt";
      File = CreateLogFile(FilePath, CREATE_NEW);
      if (!IsOpen() && GetLastError() != ERROR_FILE_EXISTS) break;
    }
  }
  if (!IsOpen()) {
    FilePath.clear();
    return false;
  }
  for (const std::string& entry : Pending) Write(entry);
  Pending.clear();
  return true;
}

void TSetupLog::Line(const std::string& text) {
  if (!Enabled || Broken) return;
  std::string entry = LogEntryText(Now(), text);
  if (IsOpen()) Write(entry);
  else Pending.push_back(entry);
}

void TSetupLog::Write(const std::string& entry) {
  DWORD written = 0;
  if (!WriteFile(File, entry.data(), DWORD(entry.size()), &written, nullptr) || written != entry.size())
    Broken = true;
}

}  // namespace vnt
