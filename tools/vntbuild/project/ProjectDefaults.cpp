#include "vntbuild/project/ProjectDefaults.h"

#include <algorithm>
#include <cstdio>

#include "package/SetupStrings.h"

namespace vnt {

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) { return SameTextIgnoringCase(a, b); }

// Whole numbers separated by sep, at most max of them; none when anything else stands there.
std::optional<std::vector<uint32_t>> Numbers(const std::string& text, char sep, size_t max) {
  std::vector<uint32_t> parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(sep, start);
    std::string part = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    parts.push_back(uint32_t(std::stoul(part)));
    if (parts.size() > max) return std::nullopt;
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

}  // namespace

TFontRecord DefaultSetupFont() { return {"Tahoma", 8, int32_t(0x80000008), 0, 1}; }

TSetupProperties DefaultProperties() {
  TSetupProperties p;
  p.DefaultInstallDir = "%ProgramFilesDir%\\%SoftwareName%";
  p.DefaultProgramGroup = "%SoftwareName%";
  p.SetupTitle = "%SoftwareName% Setup";
  p.DisplayName = "%SoftwareName%";
  p.SetupFont = DefaultSetupFont();
  return p;
}

std::array<uint8_t, OptionCount> DefaultOptions() {
  std::array<uint8_t, OptionCount> options{};
  options[OptCreateUninstaller - 1] = 1;
  return options;
}

TSetupFile DefaultProductFile() {
  TSetupFile f;
  f.DestFolder = "%InstallDir%\\";
  f.OverwriteMode = 6;
  f.Reserved = 1;
  return f;
}

TSetupFile DefaultSupportFile() {
  TSetupFile f = DefaultProductFile();
  f.DestFolder = "%TempSetupDir%\\";
  return f;
}

TSetupShortcut DefaultShortcut() {
  TSetupShortcut s;
  s.ShowCommand = 5;
  s.Folder = "%ProgramGroupDir%\\";
  s.Reserved = 1;
  return s;
}

TSetupRegChange DefaultRegChange() {
  TSetupRegChange r;
  r.Reserved = 1;
  return r;
}

TSetupDeviceFileGroup DefaultDeviceGroup() { return {}; }

std::vector<std::string> DeriveFolders(const std::vector<std::string>& destinations, const std::string& keep) {
  std::vector<std::string> folders;
  auto add = [&](const std::string& folder) {
    for (const auto& f : folders)
      if (SameIgnoringCase(f, folder)) return;
    folders.push_back(folder);
  };
  for (std::string dest : destinations) {
    if (dest.empty()) continue;
    if (dest.back() != '\\') dest += '\\';
    bool first = true;
    for (size_t p = dest.find('\\'); p != std::string::npos; p = dest.find('\\', p + 1)) {
      std::string prefix = dest.substr(0, p + 1);
      bool emptyPart = p == 0 || dest[p - 1] == '\\';
      if (emptyPart) continue;
      if (!first || SameIgnoringCase(prefix, keep)) add(prefix);
      first = false;
    }
  }
  std::stable_sort(folders.begin(), folders.end(),
                   [](const std::string& a, const std::string& b) { return Upper(a) < Upper(b); });
  return folders;
}

std::vector<std::string> DeriveFileFolders(const std::vector<TSetupInstallerFile>& files) {
  std::vector<std::string> dests;
  for (const auto& f : files) dests.push_back(f.File.DestFolder);
  return DeriveFolders(dests, "%InstallDir%\\");
}

std::vector<std::string> DeriveShortcutFolders(const std::vector<TSetupShortcut>& shortcuts) {
  std::vector<std::string> dests;
  for (const auto& s : shortcuts) dests.push_back(s.Folder);
  return DeriveFolders(dests, "%ProgramGroupDir%\\");
}

