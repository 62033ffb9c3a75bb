// Files and folders on the device, and copies between PC and device.
#include "device/DeviceCommandRules.h"
#include "device/win32/DeviceCommandFamilies.h"
#include "script/DesktopRules.h"

namespace vnt {

namespace {

std::string DeviceFileInfo(TRapiTool& tool, const std::string& path, const std::string& keyword) {
  TDeviceFileQuery query = DeviceFileQueryOf(keyword);
  std::string text;
  uint64_t size = 0;
  switch (query) {
    case TDeviceFileQuery::Existence:
      tool.GetFileInfo(path, 0, text, size);
      return text == "1" ? "1" : "0";
    case TDeviceFileQuery::Size: return tool.GetFileInfo(path, 4, text, size) ? std::to_string(size) : "0";
    default: return DevicePathAnswer(query, path);
  }
}

}  // namespace

void InstallDeviceFileCommands(TDeviceCommandSet& device) {
  TScriptContext& ctx = device.Context;
  TRapiTool& tool = device.Tool;
  device.Set(OpDeviceQueryFileInfo, [&ctx, &tool](const ScriptStatement& s) {
    ctx.Assign(s.F[0], DeviceFileInfo(tool, ctx.Expand(s.F[1]), s.F[2]));
  });
  device.Set(OpDeviceFindFile, [&ctx, &tool](const ScriptStatement& s) {
    ctx.Assign(s.F[0], tool.FileExists(FindFilePattern(ctx.Expand(s.F[2]), ctx.Expand(s.F[1]))) ? "1" : "0");
  });
  device.Set(OpDeviceCreateFolder, [&ctx, &tool](const ScriptStatement& s) { tool.CreateDir(ctx.Expand(s.F[0])); });
  device.Set(OpDeviceRemoveFolder, [&ctx, &tool](const ScriptStatement& s) { tool.RemoveDir(ctx.Expand(s.F[0])); });
  device.Set(OpDeviceCopyFile, [&ctx, &tool](const ScriptStatement& s) {
    tool.CopyOnDevice(ctx.Expand(s.F[0]), ctx.Expand(s.F[1]));
  });
  device.Set(OpDeviceMoveFile, [&ctx, &tool](const ScriptStatement& s) {
    tool.MoveOnDevice(ctx.Expand(s.F[0]), ctx.Expand(s.F[1]));
  });
  device.Set(OpDeviceDeleteFile, [&ctx, &tool](const ScriptStatement& s) { tool.DeleteFile(ctx.Expand(s.F[0])); });
  device.Set(OpCopyFileToDevice, [&ctx, &tool](const ScriptStatement& s) {
    tool.CopyToDevice(ctx.Expand(s.F[0]), ctx.Expand(s.F[1]));
  });
  device.Set(OpCopyFileFromDevice, [&ctx, &tool](const ScriptStatement& s) {
    tool.CopyFromDevice(ctx.Expand(s.F[0]), ctx.Expand(s.F[1]));
  });
}

}  // namespace vnt
