// Test helper started by the system tests: writes where it runs and what it was given.
//   cwdprobe <out file> [<delay ms> | wait:<file>] [words...]
// The out file gets three lines: the current folder, the words joined by blanks, and "ok"
// (or "timeout" when the awaited file did not appear within 30 seconds). It is written under
// another name first and then renamed, so that a reader never sees half of it.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool AwaitFile(const std::string& path) {
  for (int i = 0; i < 3000; ++i) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::string out = argv[1];
  bool ok = true;
  if (argc > 2) {
    std::string how = argv[2];
    if (how.rfind("wait:", 0) == 0)
      ok = AwaitFile(how.substr(5));
    else
      Sleep(DWORD(std::atoi(how.c_str())));
  }
  char cwd[MAX_PATH * 4] = "";
  GetCurrentDirectoryA(sizeof cwd, cwd);
  std::string words;
  for (int i = 3; i < argc; ++i) words += (i > 3 ? " " : "") + std::string(argv[i]);
  std::string part = out + ".part";
  {
    std::ofstream f(part, std::ios::binary);
    f << cwd << "\n" << words << "\n" << (ok ? "ok" : "timeout") << "\n";
  }
  return MoveFileExA(part.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 3;
}
