// The connected Windows CE device, reached through rapi.dll: the connection, files and folders,
// copies between PC and device, the device registry, programs, and what the device is.
// Every operation but Connect, Probe and Disconnect fails at once without a connection; no
// failure is shown, the results tell.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "device/RapiDevice.h"
#include "device/win32/RapiApi.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

class TRapiTool {
public:
  TRapiTool();
  ~TRapiTool();
  TRapiTool(const TRapiTool&) = delete;
  TRapiTool& operator=(const TRapiTool&) = delete;

  bool CancelConnect = false;  // set from outside (a Cancel button) to give up a connection wait
  bool Connecting = false;
  bool Connected = false;
  std::string PlatformName;  // from the platform probe; empty until probed
  std::string SerialNumber;
  bool IsXScale = false;
  HANDLE FileHandle = INVALID_HANDLE_VALUE;
  HKEY KeyHandle = NoKey;
  TRapiDevices Definitions;
  // Called with false before and true after a connection attempt (the connection window).
  std::function<void(bool done)> OnConnecting;
  std::function<void(bool done)> OnDisconnecting;
  // Lets the windows work during waits and copies; empty dispatches what is queued.
  TMessagePump Pump;
  // How long the platform probe waits for the device program's answer: a program that never
  // reports must not hold the setup for ever.
  DWORD ProbeTimeLimitMs = 30000;
  // How long a connection is waited for; none: until it comes or is given up (CancelConnect).
  // A run without a person, where nobody can give up, sets one.
  std::optional<DWORD> ConnectTimeLimitMs;

  static inline const HKEY NoKey = reinterpret_cast<HKEY>(LONG_PTR(-1));

  bool Connect(bool skipProbe);
  // Whether a device answers; leaves the tool as it found it when not connected.
  bool Probe();
  bool Disconnect();
  bool IsConnected() const { return Connected; }

  // which: 0 owner name, 1 company.
  bool GetOwnerInfo(int which, std::string& text);
  // which: 0 major, 1 minor, 2 "major.minor"; empty on failure.
  std::string GetOsVersion(int which);
  bool RunProgram(const std::string& program, const std::string& arguments);

  // which: 0 exists (text "1" or "0"), 1 extension, 2 file name, 3 folder with backslash,
  // 4 size in bytes (also in text).
  bool GetFileInfo(const std::string& path, int which, std::string& text, uint64_t& size);
  bool FileExists(const std::string& path);
  bool CreateDir(const std::string& path);
  bool RemoveDir(const std::string& path);
  bool OpenFile(const std::string& path, uint32_t signature);
  bool CloseFile();
  bool ReadFile(void* buffer, uint32_t count);
  // Up to count bytes; moved tells how many came (0 at the end of the file).
  bool ReadFilePart(void* buffer, uint32_t count, uint32_t& moved);
  bool WriteFile(const void* buffer, uint32_t count);
  int64_t GetFilePos();  // -1 on failure
  // origin: 0 from the start, 1 from the end, 2 from the current position.
  bool SeekFile(int32_t offset, int origin);
  bool CopyOnDevice(const std::string& from, const std::string& to);
  bool MoveOnDevice(const std::string& from, const std::string& to);
  bool DeleteFile(const std::string& path);
  bool CopyToDevice(const std::string& pcPath, const std::string& devicePath);
  bool CopyFromDevice(const std::string& devicePath, const std::string& pcPath);

  bool OpenKey(HKEY root, const std::string& key, bool create);
  bool CloseKey();
  bool DeleteKey(HKEY root, const std::string& key);
  bool DeleteValue(const std::string& name);
  bool ValueExists(const std::string& name);
  uint32_t GetValueType(const std::string& name);
  bool ReadString(const std::string& name, std::string& text);
  bool ReadInteger(const std::string& name, int32_t& value);
  bool WriteString(const std::string& name, const std::string& text);
  bool WriteInteger(const std::string& name, int32_t value);

  int32_t GetProcessorType();  // -1 without a connection
  std::string GetProcessorName();
  bool IsAppInstalled(const std::string& application, const std::string& company);
  bool MatchesPlatform(const std::string& name);
  bool FindPlatform(std::string& name);
  int64_t GetFreeStorage();  // -1 on failure
  bool InExtraProcessors();
  std::string GetSerialNumber();
  bool GetIsXScale();

  void LoadDefinitions(TStream& s, bool withMatchByte, bool replace);
  void SaveDefinitions(TStream& s) const;

  // The longest text a registry string value takes here.
  static constexpr size_t MaxStringChars = 8191;
  static constexpr DWORD CopyBlockBytes = 8192;

private:
  template <class TFunction>
  TFunction Entry(TRapiEntry entry) {
    return Library ? Library->Get<TFunction>(entry) : nullptr;
  }
  bool EnsureLibrary();
  void PumpMessages();
  // Waits for the event while the windows work: until it is signalled, or, with a time
  // limit, until that passes. Answers whether it was signalled.
  bool WaitPumping(HANDLE event, std::optional<DWORD> limitMs);
  bool ReadVersion(int32_t& major, int32_t& minor);
  bool ProbeConnected();
  bool ProbeUnconnected();
  bool EnsurePlatformProbed();
  bool RunPlatformProbe();
  TDeviceFacts DeviceFacts();
  void ForgetDevice();
  bool CloseDeviceHandle(HANDLE& handle);
  // A value of a key other than the open one.
  bool QueryOtherKey(HKEY root, const std::string& key, const std::string& name, DWORD& type, std::string& data,
                     DWORD maxBytes);
  bool QueryValue(HKEY key, const std::string& name, DWORD& type, std::string& data, DWORD maxBytes);
  HANDLE OpenForReading(const std::string& devicePath);

  std::unique_ptr<TRapiLibrary> Library;
  std::optional<int> QuitCode;  // a quit request taken off the queue during a wait
};

}  // namespace vnt
