// Shortcuts, documents and programs: CreateShortcut, DeleteShortcut, OpenDocument,
// ExecuteProgram. Failures are silent.
#include "package/SystemRules.h"
#include "platform/win32/ShellLink.h"
#include "platform/win32/SystemServices.h"
#include "script/DesktopRules.h"
#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

namespace {

struct TShortcut {
  std::string Target, Arguments, WorkingFolder;
};

void CreateShortcutFile(const std::string& path, const TShortcut& shortcut) {
  TShellLink link;
  if (!link) return;
  IShellLinkA* l = link.Link();
  l->SetPath(shortcut.Target.c_str());
  l->SetArguments(shortcut.Arguments.c_str());
  if (!shortcut.WorkingFolder.empty()) l->SetWorkingDirectory(shortcut.WorkingFolder.c_str());
  l->SetShowCmd(SW_SHOW);
  link.Save(path);
}

}  // namespace

void InstallShellCommands(TDesktopCommands& desktop) {
  TScriptContext& ctx = desktop.Context;
  ctx.SetCommand(OpCreateShortcut, [&ctx](const ScriptStatement& s) {
    CreateShortcutFile(ShortcutFilePath(ctx.Expand(s.F[0]), ctx.Expand(s.F[1])),
                       {ctx.Expand(s.F[2]), ctx.Expand(s.F[3]), ctx.Expand(s.F[4])});
  });
  ctx.SetCommand(OpDeleteShortcut, [&ctx](const ScriptStatement& s) {
    DeleteFileA(ShortcutFilePath(ctx.Expand(s.F[0]), ctx.Expand(s.F[1])).c_str());
  });
  ctx.SetCommand(OpOpenDocument, [&desktop, &ctx](const ScriptStatement& s) {
    std::string file = ctx.Expand(s.F[0]);
    ShellOpen(desktop.Owner(), file, "", FolderOfFile(file), SW_SHOWNORMAL);
  });
  ctx.SetCommand(OpExecuteProgram, [&ctx](const ScriptStatement& s) {
    std::string program = ctx.Expand(s.F[0]);
    bool wait = s.F[2] == "1";
    DWORD error = 0;
    RunProgram(program, ctx.Expand(s.F[1]), FolderOfFile(program), error, wait, wait);
  });
}

}  // namespace vnt
