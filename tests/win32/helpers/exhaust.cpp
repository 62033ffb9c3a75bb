// A library for the out-of-memory test: HugeText answers a 64 MiB text after taking the rest
// of the address space, but for a few holes of 4 MiB. Copying the text cannot succeed; the
// small allocations a message box needs still can. Plain C calls only, no C++ runtime.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) const char* __stdcall HugeText() {
  const SIZE_T size = SIZE_T(64) << 20;
  char* text = static_cast<char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!text) return nullptr;
  std::memset(text, 'x', size - 1);
  text[size - 1] = 0;
  void* holes[8];
  for (void*& hole : holes) hole = VirtualAlloc(nullptr, SIZE_T(4) << 20, MEM_RESERVE, PAGE_NOACCESS);
  for (SIZE_T chunk = SIZE_T(256) << 20; chunk >= SIZE_T(64) << 10; chunk /= 2)
    while (VirtualAlloc(nullptr, chunk, MEM_RESERVE, PAGE_NOACCESS)) {
    }
  for (void* hole : holes)
    if (hole) VirtualFree(hole, 0, MEM_RELEASE);
  return text;
}
