// The device the stand-in rapi.dll pretends to reach: a folder on the PC that holds its
// settings (device.ini), its file system (fs\), its registry (registry.txt) and a log of the
// calls the tests count (rapi.log).
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// The device folder: %VNT_DEVICE_DIR%, else C:\vntdevice.
std::wstring DeviceFolder();
// A setting of device.ini's [Device] section.
int SettingInt(const wchar_t* name, int fallback);
std::wstring SettingText(const wchar_t* name, const wchar_t* fallback);
// Whole files of the device folder, by Win32 (wide names).
std::string ReadWhole(const std::wstring& path);
void WriteWhole(const std::wstring& path, const std::string& bytes, bool append);
// Appends a line to rapi.log.
void Log(const std::string& line);

// The PC path of a device path ("\Windows\a.txt" -> <folder>\fs\Windows\a.txt); empty for a
// path that is not absolute or that climbs out with "..".
std::wstring HostPath(const wchar_t* devicePath);
bool IsProbeProgram(const wchar_t* devicePath);
std::string Narrow(const std::wstring& text);

// The connection: started by CeRapiInitEx, answered after the configured delay.
bool IsConnected();
HRESULT StartConnection(HANDLE& event);
HRESULT ConnectNow();
void EndConnection();

}  // namespace standin
