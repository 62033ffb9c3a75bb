// Decisions of the device script commands that need no device: the keywords they take, the
// device registry root a keyword names, and what each command answers when no device can be
// reached.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "device/RapiDevice.h"
#include "package/SetupTypes.h"

namespace vnt {

// GetDeviceOwner: "NAME" and "COMPANY", compared exactly.
std::optional<TOwnerField> OwnerFieldByKeyword(const std::string& keyword);
// GetDeviceOSVersion: "MAJOR", "MINOR" and "FULL", compared exactly, as the part numbers the
// device tool takes (0 major, 1 minor, 2 both).
std::optional<int> OsVersionPartByKeyword(const std::string& keyword);
// "0" stands for a version that could not be read.
std::string OsVersionAnswer(const std::string& version);

// "HKEY_CLASSES_ROOT" and "HKEY_LOCAL_MACHINE", compared exactly; every other text is the
// current user. Nothing is remembered between commands, unlike on the desktop.
TRegRoot DeviceRegRoot(const std::string& keyword);

// DeviceQueryFileInfo's keywords, ignoring case. The drive and the version are not offered on
// the device: they answer as an unknown keyword does.
enum class TDeviceFileQuery { Name, Path, Extension, Existence, Size, Unknown };
TDeviceFileQuery DeviceFileQueryOf(const std::string& keyword);
// The answers that take the path apart (name, folder without its backslash, extension);
// empty for the others.
std::string DevicePathAnswer(TDeviceFileQuery query, const std::string& path);

// DeviceFileOpen's signature: the text as integer; 0, also for the empty text, means that
// nothing is read.
uint32_t DeviceSignature(const std::string& text);

// GetDeviceFreeSpace: "STRING", compared exactly, gives the size for people, anything else
// the bytes in decimal. A negative amount (unreadable) counts as 0.
std::string FreeSpaceAnswer(int64_t freeBytes, const std::string& keyword, char decimalSeparator);

// What a device command sets its first field to when no device can be reached; none for the
// commands that then do nothing at all. keyword is the command's third field (the query of
// DeviceQueryFileInfo).
std::optional<std::string> UnavailableAnswer(uint8_t opcode, const std::string& keyword);

}  // namespace vnt
