#include "EmulatedDevice.h"

#include <atomic>
#include <vector>

namespace standin {

namespace {

std::atomic<bool> Connected{false};
HANDLE ConnectEvent = nullptr;  // handed to the caller, signalled when the device answers
HANDLE StopEvent = nullptr;     // ends a pending answer when the connection is closed
HANDLE AnswerThread = nullptr;

DWORD WINAPI Answer(void*) {
  DWORD delay = DWORD(SettingInt(L"ConnectDelayMs", 0));
  if (WaitForSingleObject(StopEvent, delay) == WAIT_TIMEOUT) {
    Connected = true;
    SetEvent(ConnectEvent);
  }
  return 0;
}

std::wstring IniPath() { return DeviceFolder() + L"\\device.ini"; }

}  // namespace

std::wstring DeviceFolder() {
  std::vector<wchar_t> buffer(32768);
  DWORD n = GetEnvironmentVariableW(L"VNT_DEVICE_DIR", buffer.data(), DWORD(buffer.size()));
  if (n == 0 || n >= buffer.size()) return L"C:\\vntdevice";
  std::wstring folder(buffer.data(), n);
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

int SettingInt(const wchar_t* name, int fallback) {
  return int(GetPrivateProfileIntW(L"Device", name, fallback, IniPath().c_str()));
}

std::wstring SettingText(const wchar_t* name, const wchar_t* fallback) {
  std::vector<wchar_t> buffer(4096);
  DWORD n = GetPrivateProfileStringW(L"Device", name, fallback, buffer.data(), DWORD(buffer.size()), IniPath().c_str());
  return std::wstring(buffer.data(), n);
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ReadWhole(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

void WriteWhole(const std::wstring& path, const std::string& bytes, bool append) {
  HANDLE file = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            append ? OPEN_ALWAYS : CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void Log(const std::string& line) { WriteWhole(DeviceFolder() + L"\\rapi.log", line + "\n", true); }

std::wstring HostPath(const wchar_t* devicePath) {
  if (!devicePath || devicePath[0] != L'\\') return {};
  std::wstring path = devicePath;
  for (size_t at = 0; (at = path.find(L"..", at)) != std::wstring::npos; ++at) {
    bool startsPart = at == 0 || path[at - 1] == L'\\';
    bool endsPart = at + 2 == path.size() || path[at + 2] == L'\\';
    if (startsPart && endsPart) return {};
  }
  while (path.size() > 1 && path.back() == L'\\') path.pop_back();
  return DeviceFolder() + L"\\fs" + (path == L"\\" ? L"" : path);
}

// Every Windows CE device has its root and its Windows folder.
void MakeStandardFolders() {
  CreateDirectoryW((DeviceFolder() + L"\\fs").c_str(), nullptr);
  CreateDirectoryW((DeviceFolder() + L"\\fs\\Windows").c_str(), nullptr);
}

bool IsProbeProgram(const wchar_t* devicePath) { return devicePath && lstrcmpiW(devicePath, L"\\vNT.exe") == 0; }

bool IsConnected() { return Connected; }

HRESULT StartConnection(HANDLE& event) {
  EndConnection();
  if (SettingInt(L"InitFails", 0)) return E_FAIL;
  MakeStandardFolders();
  ConnectEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  StopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  event = ConnectEvent;
  // A device that is not there never answers.
  if (SettingInt(L"Connected", 1)) AnswerThread = CreateThread(nullptr, 0, Answer, nullptr, 0, nullptr);
  Log("CeRapiInitEx");
  return S_OK;
}

HRESULT ConnectNow() {
  EndConnection();
  if (SettingInt(L"InitFails", 0) || !SettingInt(L"Connected", 1)) return E_FAIL;
  Sleep(DWORD(SettingInt(L"ConnectDelayMs", 0)));
  MakeStandardFolders();
  Connected = true;
  Log("CeRapiInit");
  return S_OK;
}

void EndConnection() {
  Connected = false;
  if (AnswerThread) {
    SetEvent(StopEvent);
    WaitForSingleObject(AnswerThread, INFINITE);
    CloseHandle(AnswerThread);
    AnswerThread = nullptr;
  }
  for (HANDLE* h : {&ConnectEvent, &StopEvent})
    if (*h) {
      CloseHandle(*h);
      *h = nullptr;
    }
}

}  // namespace standin
