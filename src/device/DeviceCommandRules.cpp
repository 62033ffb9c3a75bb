#include "device/DeviceCommandRules.h"

#include "package/IntegerText.h"
#include "package/ScriptTypes.h"
#include "package/SizeFormat.h"
#include "script/DesktopRules.h"

namespace vnt {

std::optional<TOwnerField> OwnerFieldByKeyword(const std::string& keyword) {
  if (keyword == "NAME") return TOwnerField::Name;
  if (keyword == "COMPANY") return TOwnerField::Company;
  return std::nullopt;
}

std::optional<int> OsVersionPartByKeyword(const std::string& keyword) {
  if (keyword == "MAJOR") return 0;
  if (keyword == "MINOR") return 1;
  if (keyword == "FULL") return 2;
  return std::nullopt;
}

std::string OsVersionAnswer(const std::string& version) { return version.empty() ? "0" : version; }

TRegRoot DeviceRegRoot(const std::string& keyword) {
  if (keyword == "HKEY_CLASSES_ROOT") return RootClasses;
  if (keyword == "HKEY_LOCAL_MACHINE") return RootLocalMachine;
  return RootCurrentUser;
}

TDeviceFileQuery DeviceFileQueryOf(const std::string& keyword) {
  switch (FileInfoKindOf(keyword)) {
    case TFileInfoKind::Name: return TDeviceFileQuery::Name;
    case TFileInfoKind::Path: return TDeviceFileQuery::Path;
    case TFileInfoKind::Extension: return TDeviceFileQuery::Extension;
    case TFileInfoKind::Existence: return TDeviceFileQuery::Existence;
    case TFileInfoKind::Size: return TDeviceFileQuery::Size;
    default: return TDeviceFileQuery::Unknown;
  }
}

std::string DevicePathAnswer(TDeviceFileQuery query, const std::string& path) {
  switch (query) {
    case TDeviceFileQuery::Name: return FileNameOf(path);
    case TDeviceFileQuery::Path: return FileFolderOf(path);
    case TDeviceFileQuery::Extension: return FileExtensionOf(path);
    default: return {};
  }
}

uint32_t DeviceSignature(const std::string& text) { return uint32_t(AsInteger(text)); }

std::string FreeSpaceAnswer(int64_t freeBytes, const std::string& keyword, char decimalSeparator) {
  int64_t bytes = freeBytes < 0 ? 0 : freeBytes;
  if (keyword == "STRING") return FormatSize(double(bytes), SizeInBytes, decimalSeparator);
  return std::to_string(bytes);
}

std::optional<std::string> UnavailableAnswer(uint8_t opcode, const std::string& keyword) {
  switch (opcode) {
    case OpGetDeviceOwner:
    case OpDeviceFileRead:
    case OpDeviceFileReadLine:
    case OpDeviceRegRead:
    case OpGetDevicePlatform:
    case OpGetDeviceProcessor:
    case OpGetDeviceSerial: return "";
    case OpGetDeviceOSVersion:
    case OpDeviceFindFile:
    case OpIsProductInstalledOnDevice:
    case OpIsProcessorSupported:
    case OpGetDeviceFreeSpace:
    case OpIsXScaleDevice: return "0";
    case OpDeviceFileOpen: return "ERROR";
    case OpDeviceQueryFileInfo: {
      TDeviceFileQuery query = DeviceFileQueryOf(keyword);
      return query == TDeviceFileQuery::Existence || query == TDeviceFileQuery::Size ? "0" : "";
    }
    default: return std::nullopt;
  }
}

}  // namespace vnt
