// CEAPPMGR.EXE stand-in: reads the installation files named as its arguments, picks the
// cabinet that suits the device behind rapi.dll, copies it to the device and marks the
// application installed in the device's registry. It shows no window; what it reads and
// decides goes, one line each, to ceappmgr.log beside it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "CabChoice.h"

namespace {

// The Remote API as rapi.dll exports it.
struct TRapiInit {
  DWORD cbSize;
  HANDLE heRapiInit;
  HRESULT hrRapiInit;
};
struct TCeOsVersionInfo {
  DWORD dwOSVersionInfoSize, dwMajorVersion, dwMinorVersion, dwBuildNumber, dwPlatformId;
  WCHAR szCSDVersion[128];
};
using TCeRapiInit = HRESULT(WINAPI*)();
using TCeRapiInitEx = HRESULT(WINAPI*)(TRapiInit*);
using TCeRapiUninit = HRESULT(WINAPI*)();
using TCeGetSystemInfo = void(WINAPI*)(SYSTEM_INFO*);
using TCeGetVersionEx = BOOL(WINAPI*)(TCeOsVersionInfo*);
using TCeCreateFile = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE);
using TCeWriteFile = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, DWORD*, OVERLAPPED*);
using TCeCloseHandle = BOOL(WINAPI*)(HANDLE);
using TCeCreateDirectory = BOOL(WINAPI*)(LPCWSTR, SECURITY_ATTRIBUTES*);
using TCeRegCreateKeyEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, SECURITY_ATTRIBUTES*, HKEY*, DWORD*);
using TCeRegSetValueEx = LONG(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);
using TCeRegCloseKey = LONG(WINAPI*)(HKEY);

const DWORD ConnectTimeoutMs = 15000;

std::ofstream Log;

void Note(const std::string& line) {
  Log << line << "\r\n";
  Log.flush();
}

std::string OwnFolder() {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path, n < MAX_PATH ? n : 0);
  size_t slash = p.find_last_of('\\');
  return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return L"";
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
  return wide;
}

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

// One value of the file; quotes around it go. Long values are cut, never overrun.
std::string IniValue(const std::string& file, const std::string& section, const char* key) {
  std::vector<char> buffer(32768);
  DWORD n = GetPrivateProfileStringA(section.c_str(), key, "", buffer.data(), DWORD(buffer.size()), file.c_str());
  std::string value(buffer.data(), n < buffer.size() ? n : 0);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return value;
}

struct TInstallFile {
  std::string Path, Folder, Component, Uninstall, CabFiles;
};

