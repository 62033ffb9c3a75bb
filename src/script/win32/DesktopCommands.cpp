#include "script/win32/DesktopCommands.h"

#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

TDesktopCommands::TDesktopCommands(TScriptContext& context, TDesktopSources sources)
    : Context(context), Sources(std::move(sources)) {}

void TDesktopCommands::Install() {
  InstallMessageCommands(*this);
  InstallScriptFileCommands(*this);
  InstallRegistryCommands(*this);
  InstallFileCommands(*this);
  InstallShellCommands(*this);
  InstallWindowCommands(*this);
  Context.SetCommand(OpLoadPreviousSetup, [this](const ScriptStatement&) {
    if (LoadPreviousSetup) LoadPreviousSetup();
  });
}

HWND TDesktopCommands::Owner() const { return OwnerWindow ? OwnerWindow() : GetActiveWindow(); }

int TDesktopCommands::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) const {
  if (BoxHook) return BoxHook(Owner(), text, caption, flags);
  return MessageBoxA(Owner(), text.c_str(), caption.c_str(), flags);
}

void TDesktopCommands::ReportFileError() { Context.Assign("%ErrorCode%", "1"); }

}  // namespace vnt
