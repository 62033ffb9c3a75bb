// The device registry: DeviceRegRead, DeviceRegWrite, DeviceRegDelete, and whether this
// product is installed on the device. Each command leaves no key open behind it.
#include "device/DeviceCommandRules.h"
#include "device/win32/DeviceCommandFamilies.h"
#include "script/DesktopRules.h"

namespace vnt {

namespace {

HKEY RootKey(const std::string& keyword) {
  switch (DeviceRegRoot(keyword)) {
    case RootClasses: return HKEY_CLASSES_ROOT;
    case RootLocalMachine: return HKEY_LOCAL_MACHINE;
    default: return HKEY_CURRENT_USER;
  }
}

// A string value's text or a 32-bit number value in decimal; none for anything else.
std::optional<std::string> ReadValue(TRapiTool& tool, const std::string& name) {
  uint32_t type = tool.GetValueType(name);
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::string text;
    if (tool.ReadString(name, text)) return text;
  } else if (type == REG_DWORD) {
    int32_t number = 0;
    if (tool.ReadInteger(name, number)) return std::to_string(uint32_t(number));
  }
  return std::nullopt;
}

std::optional<std::string> RegRead(TRapiTool& tool, HKEY root, const std::string& path, const std::string& name) {
  if (!tool.OpenKey(root, path, false)) return std::nullopt;
  std::optional<std::string> value = ReadValue(tool, name);
  tool.CloseKey();
  return value;
}

void RegDelete(TRapiTool& tool, HKEY root, const std::string& path, const std::string& name) {
  if (!tool.OpenKey(root, path, false)) return;
  bool valueThere = tool.ValueExists(name);
  if (valueThere) tool.DeleteValue(name);
  tool.CloseKey();
  // An empty path would name the root itself, which is never deleted.
  if (!valueThere && name.empty() && !path.empty()) tool.DeleteKey(root, path);
}

}  // namespace

void InstallDeviceRegistryCommands(TDeviceCommandSet& device) {
  TScriptContext& ctx = device.Context;
  TRapiTool& tool = device.Tool;
  device.Set(OpDeviceRegRead, [&ctx, &tool](const ScriptStatement& s) {
    std::optional<std::string> value =
        RegRead(tool, RootKey(s.F[1]), NormalRegistryKeyPath(ctx.Expand(s.F[2])), ctx.Expand(s.F[3]));
    ctx.Assign(s.F[0], value ? *value : ctx.Expand(s.F[4]));
  });
  device.Set(OpDeviceRegWrite, [&ctx, &tool](const ScriptStatement& s) {
    std::string path = NormalRegistryKeyPath(ctx.Expand(s.F[1]));
    std::string name = ctx.Expand(s.F[2]), value = ctx.Expand(s.F[3]);
    // The number is checked before the key is touched: a value that stops the script changes nothing.
    std::optional<uint32_t> number;
    if (PassesRegNumberTest(value)) number = RegWriteNumber(name, value);
    if (!tool.OpenKey(RootKey(s.F[0]), path, true)) return;
    if (number)
      tool.WriteInteger(name, int32_t(*number));
    else
      tool.WriteString(name, value);
    tool.CloseKey();
  });
  device.Set(OpDeviceRegDelete, [&ctx, &tool](const ScriptStatement& s) {
    RegDelete(tool, RootKey(s.F[0]), NormalRegistryKeyPath(ctx.Expand(s.F[1])), ctx.Expand(s.F[2]));
  });
  device.Set(OpIsProductInstalledOnDevice, [&ctx, &tool](const ScriptStatement& s) {
    bool installed = tool.IsAppInstalled(ctx.Expand("%SoftwareName%"), ctx.Expand("%CompanyName%"));
    ctx.Assign(s.F[0], installed ? "1" : "0");
  });
}

}  // namespace vnt
