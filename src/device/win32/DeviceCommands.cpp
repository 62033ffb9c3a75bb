// The device check in front of every device command, and the commands that tell what the
// device is: connection, owner, version, platform, processor, free space, serial number.
#include "device/win32/DeviceCommands.h"

#include "device/DeviceCommandRules.h"
#include "device/win32/DeviceCommandFamilies.h"
#include "platform/win32/SystemInfo.h"

namespace vnt {

namespace {

// Connected already, or a device answers and the connection opens (the wait window shows
// meanwhile through the tool's OnConnecting).
bool DeviceAvailable(TRapiTool& tool) { return tool.IsConnected() || tool.Connect(false); }

}  // namespace

void TDeviceCommandSet::Set(uint8_t opcode, TScriptContext::TCommand command) {
  Context.SetCommand(opcode, [&ctx = Context, &tool = Tool, opcode, command = std::move(command)](
                                 const ScriptStatement& s) {
    if (DeviceAvailable(tool)) return command(s);
    if (std::optional<std::string> answer = UnavailableAnswer(opcode, s.F[2])) ctx.Assign(s.F[0], *answer);
  });
}

void InstallDeviceFactCommands(TDeviceCommandSet& device) {
  TScriptContext& ctx = device.Context;
  TRapiTool& tool = device.Tool;
  // The one command that never connects: it only asks whether a device answers.
  ctx.SetCommand(OpDeviceConnected, [&ctx, &tool](const ScriptStatement& s) {
    ctx.Assign(s.F[0], tool.Probe() ? "1" : "0");
  });
  device.Set(OpGetDeviceOwner, [&ctx, &tool](const ScriptStatement& s) {
    std::string text;
    if (std::optional<TOwnerField> which = OwnerFieldByKeyword(s.F[1])) tool.GetOwnerInfo(int(*which), text);
    ctx.Assign(s.F[0], text);
  });
  device.Set(OpGetDeviceOSVersion, [&ctx, &tool](const ScriptStatement& s) {
    std::optional<int> part = OsVersionPartByKeyword(s.F[1]);
    ctx.Assign(s.F[0], OsVersionAnswer(part ? tool.GetOsVersion(*part) : ""));
  });
  device.Set(OpGetDevicePlatform, [&ctx, &tool](const ScriptStatement& s) {
    std::string name;
    tool.FindPlatform(name);
    ctx.Assign(s.F[0], name);
  });
  device.Set(OpGetDeviceProcessor,
             [&ctx, &tool](const ScriptStatement& s) { ctx.Assign(s.F[0], tool.GetProcessorName()); });
  // The platform found must take the device's processor in its second set.
  device.Set(OpIsProcessorSupported,
             [&ctx, &tool](const ScriptStatement& s) { ctx.Assign(s.F[0], tool.InExtraProcessors() ? "1" : "0"); });
  device.Set(OpGetDeviceFreeSpace, [&ctx, &tool](const ScriptStatement& s) {
    ctx.Assign(s.F[0], FreeSpaceAnswer(tool.GetFreeStorage(), s.F[1], TSystemInfo::DecimalSeparator()));
  });
  device.Set(OpGetDeviceSerial,
             [&ctx, &tool](const ScriptStatement& s) { ctx.Assign(s.F[0], tool.GetSerialNumber()); });
  device.Set(OpIsXScaleDevice,
             [&ctx, &tool](const ScriptStatement& s) { ctx.Assign(s.F[0], tool.GetIsXScale() ? "1" : "0"); });
  device.Set(OpDeviceRunProgram, [&ctx, &tool](const ScriptStatement& s) {
    tool.RunProgram(ctx.Expand(s.F[0]), ctx.Expand(s.F[1]));
  });
}

void RegisterDeviceCommands(TScriptContext& context, TRapiTool& tool) {
  TDeviceCommandSet device{context, tool};
  InstallDeviceFactCommands(device);
  InstallDeviceFileCommands(device);
  InstallDeviceOpenFileCommands(device);
  InstallDeviceRegistryCommands(device);
}

}  // namespace vnt
