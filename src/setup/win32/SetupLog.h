// The setup log: a plain text file with one time-stamped line per step and item, written
// through at once so that a run that is killed leaves its log up to that point.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vnt {

class TSetupLog {
public:
  TSetupLog() = default;
  ~TSetupLog();
  TSetupLog(const TSetupLog&) = delete;
  TSetupLog& operator=(const TSetupLog&) = delete;

  // The run keeps a log: lines are kept from now on, and written once the file is open.
  void Enable() { Enabled = true; }
  bool IsEnabled() const { return Enabled; }
  // Opens the file: the given path (replaced when it exists), or, when empty, a new file
  // named after the product and the program ("Setup", "Uninstall") in folder. Answers
  // whether the log is written; lines kept so far go first.
  bool Open(const std::string& path, const std::string& folder, const std::string& product,
            const std::string& program = "Setup");
  bool IsOpen() const { return File != INVALID_HANDLE_VALUE; }
  // The file's full path, once open.
  const std::string& Path() const { return FilePath; }

  void Line(const std::string& text);

private:
  void Write(const std::string& entry);

  bool Enabled = false;
  bool Broken = false;  // a write failed: the rest is not written
  HANDLE File = INVALID_HANDLE_VALUE;
  std::string FilePath;
  std::vector<std::string> Pending;  // entries before the file is open
};

}  // namespace vnt
