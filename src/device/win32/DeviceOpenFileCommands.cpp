// DeviceFileOpen .. DeviceFileClose on the one device file the tool holds. Without an open
// file every command but the open and the close only sets %ErrorCode% to "1"; the end of the
// file reads as the empty text.
#include <algorithm>

#include "device/DeviceCommandRules.h"
#include "device/win32/DeviceCommandFamilies.h"
#include "script/DesktopRules.h"

namespace vnt {

namespace {

// A single read asks for no more than this, so that a huge count cannot take all memory at once.
constexpr uint32_t ReadBlock = 1 << 16;
// Lines are read in blocks; what the line did not take is given back by a seek.
constexpr uint32_t LineBlock = 512;

bool FileOpen(const TRapiTool& tool) { return tool.FileHandle != INVALID_HANDLE_VALUE; }

void ReportFileError(TScriptContext& ctx) { ctx.Assign("%ErrorCode%", "1"); }

// Up to count bytes from the current position; fewer at the end of the file.
std::string ReadUpTo(TRapiTool& tool, int32_t count) {
  std::string text;
  uint32_t left = count > 0 ? uint32_t(count) : 0;
  while (left > 0) {
    std::string block(std::min(left, ReadBlock), '\0');
    uint32_t got = 0;
    if (!tool.ReadFilePart(block.data(), uint32_t(block.size()), got) || got == 0) break;
    text.append(block, 0, got);
    left -= got;
  }
  return text;
}

std::string ReadLine(TRapiTool& tool) {
  int64_t start = tool.GetFilePos();
  if (start < 0) return {};
  TScriptLine line = ReadScriptLineFromBlocks([&tool] { return ReadUpTo(tool, LineBlock); });
  tool.SeekFile(int32_t(start + int64_t(line.Consumed)), 0);
  return line.Text;
}

// At the end of the file; false when any of it could not be written.
bool Append(TRapiTool& tool, const std::string& bytes) {
  if (!tool.SeekFile(0, 1)) return false;
  return bytes.empty() || tool.WriteFile(bytes.data(), uint32_t(bytes.size()));
}

}  // namespace

void InstallDeviceOpenFileCommands(TDeviceCommandSet& device) {
  TScriptContext& ctx = device.Context;
  TRapiTool& tool = device.Tool;
  device.Set(OpDeviceFileOpen, [&ctx, &tool](const ScriptStatement& s) {
    bool opened = tool.OpenFile(ctx.Expand(s.F[1]), DeviceSignature(ctx.Expand(s.F[2])));
    ctx.Assign(s.F[0], opened ? "OK" : "ERROR");
  });
  auto write = [&ctx, &tool](const ScriptStatement& s, const char* ending) {
    if (!FileOpen(tool) || !Append(tool, ctx.Expand(s.F[0]) + ending)) ReportFileError(ctx);
  };
  device.Set(OpDeviceFileWrite, [write](const ScriptStatement& s) { write(s, ""); });
  device.Set(OpDeviceFileWriteLine, [write](const ScriptStatement& s) { write(s, "\r\n"); });
  device.Set(OpDeviceFileRead, [&ctx, &tool](const ScriptStatement& s) {
    if (!FileOpen(tool)) return ReportFileError(ctx);
    ctx.Assign(s.F[0], ReadUpTo(tool, TScriptContext::AsInteger(ctx.Expand(s.F[1]))));
  });
  device.Set(OpDeviceFileReadLine, [&ctx, &tool](const ScriptStatement& s) {
    if (!FileOpen(tool)) return ReportFileError(ctx);
    ctx.Assign(s.F[0], ReadLine(tool));
  });
  device.Set(OpDeviceFileClose, [&tool](const ScriptStatement&) { tool.CloseFile(); });
}

}  // namespace vnt
