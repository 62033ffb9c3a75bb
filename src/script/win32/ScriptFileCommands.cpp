// FileOpen .. FileClose on the one script file. Without an open file every command but
// FileOpen and FileClose only sets %ErrorCode% to "1".
#include "script/DesktopRules.h"
#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

namespace {

std::string OpenFile(TScriptFile& file, const std::string& path, const std::string& signature) {
  // A file left open stays the script's file; the new name is not looked at.
  if (file.IsOpen()) return "OK";
  if (!file.Open(path)) return "ERROR";
  if (!SignatureIsChecked(signature)) return "OK";
  return SignatureAnswer(signature, file.ReadSignature());
}

}  // namespace

void InstallScriptFileCommands(TDesktopCommands& desktop) {
  TScriptContext& ctx = desktop.Context;
  TScriptFile& file = desktop.File;
  ctx.SetCommand(OpFileOpen, [&ctx, &file](const ScriptStatement& s) {
    ctx.Assign(s.F[0], OpenFile(file, ctx.Expand(s.F[1]), ctx.Expand(s.F[2])));
  });
  auto write = [&desktop, &ctx, &file](const ScriptStatement& s, const char* ending) {
    if (!file.IsOpen()) return desktop.ReportFileError();
    file.Append(ctx.Expand(s.F[0]) + ending);
  };
  ctx.SetCommand(OpFileWrite, [write](const ScriptStatement& s) { write(s, ""); });
  ctx.SetCommand(OpFileWriteLine, [write](const ScriptStatement& s) { write(s, "\r\n"); });
  ctx.SetCommand(OpFileRead, [&desktop, &ctx, &file](const ScriptStatement& s) {
    if (!file.IsOpen()) return desktop.ReportFileError();
    if (file.AtEnd()) return ctx.Assign(s.F[0], "EOF");
    ctx.Assign(s.F[0], file.Read(TScriptContext::AsInteger(ctx.Expand(s.F[1]))));
  });
  ctx.SetCommand(OpFileReadLine, [&desktop, &ctx, &file](const ScriptStatement& s) {
    if (!file.IsOpen()) return desktop.ReportFileError();
    ctx.Assign(s.F[0], file.AtEnd() ? std::string("EOF") : file.ReadLine());
  });
  ctx.SetCommand(OpFileClose, [&file](const ScriptStatement&) { file.Close(); });
}

}  // namespace vnt
