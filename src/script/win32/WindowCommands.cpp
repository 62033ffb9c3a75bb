// WindowExists and CloseWindow: top-level windows found by class and, optionally, title.
#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

namespace {

// An empty class finds nothing: asking the system with no class and no title would name
// an arbitrary window, which CloseWindow must never close.
HWND FindTopLevel(const std::string& windowClass, const std::string& title) {
  if (windowClass.empty()) return nullptr;
  return FindWindowA(windowClass.c_str(), title.empty() ? nullptr : title.c_str());
}

}  // namespace

void InstallWindowCommands(TDesktopCommands& desktop) {
  TScriptContext& ctx = desktop.Context;
  ctx.SetCommand(OpWindowExists, [&ctx](const ScriptStatement& s) {
    ctx.Assign(s.F[0], FindTopLevel(ctx.Expand(s.F[1]), ctx.Expand(s.F[2])) ? "1" : "0");
  });
  ctx.SetCommand(OpCloseWindow, [&ctx](const ScriptStatement& s) {
    HWND window = FindTopLevel(ctx.Expand(s.F[0]), ctx.Expand(s.F[1]));
    if (window) PostMessageA(window, s.F[2] == "1" ? WM_QUIT : WM_CLOSE, 0, 0);
  });
}

}  // namespace vnt