std::optional<std::pair<uint32_t, uint32_t>> ParseFileVersion(const std::string& text) {
  auto n = Numbers(text, '.', 4);
  if (!n) return std::nullopt;
  n->resize(4, 0);
  for (uint32_t part : *n)
    if (part > 0xFFFF) return std::nullopt;
  return std::make_pair((*n)[0] << 16 | (*n)[1], (*n)[2] << 16 | (*n)[3]);
}

TVersionInfo DefaultVersionInfo(const std::string& name, const std::string& company, const std::string& displayVersion,
                                std::optional<std::pair<uint32_t, uint32_t>> version) {
  if (!version) {
    std::string numbers = displayVersion.substr(0, displayVersion.find_first_not_of("0123456789."));
    while (!numbers.empty() && numbers.back() == '.') numbers.pop_back();
    version = ParseFileVersion(numbers).value_or(std::make_pair(0u, 0u));
  }
  TVersionInfo v;
  std::tie(v.VersionHigh, v.VersionLow) = *version;
  v.FileVersion = FormatFileVersion(v.VersionHigh, v.VersionLow);
  v.ProductVersion = displayVersion.empty() ? v.FileVersion : displayVersion;
  v.ProductName = name, v.CompanyName = company, v.Description = name + " Setup";
  return v;
}

std::string FormatFileVersion(uint32_t high, uint32_t low) {
  return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." + std::to_string(low >> 16) + "." +
         std::to_string(low & 0xFFFF);
}

std::optional<TVersionLimit> ParseVersionLimit(const std::string& text) {
  TVersionLimit limit;
  size_t space = text.find(' ');
  auto v = Numbers(text.substr(0, space), '.', 3);
  if (!v) return std::nullopt;
  v->resize(3, 0);
  if ((*v)[0] > 0xFF || (*v)[1] > 0xFF || (*v)[2] > 0xFFFF) return std::nullopt;
  limit.Version = (*v)[0] << 24 | (*v)[1] << 16 | (*v)[2];
  if (space != std::string::npos) {
    std::string sp = text.substr(space + 1);
    if (sp.compare(0, 2, "SP") != 0) return std::nullopt;
    auto s = Numbers(sp.substr(2), '.', 2);
    if (!s) return std::nullopt;
    s->resize(2, 0);
    if ((*s)[0] > 0xFF || (*s)[1] > 0xFF) return std::nullopt;
    limit.ServicePack = uint16_t((*s)[0] << 8 | (*s)[1]);
  }
  return limit;
}

std::string FormatVersionLimit(const TVersionLimit& limit) {
  std::string text = std::to_string(limit.Version >> 24) + "." + std::to_string((limit.Version >> 16) & 0xFF) + "." +
                     std::to_string(limit.Version & 0xFFFF);
  if (limit.ServicePack)
    text += " SP" + std::to_string(limit.ServicePack >> 8) + "." + std::to_string(limit.ServicePack & 0xFF);
  return text;
}

std::optional<uint32_t> ParseDosDateTime(const std::string& text) {
  unsigned y, mo, d, h, mi, s;
  char tail;
  if (text.size() != 19 || std::sscanf(text.c_str(), "%4u-%2u-%2uT%2u:%2u:%2u%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
    return std::nullopt;
  if (y < 1980 || y > 2107 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59) return std::nullopt;
  uint32_t date = (y - 1980) << 9 | mo << 5 | d;
  uint32_t time = h << 11 | mi << 5 | s / 2;
  return date << 16 | time;
}

std::optional<std::string> FormatDosDateTime(uint32_t value) {
  uint32_t date = value >> 16, time = value & 0xFFFF;
  unsigned y = 1980 + (date >> 9), mo = (date >> 5) & 15, d = date & 31;
  unsigned h = time >> 11, mi = (time >> 5) & 63, s = (time & 31) * 2;
  if (mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59) return std::nullopt;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", y, mo, d, h, mi, s);
  return std::string(text);
}

}  // namespace vnt
