// The device platform definitions and what decides whether a connected Windows CE device is
// one of them: processor codes and families, the platform name rules, the version range,
// and the owner record the device keeps. Pure decisions over facts the RAPI shell reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/PackageStream.h"
#include "package/SetupTypes.h"

namespace vnt {

using TRapiDevices = std::vector<TRapiDevice>;

// Reads a counted definition list. Replace drops the old definitions first; otherwise the read
// ones are added. Damaged data raises EPackageError and leaves the list as it was.
void LoadDefinitions(TStream& s, bool withMatchByte, bool replace, TRapiDevices& list);
void SaveDefinitions(TStream& s, const TRapiDevices& list);

// Processor types as the device reports them.
enum class TProcessorFamily { Other, Arm, Mips, Sh3, Sh4 };
// The code of the table (1..9), 0 for a processor type the table does not know.
int ProcessorCode(int32_t processorType);
// The table's name, empty for an unknown processor type.
std::string ProcessorName(int32_t processorType);
TProcessorFamily ProcessorFamilyOf(int32_t processorType);
// Whether the set (bit n = code n) holds the code.
bool ProcessorSetHolds(uint16_t set, int code);

// What the device told about itself.
struct TDeviceFacts {
  std::string PlatformName;  // from the platform probe
  int32_t ProcessorType = 0;
  int32_t Major = 0, Minor = 0;  // operating system version
};

// Without blanks, in capitals.
std::string NormalisedPlatform(const std::string& name);
// The platforms an exclusion text shuts out: each comma-separated entry normalised, with its
// trailing digits removed, as such and with 1 to 50 appended ("Palm PC2" shuts out PALMPC,
// PALMPC1 .. PALMPC50). Blank entries name nothing.
std::vector<std::string> ExcludedPlatformList(const std::string& excluded);
// Within the definition's version range, major numbers first. A negative minimum major is no
// lower limit; a negative maximum major is no upper limit.
bool VersionInRange(const TRapiDevice& d, int32_t major, int32_t minor);

// The definition (an index into list) that decides that the device is the platform called
// name: the definitions of that name that accept the device's processor, last to first; the
// first whose platform rule refuses the device ends the search without one.
std::optional<size_t> MatchingDefinition(const TRapiDevices& list, const std::string& name, const TDeviceFacts& device);
bool MatchesPlatform(const TRapiDevices& list, const std::string& name, const TDeviceFacts& device);
// The definition that matches the device, trying the definitions' names from the last to the
// first; the index of the definition that decided it.
std::optional<size_t> FindPlatform(const TRapiDevices& list, const TDeviceFacts& device);
// Whether the definition FindPlatform gives accepts the device's processor in its second set.
bool InExtraProcessors(const TRapiDevices& list, const TDeviceFacts& device);

// The owner record (HKCU "ControlPanel\Owner", value "Owner"): which 0 is the owner's name,
// 1 the company (at byte 72 from system version 3 on, else at 66). UTF-16 up to the first zero
// character or the record's end.
enum class TOwnerField { Name = 0, Company = 1 };
std::u16string OwnerRecordText(const std::string& record, TOwnerField which, int32_t major);

// Parts of a device path (backslashes): the extension with its dot, the file name, and the
// folder with its trailing backslash; each empty when the path has none.
enum class TDevicePathPart { Extension = 1, FileName = 2, Folder = 3 };
std::string DevicePathPart(const std::string& path, TDevicePathPart part);

}  // namespace vnt
