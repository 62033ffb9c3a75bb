// What an installed file may need from the system besides being there, and undoing it:
// the shared-file count, a self-registering server, a type library and a font.
#pragma once

#include <cstdint>
#include <string>

namespace vnt {

constexpr const char* SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Counts are kept from NT 4 and Windows 95 on.
bool SystemKeepsSharedCounts();
// One more user of the file; false when the count cannot be opened.
bool AddSharedCount(const std::string& path);
// Whether the file has a count at all.
bool HasSharedCount(const std::string& path);
// One user fewer; the count goes at zero. An unreadable count counts as 2. Answers the
// users left.
int64_t ReleaseSharedCount(const std::string& path);

// Loads the library with system error boxes off and calls its DllRegisterServer (or
// DllUnregisterServer); false for a missing library, entry or a failing result.
bool RegisterServer(const std::string& path, bool unregister = false);

// Registers the type library with its help folder (the file's own folder when it names none).
bool RegisterTypeLibrary(const std::string& path);
void UnregisterTypeLibrary(const std::string& path);

// Registers the font under its face name (the file name alone when it lies in the fonts
// folder) and tells the running programs.
void RegisterFont(const std::string& faceName, const std::string& path, const std::string& fontsFolder);
void UnregisterFont(const std::string& faceName, const std::string& path);

}  // namespace vnt
