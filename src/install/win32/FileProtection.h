// Windows File Protection: whether the system guards a file, which a setup must then leave.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/SystemServices.h"

namespace vnt {

// The system's check is loaded at the first question and kept: loaded per file, it cost a run
// over many existing files more than their copying.
class TFileProtection {
public:
  bool Guards(const std::string& path);

private:
  using TCheck = BOOL(WINAPI*)(HANDLE, LPCWSTR);
  bool Loaded = false;
  std::optional<TSystemLibrary> Own, Older;
  TCheck Check = nullptr;
};

}  // namespace vnt