bool ReadInstallFile(const std::string& argument, TInstallFile& f) {
  char full[MAX_PATH * 4] = "";
  DWORD n = GetFullPathNameA(argument.c_str(), sizeof full, full, nullptr);
  f.Path = n > 0 && n < sizeof full ? full : argument;
  if (GetFileAttributesA(f.Path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Note("file " + f.Path + ": missing, skipped");
    return false;
  }
  size_t slash = f.Path.find_last_of('\\');
  f.Folder = slash == std::string::npos ? "." : f.Path.substr(0, slash);
  std::string version = IniValue(f.Path, "CEAppManager", "Version");
  f.Component = IniValue(f.Path, "CEAppManager", "Component");
  if (f.Component.empty()) {
    Note("file " + f.Path + ": no [CEAppManager] Component, skipped");
    return false;
  }
  f.Uninstall = IniValue(f.Path, f.Component, "Uninstall");
  f.CabFiles = IniValue(f.Path, f.Component, "CabFiles");
  Note("file " + f.Path + ": version \"" + version + "\", component \"" + f.Component + "\", description \"" +
       IniValue(f.Path, f.Component, "Description") + "\", uninstall \"" + f.Uninstall + "\", icon \"" +
       IniValue(f.Path, f.Component, "IconFile") + "\", cabinets \"" + f.CabFiles + "\"");
  return true;
}

// The key name under Software\Apps: "Company Component". The Uninstall text carries both;
// a file without it takes the company an earlier file of the run named, else none.
std::string AppKeyName(const TInstallFile& f, std::string& company) {
  const std::string tail = " " + f.Component;
  if (!f.Uninstall.empty()) {
    if (f.Uninstall.size() > tail.size() && f.Uninstall.compare(f.Uninstall.size() - tail.size(), tail.size(), tail) == 0)
      company = f.Uninstall.substr(0, f.Uninstall.size() - tail.size());
    return f.Uninstall;
  }
  return company.empty() ? f.Component : company + tail;
}

class TDevice {
public:
  ~TDevice() {
    if (Connected && CeUninit) CeUninit();
    if (Library) FreeLibrary(Library);
  }

  bool Connect() {
    Library = LoadLibraryA("rapi.dll");
    if (!Library) return Fail("rapi.dll cannot be loaded (error " + std::to_string(GetLastError()) + ")");
    Get(CeInitEx, "CeRapiInitEx");
    Get(CeInit, "CeRapiInit");
    Get(CeUninit, "CeRapiUninit");
    Get(CeSystemInfo, "CeGetSystemInfo");
    Get(CeVersion, "CeGetVersionEx");
    Get(CeCreateFile, "CeCreateFile");
    Get(CeWriteFile, "CeWriteFile");
    Get(CeCloseHandle, "CeCloseHandle");
    Get(CeCreateDirectory, "CeCreateDirectory");
    Get(CeRegCreateKeyEx, "CeRegCreateKeyEx");
    Get(CeRegSetValueEx, "CeRegSetValueEx");
    Get(CeRegCloseKey, "CeRegCloseKey");
    if (!CeUninit || !CeSystemInfo || !CeCreateFile || !CeWriteFile || !CeCloseHandle || !CeRegCreateKeyEx || !CeRegSetValueEx)
      return Fail("rapi.dll lacks an entry point this program needs");
    HRESULT result = E_FAIL;
    if (CeInitEx) {
      TRapiInit init{sizeof(TRapiInit), nullptr, E_FAIL};
      result = CeInitEx(&init);
      if (SUCCEEDED(result)) {
        DWORD waited = init.heRapiInit ? WaitForSingleObject(init.heRapiInit, ConnectTimeoutMs) : WAIT_FAILED;
        result = waited == WAIT_OBJECT_0 ? init.hrRapiInit : HRESULT(0x800705B4);  // timed out
        Connected = true;  // an Ex start is always ended with Uninit
      }
    } else if (CeInit) {
      result = CeInit();
      Connected = SUCCEEDED(result);
    }
    if (FAILED(result)) return Fail("no device connected (" + Hex(DWORD(result)) + ")");
    return true;
  }

  std::string Family() {
    SYSTEM_INFO info{};
    CeSystemInfo(&info);
    std::string facts = "device: architecture " + std::to_string(info.wProcessorArchitecture) + ", processor type " +
                        std::to_string(info.dwProcessorType);
    TCeOsVersionInfo version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (CeVersion && CeVersion(&version)) {
      version.szCSDVersion[127] = L'\0';
      facts += ", Windows CE " + std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion) +
               " build " + std::to_string(version.dwBuildNumber) + ", platform " + std::to_string(version.dwPlatformId);
    }
    std::string family = appmgr::ProcessorFamily(info.wProcessorArchitecture, info.dwProcessorType);
    Note(facts + ", family " + (family.empty() ? "unknown" : family));
    return family;
  }

  bool CopyCabinet(const std::string& source, const std::string& name) {
    HANDLE in = ::CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return Fail("cabinet " + source + " cannot be read");
    if (CeCreateDirectory) {
      CeCreateDirectory(L"\\Windows\\AppMgr", nullptr);
      CeCreateDirectory(L"\\Windows\\AppMgr\\Install", nullptr);
    }
    std::string target = "\\Windows\\AppMgr\\Install\\" + name;
    HANDLE out = CeCreateFile(Wide(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
      ::CloseHandle(in);
      return Fail("device file " + target + " cannot be made");
    }
    std::vector<char> buffer(65536);
    unsigned long long total = 0;
    bool ok = true;
    for (DWORD got = 0; ok && ReadFile(in, buffer.data(), DWORD(buffer.size()), &got, nullptr) && got > 0;) {
      DWORD put = 0;
      ok = CeWriteFile(out, buffer.data(), got, &put, nullptr) && put == got;
      total += put;
    }
    ::CloseHandle(in);
    ok = CeCloseHandle(out) && ok;
    if (!ok) return Fail("copying " + source + " to the device failed after " + std::to_string(total) + " bytes");
    Note("copied " + source + " to " + target + " (" + std::to_string(total) + " bytes)");
    return true;
  }

  bool MarkInstalled(const std::string& keyName) {
    std::string path = "Software\\Apps\\" + keyName;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, Wide(path).c_str(), 0, nullptr, 0, 0, nullptr, &key, &disposition);
    if (result != ERROR_SUCCESS) return Fail("device key HKLM\\" + path + " cannot be made (" + std::to_string(result) + ")");
    DWORD one = 1;
    result = CeRegSetValueEx(key, L"Instl", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
    if (CeRegCloseKey) CeRegCloseKey(key);
    if (result != ERROR_SUCCESS) return Fail("device value Instl cannot be set (" + std::to_string(result) + ")");
    Note("registered HKLM\\" + path + " Instl = 1");
    return true;
  }

private:
  template <typename T> void Get(T& entry, const char* name) {
    entry = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(Library, name)));
  }
  static bool Fail(const std::string& why) {
    Note(why);
    return false;
  }

  HMODULE Library = nullptr;
  bool Connected = false;
  TCeRapiInit CeInit = nullptr;
  TCeRapiInitEx CeInitEx = nullptr;
  TCeRapiUninit CeUninit = nullptr;
  TCeGetSystemInfo CeSystemInfo = nullptr;
  TCeGetVersionEx CeVersion = nullptr;
  TCeCreateFile CeCreateFile = nullptr;
  TCeWriteFile CeWriteFile = nullptr;
  TCeCloseHandle CeCloseHandle = nullptr;
  TCeCreateDirectory CeCreateDirectory = nullptr;
  TCeRegCreateKeyEx CeRegCreateKeyEx = nullptr;
  TCeRegSetValueEx CeRegSetValueEx = nullptr;
  TCeRegCloseKey CeRegCloseKey = nullptr;
};

