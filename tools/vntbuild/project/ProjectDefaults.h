// What a project gets where it says nothing, and the text forms of versions and dates; the
// writer leaves out exactly what the reader would fill in by itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "package/PackageWriter.h"
#include "vntbuild/assemble/VersionResource.h"

namespace vnt {

TFontRecord DefaultSetupFont();
// Properties with the default folders, title and names (software and company empty).
TSetupProperties DefaultProperties();
std::array<uint8_t, OptionCount> DefaultOptions();
TSetupFile DefaultProductFile();
TSetupFile DefaultSupportFile();
TSetupShortcut DefaultShortcut();
TSetupRegChange DefaultRegChange();
TSetupDeviceFileGroup DefaultDeviceGroup();

// The folder lists made from the destination folders: each folder and those between it and
// its first part, without lone first parts other than keep; sorted, each once (ignoring case).
std::vector<std::string> DeriveFolders(const std::vector<std::string>& destinations, const std::string& keep);
std::vector<std::string> DeriveFileFolders(const std::vector<TSetupInstallerFile>& files);
std::vector<std::string> DeriveShortcutFolders(const std::vector<TSetupShortcut>& shortcuts);

// The setup's version resource made from the product's names (UTF-8): the numbers given, else
// those displayVersion starts with ("2.1 beta": 2.1.0.0); the language is left at 1033.
TVersionInfo DefaultVersionInfo(const std::string& name, const std::string& company, const std::string& displayVersion,
                                std::optional<std::pair<uint32_t, uint32_t>> version = std::nullopt);

// "3.7.0.2" <-> the two 32-bit halves of a file version.
std::optional<std::pair<uint32_t, uint32_t>> ParseFileVersion(const std::string& text);
std::string FormatFileVersion(uint32_t high, uint32_t low);
// "5.1.2600 SP2.0" <-> a version limit.
std::optional<TVersionLimit> ParseVersionLimit(const std::string& text);
std::string FormatVersionLimit(const TVersionLimit& limit);
// "2026-12-07T09:30:00" <-> an MS-DOS date and time; dates it cannot show give no text.
std::optional<uint32_t> ParseDosDateTime(const std::string& text);
std::optional<std::string> FormatDosDateTime(uint32_t value);

}  // namespace vnt
