// RegRead, RegWrite, RegDelete and IsProductInstalled.
#include "platform/win32/RegistryKeys.h"
#include "script/DesktopRules.h"
#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

void InstallRegistryCommands(TDesktopCommands& desktop) {
  TScriptContext& ctx = desktop.Context;
  TScriptRegistry& reg = desktop.Registry;
  ctx.SetCommand(OpRegRead, [&ctx, &reg](const ScriptStatement& s) {
    reg.SetRoot(s.F[1]);
    std::optional<std::string> value = reg.Read(NormalRegistryKeyPath(ctx.Expand(s.F[2])), ctx.Expand(s.F[3]));
    ctx.Assign(s.F[0], value ? *value : ctx.Expand(s.F[4]));
  });
  ctx.SetCommand(OpRegWrite, [&ctx, &reg](const ScriptStatement& s) {
    reg.SetRoot(s.F[0]);
    std::string path = NormalRegistryKeyPath(ctx.Expand(s.F[1]));
    std::string name = ctx.Expand(s.F[2]), value = ctx.Expand(s.F[3]);
    // The number is checked before the key is touched: a value that raises changes nothing.
    TRegData data = PassesRegNumberTest(value) ? TRegData(RegWriteNumber(name, value)) : TRegData(value);
    reg.Write(path, name, data);
  });
  ctx.SetCommand(OpRegDelete, [&ctx, &reg](const ScriptStatement& s) {
    reg.SetRoot(s.F[0]);
    reg.Delete(NormalRegistryKeyPath(ctx.Expand(s.F[1])), ctx.Expand(s.F[2]));
  });
  ctx.SetCommand(OpIsProductInstalled, [&desktop, &ctx](const ScriptStatement& s) {
    const TDesktopSources& at = desktop.Sources;
    TRegKeyHandle key = OpenFullAccess(
        at.UninstallRoot, UninstallEntryKey(at.UninstallKey, ctx.Expand(s.F[2]), ctx.Expand(s.F[1])));
    ctx.Assign(s.F[0], key && RegValueExists(key.Get(), "DisplayVersion") ? "1" : "0");
  });
}

}  // namespace vnt
