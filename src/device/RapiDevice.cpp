#include "device/RapiDevice.h"

#include <algorithm>
#include <cctype>

#include "package/PackagePrimitives.h"
#include "package/SetupRecords.h"

namespace vnt {

namespace {

// A definition of empty texts and versions: the match byte, three text ends, two 32-bit sets
// and two version text ends.
constexpr uint32_t MinDefinitionBytes = 1 + 3 + 8 + 2;

struct TProcessorRow {
  int32_t Type;
  const char* Name;
  int Code;
  TProcessorFamily Family;
};

constexpr TProcessorRow ProcessorTable[] = {
    {1824, "ARM720", 1, TProcessorFamily::Arm},     {2080, "ARM820", 2, TProcessorFamily::Arm},
    {2336, "ARM920", 3, TProcessorFamily::Arm},     {10003, "SH3", 4, TProcessorFamily::Sh3},
    {10005, "SH4", 5, TProcessorFamily::Sh4},       {2000, "MIPS2000", 6, TProcessorFamily::Mips},
    {3000, "MIPS3000", 7, TProcessorFamily::Mips},  {4000, "MIPS4000", 8, TProcessorFamily::Mips},
    {2577, "STRONGARM", 9, TProcessorFamily::Arm},
};

const TProcessorRow* FindProcessor(int32_t type) {
  for (const auto& row : ProcessorTable)
    if (row.Type == type) return &row;
  return nullptr;
}

std::string Upper(std::string text) {
  for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool SameText(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

bool VersionBelow(int32_t major, int32_t minor, int32_t otherMajor, int32_t otherMinor) {
  return major != otherMajor ? major < otherMajor : minor < otherMinor;
}

}  // namespace

void LoadDefinitions(TStream& s, bool withMatchByte, bool replace, TRapiDevices& list) {
  TRapiDevices read;
  uint32_t count = ReadCount(s, MinDefinitionBytes - (withMatchByte ? 0 : 1));
  for (uint32_t i = 0; i < count; ++i) read.push_back(ReadRapiDevice(s, withMatchByte));
  if (replace) list.clear();
  list.insert(list.end(), read.begin(), read.end());
}

void SaveDefinitions(TStream& s, const TRapiDevices& list) {
  WriteU32(s, uint32_t(list.size()));
  for (const auto& d : list) WriteRapiDevice(s, d);
}

int ProcessorCode(int32_t processorType) {
  const TProcessorRow* row = FindProcessor(processorType);
  return row ? row->Code : 0;
}

std::string ProcessorName(int32_t processorType) {
  const TProcessorRow* row = FindProcessor(processorType);
  return row ? row->Name : "";
}

TProcessorFamily ProcessorFamilyOf(int32_t processorType) {
  const TProcessorRow* row = FindProcessor(processorType);
  return row ? row->Family : TProcessorFamily::Other;
}

bool ProcessorSetHolds(uint16_t set, int code) { return code >= 0 && code < 16 && (set >> code) & 1; }

std::string NormalisedPlatform(const std::string& name) {
  std::string out;
  for (char c : name)
    if (c != ' ') out.push_back(c);
  return Upper(out);
}

std::vector<std::string> ExcludedPlatformList(const std::string& excluded) {
  std::vector<std::string> list;
  size_t start = 0;
  for (;;) {
    size_t comma = excluded.find(',', start);
    std::string entry = Trimmed(excluded.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!entry.empty()) {
      std::string base = NormalisedPlatform(entry);
      while (!base.empty() && std::isdigit(static_cast<unsigned char>(base.back()))) base.pop_back();
      list.push_back(base);
      for (int n = 1; n <= 50; ++n) list.push_back(base + std::to_string(n));
    }
    if (comma == std::string::npos) return list;
    start = comma + 1;
  }
}

bool VersionInRange(const TRapiDevice& d, int32_t major, int32_t minor) {
  if (d.MinMajor >= 0 && VersionBelow(major, minor, d.MinMajor, d.MinMinor)) return false;
  if (d.MaxMajor >= 0 && VersionBelow(d.MaxMajor, d.MaxMinor, major, minor)) return false;
  return true;
}

std::optional<size_t> MatchingDefinition(const TRapiDevices& list, const std::string& name, const TDeviceFacts& device) {
  std::string platform = NormalisedPlatform(device.PlatformName);
  int code = ProcessorCode(device.ProcessorType);
  for (size_t i = list.size(); i-- > 0;) {
    const TRapiDevice& d = list[i];
    if (!SameText(d.Name, name) || !ProcessorSetHolds(d.Processors, code)) continue;
    if (d.MatchByName != 0) {
      // The definition's name is compared in the device's form, so "Pocket PC" finds POCKETPC.
      if (platform != NormalisedPlatform(d.PlatformName)) return std::nullopt;
    } else {
      auto excluded = ExcludedPlatformList(d.ExcludedPlatforms);
      if (std::find(excluded.begin(), excluded.end(), platform) != excluded.end()) return std::nullopt;
    }
    if (VersionInRange(d, device.Major, device.Minor)) return i;
  }
  return std::nullopt;
}

bool MatchesPlatform(const TRapiDevices& list, const std::string& name, const TDeviceFacts& device) {
  return MatchingDefinition(list, name, device).has_value();
}

std::optional<size_t> FindPlatform(const TRapiDevices& list, const TDeviceFacts& device) {
  for (size_t i = list.size(); i-- > 0;)
    if (auto found = MatchingDefinition(list, list[i].Name, device)) return found;
  return std::nullopt;
}

bool InExtraProcessors(const TRapiDevices& list, const TDeviceFacts& device) {
  auto found = FindPlatform(list, device);
  return found && ProcessorSetHolds(list[*found].ExtraProcessors, ProcessorCode(device.ProcessorType));
}

std::u16string OwnerRecordText(const std::string& record, TOwnerField which, int32_t major) {
  size_t offset = which == TOwnerField::Name ? 0 : (major >= 3 ? 72 : 66);
  std::u16string text;
  for (size_t at = offset; at + 1 < record.size(); at += 2) {
    char16_t c = char16_t(uint8_t(record[at]) | uint8_t(record[at + 1]) << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

std::string DevicePathPart(const std::string& path, TDevicePathPart part) {
  size_t slash = path.rfind('\\');
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string name = path.substr(nameStart);
  switch (part) {
    case TDevicePathPart::Extension: {
      size_t dot = name.rfind('.');
      return dot == std::string::npos ? "" : name.substr(dot);
    }
    case TDevicePathPart::FileName: return name;
    case TDevicePathPart::Folder: return path.substr(0, nameStart);
  }
  return {};
}

}  // namespace vnt
