// Test helper: keeps a file open with no sharing (or, with "read", letting others only read
// it), as a running program holds its own files.
//   holdfile <file> <marker> [read]
// Writes the marker once the file is held, and lets go when the marker is deleted.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) return 2;
  DWORD share = argc == 4 && std::strcmp(argv[3], "read") == 0 ? FILE_SHARE_READ : 0;
  HANDLE held = CreateFileA(argv[1], GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  HANDLE marker = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(marker);
  // Bounded, so that a test that dies early does not leave it behind for good.
  for (int i = 0; i < 1200 && GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  CloseHandle(held);
  return 0;
}
