// MessageBox and AskYesNo: modal boxes owned by the wizard's active window.
#include "script/DesktopRules.h"
#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

namespace {

UINT IconFlags(const std::string& keyword) {
  switch (MessageIconOf(keyword)) {
    case TMessageIcon::Question: return MB_ICONQUESTION;
    case TMessageIcon::Information: return MB_ICONINFORMATION;
    case TMessageIcon::Error: return MB_ICONERROR;
    case TMessageIcon::Warning: return MB_ICONWARNING;
    case TMessageIcon::None: break;
  }
  return 0;
}

}  // namespace

void InstallMessageCommands(TDesktopCommands& desktop) {
  TScriptContext& ctx = desktop.Context;
  ctx.SetCommand(OpMessageBox, [&desktop, &ctx](const ScriptStatement& s) {
    std::string caption = ctx.Expand(s.F[0]), text = ctx.Expand(s.F[1]);
    desktop.ShowMessageBox(text, caption, MB_OK | IconFlags(s.F[2]));
  });
  ctx.SetCommand(OpAskYesNo, [&desktop, &ctx](const ScriptStatement& s) {
    std::string caption = ctx.Expand(s.F[1]), text = ctx.Expand(s.F[2]);
    UINT defaultButton = DefaultAnswerIsNo(ctx.Expand(s.F[0])) ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    int answer = desktop.ShowMessageBox(text, caption, MB_YESNO | defaultButton | IconFlags(s.F[3]));
    ctx.Assign(s.F[0], answer == IDYES ? "YES" : "NO");
  });
}

}  // namespace vnt
