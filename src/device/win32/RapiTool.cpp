#include "device/win32/RapiTool.h"

namespace vnt {

namespace {

constexpr DWORD ProbeWaitMs = 2000;
constexpr DWORD UnchangedMajor = 1000000;

}  // namespace

TRapiTool::TRapiTool() { EnsureLibrary(); }

TRapiTool::~TRapiTool() {
  // Whoever set the procedures may be gone by now.
  OnConnecting = nullptr;
  OnDisconnecting = nullptr;
  CloseFile();
  CloseKey();
  Disconnect();
}

bool TRapiTool::EnsureLibrary() {
  if (!Library || !Library->Loaded()) Library = std::make_unique<TRapiLibrary>();
  return Library->Loaded();
}

void TRapiTool::PumpMessages() {
  if (Pump) {
    Pump();
  } else if (auto code = DispatchPendingMessages()) {
    QuitCode = code;
  }
}

bool TRapiTool::WaitPumping(HANDLE event, std::optional<DWORD> limitMs) {
  DWORD start = GetTickCount();
  bool signalled = false;
  for (;;) {
    PumpMessages();
    if (!limitMs && CancelConnect) break;
    DWORD timeout = INFINITE;
    if (limitMs) {
      DWORD passed = GetTickCount() - start;
      if (passed >= *limitMs) break;
      timeout = *limitMs - passed;
    }
    DWORD got = MsgWaitForMultipleObjects(1, &event, FALSE, timeout, QS_ALLINPUT);
    if (got == WAIT_OBJECT_0) {
      signalled = true;
      break;
    }
    if (got != WAIT_OBJECT_0 + 1) break;  // the time passed, or the wait itself failed
  }
  if (QuitCode) PostQuitMessage(*QuitCode);
  QuitCode.reset();
  return signalled;
}

bool TRapiTool::Connect(bool skipProbe) {
  if (Connecting) return false;
  if (Connected) return true;
  if (!EnsureLibrary()) return false;
  if (!skipProbe && !Probe()) return false;
  if (OnConnecting) OnConnecting(false);
  auto initEx = Entry<PCeRapiInitEx>(TRapiEntry::CeRapiInitEx);
  TRapiInit init{sizeof(TRapiInit), nullptr, S_OK};
  if (!initEx || FAILED(initEx(&init))) {
    if (OnConnecting) OnConnecting(true);
    return false;
  }
  CancelConnect = false;
  Connecting = true;
  // A wait that ends without the signal (given up, timed out, failed) is no connection.
  if (!WaitPumping(init.heRapiInit, ConnectTimeLimitMs) || CancelConnect) {
    // The started connection is ended, so that a later attempt can start afresh.
    if (auto uninit = Entry<PCeRapiUninit>(TRapiEntry::CeRapiUninit)) uninit();
    Connecting = false;
    if (OnConnecting) OnConnecting(true);
    return false;
  }
  Connecting = false;
  Connected = true;
  bool answered = ProbeConnected();
  if (OnConnecting) OnConnecting(true);
  return answered;
}

bool TRapiTool::Probe() {
  if (!EnsureLibrary()) return false;
  return Connected ? ProbeConnected() : ProbeUnconnected();
}

bool TRapiTool::ReadVersion(int32_t& major, int32_t& minor) {
  auto getVersion = Entry<PCeGetVersionEx>(TRapiEntry::CeGetVersionEx);
  if (!getVersion) return false;
  TCeOsVersionInfo info{};
  info.dwOSVersionInfoSize = sizeof info;
  info.dwMajorVersion = UnchangedMajor;
  // Some libraries answer true without filling the record in: the major number tells.
  if (!getVersion(&info) || info.dwMajorVersion == UnchangedMajor) return false;
  major = int32_t(info.dwMajorVersion);
  minor = int32_t(info.dwMinorVersion);
  return true;
}

bool TRapiTool::ProbeConnected() {
  int32_t major, minor;
  if (ReadVersion(major, minor)) return true;
  Disconnect();
  return false;
}

bool TRapiTool::ProbeUnconnected() {
  auto initEx = Entry<PCeRapiInitEx>(TRapiEntry::CeRapiInitEx);
  auto uninit = Entry<PCeRapiUninit>(TRapiEntry::CeRapiUninit);
  if (!initEx || !uninit) return false;
  TRapiInit init{sizeof(TRapiInit), nullptr, S_OK};
  if (FAILED(initEx(&init))) return false;
  // A steady flow of messages (a timer) must not keep the probe waiting: the limit is fixed.
  WaitPumping(init.heRapiInit, ProbeWaitMs);
  int32_t major, minor;
  bool answered = ReadVersion(major, minor);
  uninit();
  return answered;
}

bool TRapiTool::Disconnect() {
  if (!Connected) return true;
  if (OnDisconnecting) OnDisconnecting(false);
  auto uninit = Entry<PCeRapiUninit>(TRapiEntry::CeRapiUninit);
  HRESULT result = uninit ? uninit() : E_FAIL;
  Connected = false;
  ForgetDevice();
  if (OnDisconnecting) OnDisconnecting(true);
  return result != E_FAIL;
}

void TRapiTool::ForgetDevice() {
  // Handles of the closed connection mean nothing to the next device.
  FileHandle = INVALID_HANDLE_VALUE;
  KeyHandle = NoKey;
  PlatformName.clear();
  SerialNumber.clear();
  IsXScale = false;
}

std::string TRapiTool::GetOsVersion(int which) {
  int32_t major, minor;
  if (!Connected || !ReadVersion(major, minor)) return {};
  switch (which) {
    case 0: return std::to_string(major);
    case 1: return std::to_string(minor);
    case 2: return std::to_string(major) + "." + std::to_string(minor);
    default: return {};
  }
}

bool TRapiTool::GetOwnerInfo(int which, std::string& text) {
  text.clear();
  int32_t major, minor;
  DWORD type;
  std::string record;
  if (!Connected || (which != 0 && which != 1) || !ReadVersion(major, minor)) return false;
  if (!QueryOtherKey(HKEY_CURRENT_USER, "ControlPanel\\Owner", "Owner", type, record, 0x10000)) return false;
  std::u16string owner = OwnerRecordText(record, TOwnerField(which), major);
  text = DesktopText(std::wstring(owner.begin(), owner.end()));
  return true;
}

int32_t TRapiTool::GetProcessorType() {
  auto getInfo = Entry<PCeGetSystemInfo>(TRapiEntry::CeGetSystemInfo);
  if (!Connected || !getInfo) return -1;
  SYSTEM_INFO info{};
  getInfo(&info);
  return int32_t(info.dwProcessorType);
}

std::string TRapiTool::GetProcessorName() { return Connected ? ProcessorName(GetProcessorType()) : ""; }

bool TRapiTool::IsAppInstalled(const std::string& application, const std::string& company) {
  DWORD type;
  std::string data;
  if (!Connected ||
      !QueryOtherKey(HKEY_LOCAL_MACHINE, "Software\\Apps\\" + company + " " + application, "Instl", type, data, 64))
    return false;
  return data.size() == 4 && data == std::string("\1\0\0\0", 4);
}

int64_t TRapiTool::GetFreeStorage() {
  auto storeInfo = Entry<PCeGetStoreInformation>(TRapiEntry::CeGetStoreInformation);
  TCeStoreInformation info{};
  if (!Connected || !storeInfo || !storeInfo(&info)) return -1;
  return info.dwFreeSize;
}

TDeviceFacts TRapiTool::DeviceFacts() {
  TDeviceFacts facts;
  facts.PlatformName = PlatformName;
  facts.ProcessorType = GetProcessorType();
  ReadVersion(facts.Major, facts.Minor);
  return facts;
}

bool TRapiTool::MatchesPlatform(const std::string& name) {
  if (!Connected) return false;
  EnsurePlatformProbed();
  return vnt::MatchesPlatform(Definitions, name, DeviceFacts());
}

bool TRapiTool::FindPlatform(std::string& name) {
  name.clear();
  if (!Connected) return false;
  EnsurePlatformProbed();
  auto found = vnt::FindPlatform(Definitions, DeviceFacts());
  if (found) name = Definitions[*found].Name;
  return found.has_value();
}

bool TRapiTool::InExtraProcessors() {
  if (!Connected) return false;
  EnsurePlatformProbed();
  return vnt::InExtraProcessors(Definitions, DeviceFacts());
}

std::string TRapiTool::GetSerialNumber() {
  if (!Connected) return {};
  EnsurePlatformProbed();
  return SerialNumber;
}

bool TRapiTool::GetIsXScale() {
  if (!Connected) return false;
  EnsurePlatformProbed();
  return IsXScale;
}

bool TRapiTool::EnsurePlatformProbed() { return !PlatformName.empty() || RunPlatformProbe(); }

void TRapiTool::LoadDefinitions(TStream& s, bool withMatchByte, bool replace) {
  vnt::LoadDefinitions(s, withMatchByte, replace, Definitions);
}

void TRapiTool::SaveDefinitions(TStream& s) const { vnt::SaveDefinitions(s, Definitions); }

}  // namespace vnt