bool InstallOne(TDevice& device, const std::string& family, const TInstallFile& f, std::string& company) {
  std::string keyName = AppKeyName(f, company);
  std::vector<std::string> cabs = appmgr::SplitCabFiles(f.CabFiles);
  std::string cab = appmgr::ChooseCabinet(cabs, family);
  if (cab.empty()) {
    Note("component \"" + f.Component + "\": no cabinet listed, skipped");
    return false;
  }
  if (cab.find_first_of("\\/:") != std::string::npos) {
    Note("component \"" + f.Component + "\": cabinet \"" + cab + "\" is not a plain file name, skipped");
    return false;
  }
  Note("component \"" + f.Component + "\": chose " + cab);
  return device.CopyCabinet(f.Folder + "\\" + cab, cab) && device.MarkInstalled(keyName);
}

}  // namespace

int main(int argc, char** argv) {
  // A message queue that is waited on once: whoever waits for this program to take input
  // goes on at once.
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);

  Log.open(OwnFolder() + "\\ceappmgr.log", std::ios::binary | std::ios::app);
  Note("run with " + std::to_string(argc - 1) + " file(s)");
  // A test that ends the setup while the Application Manager runs holds it here.
  const std::string hold = OwnFolder() + "\\ceappmgr.hold";
  if (GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES) {
    Note("held");
    Log.flush();
    while (GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES) Sleep(100);
  }
  std::vector<TInstallFile> files;
  for (int i = 1; i < argc; ++i) {
    TInstallFile f;
    if (ReadInstallFile(argv[i], f)) files.push_back(f);
  }
  if (files.empty()) {
    Note("nothing to install");
    return 1;
  }
  TDevice device;
  if (!device.Connect()) return 2;
  std::string family = device.Family();
  std::string company;
  int failed = 0;
  for (const auto& f : files)
    if (!InstallOne(device, family, f, company)) ++failed;
  Note(failed ? std::to_string(failed) + " component(s) not installed" : "done");
  return failed ? 3 : 0;
}
