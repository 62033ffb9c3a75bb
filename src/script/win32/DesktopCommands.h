// The commands that the interpreter runs itself on the desktop PC: messages and questions,
// the script's text file, the registry, files and folders, shortcuts, windows and programs.
// One object for the whole program: it owns the state these commands share across scripts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "script/ScriptContext.h"
#include "script/win32/ScriptFile.h"
#include "script/win32/ScriptRegistry.h"

namespace vnt {

// Where IsProductInstalled looks. The default is the system's own; tests point it at a key
// of their own.
struct TDesktopSources {
  HKEY UninstallRoot = HKEY_LOCAL_MACHINE;
  std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
};

class TDesktopCommands {
public:
  // The context must outlive this object; Install registers commands that refer to it.
  explicit TDesktopCommands(TScriptContext& context, TDesktopSources sources = {});
  TDesktopCommands(const TDesktopCommands&) = delete;
  TDesktopCommands& operator=(const TDesktopCommands&) = delete;

  // Registers every command of this family with the context.
  void Install();

  // Owner of message boxes and of the shell's windows; the wizard sets it. Unset: the
  // thread's active window, or none.
  std::function<HWND()> OwnerWindow;
  // The maintenance detection run by LoadPreviousSetup; start-up sets it. Unset: nothing.
  std::function<void()> LoadPreviousSetup;
  // Shows the scripts' message boxes and answers the button; start-up sets it so that a run
  // without a person answers them by rule. Unset: MessageBoxA.
  std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)> BoxHook;

  HWND Owner() const;
  // A message box through BoxHook.
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) const;
  // %ErrorCode% := "1", the report of a file command without an open file.
  void ReportFileError();

  TScriptContext& Context;
  TScriptFile File;
  TScriptRegistry Registry;
  const TDesktopSources Sources;
};

}  // namespace vnt
