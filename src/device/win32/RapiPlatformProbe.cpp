// The platform probe: a small program copied to the device and started there writes the
// device's platform name, serial number and XScale flag into the device registry.
#include "device/win32/RapiProbePrograms.h"
#include "device/win32/RapiTool.h"

namespace vnt {

namespace {

const char* const ProbeProgram = "\\vNT.exe";
const char* const ProbeKey = "Software\\QX\\Vantry";
constexpr DWORD PollMs = 100;

}  // namespace

bool TRapiTool::RunPlatformProbe() {
  PlatformName.clear();
  SerialNumber.clear();
  IsXScale = false;
  auto create = Entry<PCeCreateFile>(TRapiEntry::CeCreateFile);
  auto write = Entry<PCeWriteFile>(TRapiEntry::CeWriteFile);
  if (!Connected || !create || !write) return false;

  HANDLE file = create(DeviceText(ProbeProgram).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const std::string& program = ProbeProgramFor(ProcessorFamilyOf(GetProcessorType()));
  if (!program.empty()) {
    DWORD moved = 0;
    if (!write(file, program.data(), DWORD(program.size()), &moved, nullptr) || moved != program.size()) {
      CloseDeviceHandle(file);
      DeleteFile(ProbeProgram);
      return false;
    }
  }
  CloseDeviceHandle(file);
  if (!RunProgram(ProbeProgram, "")) {
    DeleteFile(ProbeProgram);  // a program that did not start is not left on the device
    return false;
  }

  bool finished = false;
  // The key a script holds open stays open across the probe.
  HKEY scriptKey = KeyHandle;
  KeyHandle = NoKey;
  if (OpenKey(HKEY_LOCAL_MACHINE, ProbeKey, true)) {
    DWORD start = GetTickCount();
    int32_t done;
    while (!(finished = ReadInteger("Finished", done)) && Connected && GetTickCount() - start < ProbeTimeLimitMs) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
      PumpMessages();
    }
    if (QuitCode) PostQuitMessage(*QuitCode);
    QuitCode.reset();
    if (finished) {
      std::string text;
      int32_t xscale;
      if (ReadString("Platform", text)) PlatformName = text;
      if (ReadString("Serial", text)) SerialNumber = text;
      if (ReadInteger("XScale", xscale)) IsXScale = xscale == 1;
    }
    for (const char* name : {"Finished", "Platform", "Serial", "XScale"}) DeleteValue(name);
    CloseKey();
  }
  KeyHandle = scriptKey;
  DeleteKey(HKEY_LOCAL_MACHINE, ProbeKey);
  DeleteKey(HKEY_LOCAL_MACHINE, "Software\\QX");
  DeleteFile(ProbeProgram);
  return finished && !PlatformName.empty();
}

}  // namespace vnt
