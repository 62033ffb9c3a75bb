#include "script/win32/DLLInvoke.h"

#include "package/SystemRules.h"
#include "platform/win32/SystemServices.h"
#include "script/DLLArguments.h"
#include "script/win32/DLLThunk.h"

namespace vnt {

namespace {

// The file to load for a library path; empty when there is none.
std::string LibraryFile(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return "";
  if (IsBareLibraryName(path)) return WithFolderBackslash(SystemSystemFolder()) + path;
  char full[MAX_PATH * 4];
  DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  return length > 0 && length < sizeof full ? std::string(full, length) : "";
}

// Counts up to the terminating NUL; called through the guard because the address comes from
// a foreign function.
uint32_t ForeignTextLength(const char* text) {
  uint32_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

}  // namespace

bool TDLLInvoke::Load(const std::string& path) {
  Unload();
  const std::string file = LibraryFile(path);
  if (file.empty()) return false;
  // No "insert a disk" or "cannot open" boxes for a path on a missing drive.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  Library = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  SetErrorMode(oldMode);
  return Library != nullptr;
}

void TDLLInvoke::Unload() {
  if (Library) FreeLibrary(Library);
  Library = nullptr;
}

TInvokeStatus TDLLInvoke::Invoke(const std::string& function, const std::vector<uint32_t>& args, uint32_t& result) {
  if (!Library) return TInvokeStatus::NoLibrary;
  if (function.empty() || function.find('\0') != std::string::npos) return TInvokeStatus::NoFunction;
  FARPROC entry = GetProcAddress(Library, function.c_str());
  if (!entry) return TInvokeStatus::NoFunction;
  return GuardedCall(reinterpret_cast<const void*>(entry), args, result) ? TInvokeStatus::Done
                                                                         : TInvokeStatus::Faulted;
}

bool TDLLInvoke::CopyForeignText(uint32_t address, std::string& text) {
  text.clear();
  uint32_t length = 0;
  if (!GuardedCall(reinterpret_cast<const void*>(&ForeignTextLength), {address}, length)) return false;
  // Every byte up to the NUL was just read without a fault.
  text.assign(reinterpret_cast<const char*>(uintptr_t(address)), length);
  return true;
}

}  // namespace vnt
