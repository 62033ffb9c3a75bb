#include "package/SetupRecords.h"

#include <cstdlib>

namespace vnt {

TSetupFile ReadSetupFile(TStream& s, TFieldWidth width) {
  TSetupFile f;
  TFieldReader r(s, width);
  TransferSetupFile(r, f);
  f.Size = 0;
  return f;
}

void WriteSetupFile(TStream& s, const TSetupFile& f, TFieldWidth width) {
  TFieldWriter w(s, width);
  TransferSetupFile(w, f);
}

TSetupInstallerFile ReadSupportFileRecord(TStream& s) {
  TSetupInstallerFile f;
  f.Id = ReadI32(s);
  f.File = ReadSetupFile(s, TFieldWidth::Wide);
  return f;
}

void WriteSupportFileRecord(TStream& s, const TSetupInstallerFile& f) {
  WriteI32(s, f.Id);
  WriteSetupFile(s, f.File, TFieldWidth::Wide);
}

TSetupInstallerFile ReadProductFileRecord(TStream& s) {
  TSetupInstallerFile f;
  f.Id = ReadI32(s);
  f.VersionHigh = ReadU32(s);
  f.VersionLow = ReadU32(s);
  f.DateTime = ReadU32(s);
  uint32_t size = ReadU32(s);
  f.File = ReadSetupFile(s, TFieldWidth::Wide);
  f.File.Size = size;
  return f;
}

void WriteProductFileRecord(TStream& s, const TSetupInstallerFile& f) {
  WriteI32(s, f.Id);
  WriteU32(s, f.VersionHigh);
  WriteU32(s, f.VersionLow);
  WriteU32(s, f.DateTime);
  WriteU32(s, f.File.Size);
  WriteSetupFile(s, f.File, TFieldWidth::Wide);
}

TSetupShortcut ReadShortcut(TStream& s, TFieldWidth width) {
  TSetupShortcut r;
  TFieldReader a(s, width);
  TransferShortcut(a, r);
  return r;
}

void WriteShortcut(TStream& s, const TSetupShortcut& r, TFieldWidth width) {
  TFieldWriter a(s, width);
  TransferShortcut(a, r);
}

TSetupRegChange ReadRegChange(TStream& s, TFieldWidth width) {
  TSetupRegChange r;
  TFieldReader a(s, width);
  TransferRegChange(a, r);
  return r;
}

void WriteRegChange(TStream& s, const TSetupRegChange& r, TFieldWidth width) {
  TFieldWriter a(s, width);
  TransferRegChange(a, r);
}

std::string WithPercentSigns(const std::string& name) {
  std::string n = name;
  if (n.empty() || n.front() != '%') n.insert(n.begin(), '%');
  if (n.size() < 2 || n.back() != '%') n.push_back('%');
  return n;
}

TSetupVariable ReadVariableRecord(TStream& s) {
  TSetupVariable v;
  v.Name = WithPercentSigns(ReadPackageString(s));
  v.Reg = ReadRegChange(s, TFieldWidth::Wide);
  v.Folder = ReadByte(s);
  return v;
}

void WriteVariableRecord(TStream& s, const TSetupVariable& v) {
  WritePackageString(s, v.Name);
  WriteRegChange(s, v.Reg, TFieldWidth::Wide);
  WriteByte(s, v.Folder);
}

TSetupBackItem ReadBackItem(TStream& s) {
  TSetupBackItem b;
  TFieldReader a(s);
  TransferBackItem(a, b);
  return b;
}

void WriteBackItem(TStream& s, const TSetupBackItem& b) {
  TFieldWriter a(s);
  TransferBackItem(a, b);
}

namespace {
int32_t NumberPart(const std::string& text) {
  long long v = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int32_t>(v);
}
}  // namespace

void ParseVersionText(const std::string& text, int32_t& major, int32_t& minor) {
  size_t dot = text.find('.');
  major = NumberPart(text.substr(0, dot));
  minor = 0;
  if (dot == std::string::npos) return;
  size_t dot2 = text.find('.', dot + 1);
  minor = NumberPart(text.substr(dot + 1, dot2 == std::string::npos ? std::string::npos : dot2 - dot - 1));
}

std::string FormatVersionText(int32_t major, int32_t minor) {
  return std::to_string(major) + "." + std::to_string(minor);
}

TRapiDevice ReadRapiDevice(TStream& s, bool withMatchByte) {
  TRapiDevice d;
  if (withMatchByte) d.MatchByName = ReadByte(s);
  d.Name = ReadPackageString(s);
  d.PlatformName = ReadPackageString(s);
  d.ExcludedPlatforms = ReadPackageString(s);
  d.Processors = uint16_t(ReadU32(s));
  d.ExtraProcessors = uint16_t(ReadU32(s));
  ParseVersionText(ReadPackageString(s), d.MinMajor, d.MinMinor);
  ParseVersionText(ReadPackageString(s), d.MaxMajor, d.MaxMinor);
  return d;
}

void WriteRapiDevice(TStream& s, const TRapiDevice& d) {
  WriteByte(s, d.MatchByName);
  WritePackageString(s, d.Name);
  WritePackageString(s, d.PlatformName);
  WritePackageString(s, d.ExcludedPlatforms);
  WriteU32(s, d.Processors);
  WriteU32(s, d.ExtraProcessors);
  WritePackageString(s, FormatVersionText(d.MinMajor, d.MinMinor));
  WritePackageString(s, FormatVersionText(d.MaxMajor, d.MaxMinor));
}

}  // namespace vnt
