// The shell's link object with its persist-file interface: what a shortcut file is written
// and read with. COM must be initialised for the thread (the program does that for its run).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/SystemServices.h"

namespace vnt {

class TShellLink {
public:
  // Empty (false) when COM, ole32 or the link object is not available.
  TShellLink();
  ~TShellLink();
  TShellLink(const TShellLink&) = delete;
  TShellLink& operator=(const TShellLink&) = delete;

  explicit operator bool() const { return LinkObject && File; }
  IShellLinkA* Link() const { return LinkObject; }
  // The file name goes to the shell as UTF-16 converted from the system code page.
  bool Save(const std::string& path);
  bool Load(const std::string& path);

private:
  // ole32 is loaded by path and found at run time: the stub links no COM library. It is
  // declared first so that it outlives the interfaces.
  TSystemLibrary Ole{"ole32.dll"};
  IShellLinkA* LinkObject = nullptr;
  IPersistFile* File = nullptr;
};

}  // namespace vnt
