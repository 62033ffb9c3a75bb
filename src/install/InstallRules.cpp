#include "install/InstallRules.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "package/ComponentLists.h"
#include "package/SetupQueries.h"
#include "package/SystemRules.h"
#include "package/WindowsNames.h"

namespace vnt {

std::string FileNameSafe(const std::string& name, bool dots, bool blanks) {
  std::string safe = name;
  for (char& c : safe)
    if (std::strchr("\\/:*?\"<>|,", c) != nullptr && c != '\0') c = '_';
    else if ((dots && c == '.') || (blanks && c == ' ')) c = '_';
  return safe;
}

std::string ProductIconName(const std::string& softwareName) { return FileNameSafe(softwareName, true, false) + ".ico"; }

TFileTarget PackagedFileTarget(const std::string& storedFolder, const std::string& folder,
                               const std::string& sourceName) {
  std::string name = FileNamePart(sourceName);
  TFileTarget target{WithFolderBackslash(folder) + name, ""};
  // Windows takes a slash for a backslash.
  std::string stored = storedFolder;
  std::replace(stored.begin(), stored.end(), '/', '\\');
  target.Problem = WindowsPathProblem(stored, name);
  if (target.Problem.empty() && target.Path.size() > MaxWindowsPath)
    target.Problem = "the path is " + std::to_string(target.Path.size()) + " characters long; Windows takes at most " +
                     std::to_string(MaxWindowsPath);
  return target;
}

std::optional<char> DriveWithoutRoom(const std::map<char, uint64_t>& need, const std::map<char, uint64_t>& free) {
  for (const auto& [drive, bytes] : need) {
    auto room = free.find(drive);
    if ((room == free.end() ? 0 : room->second) < bytes) return drive;
  }
  return std::nullopt;
}

std::optional<int> ProgressBitmapIndex(int percentage, int count) {
  if (count <= 0) return std::nullopt;
  if (percentage <= 0) return 0;
  if (percentage >= 100) return count - 1;
  int width = 100 / count;
  for (int c = 0; c < count; ++c)
    if (width * c + 1 <= percentage && percentage <= width * (c + 1)) return c;
  return count - 1;
}

std::string RegistryBinaryData(const std::string& data) {
  std::string bytes;
  size_t at = 0;
  while (at < data.size()) {
    size_t end = data.find(' ', at);
    std::string part = data.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!part.empty()) bytes.push_back(char(std::strtoul(part.c_str(), nullptr, 16) & 0xFF));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return bytes;
}

std::string RegistryMultiStringData(const std::string& data) {
  std::string bytes;
  size_t at = 0;
  for (;;) {
    size_t end = data.find(';', at);
    bytes += data.substr(at, end == std::string::npos ? std::string::npos : end - at);
    bytes.push_back('\0');
    if (end == std::string::npos) break;
    at = end + 1;
  }
  bytes.push_back('\0');
  return bytes;
}

namespace {
// Registry value types (REG_SZ, REG_BINARY, REG_DWORD).
constexpr uint32_t ValueText = 1, ValueBinary = 3, ValueNumber = 4;

std::optional<int64_t> DecimalNumber(std::string text) {
  while (!text.empty() && text.back() == '\0') text.pop_back();
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  long long n = std::strtoll(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0') return std::nullopt;
  return n;
}
}  // namespace

std::optional<TSharedCount> ParseSharedCount(uint32_t type, const std::string& bytes) {
  TSharedCount count;
  if (type == ValueText) {
    std::optional<int64_t> n = DecimalNumber(bytes);
    if (!n) return std::nullopt;
    count = {*n, TCountForm::Text, 0};
  } else if ((type == ValueBinary && !bytes.empty() && bytes.size() <= 4) ||
             (type == ValueNumber && bytes.size() == 4)) {
    uint32_t n = 0;
    for (size_t i = bytes.size(); i-- > 0;) n = n << 8 | uint8_t(bytes[i]);
    count = {int32_t(n), type == ValueBinary ? TCountForm::Binary : TCountForm::Number, bytes.size()};
  } else {
    return std::nullopt;
  }
  count.Count = std::max<int64_t>(count.Count, 0);
  return count;
}

std::string SharedCountBytes(const TSharedCount& count) {
  int64_t n = std::clamp<int64_t>(count.Count, 0, std::numeric_limits<int32_t>::max());
  if (count.Form == TCountForm::Text) return std::to_string(n) + '\0';
  size_t width = count.Form == TCountForm::Binary ? count.Width : 4;
  std::string bytes;
  for (size_t i = 0; i < width; ++i) bytes.push_back(char((uint64_t(n) >> (8 * i)) & 0xFF));
  return bytes;
}

uint32_t SharedCountType(const TSharedCount& count) {
  return count.Form == TCountForm::Text ? ValueText : count.Form == TCountForm::Binary ? ValueBinary : ValueNumber;
}

std::string UninstallCommand(const std::string& windowsFolder, const std::string& recordPath,
                             const std::string& product) {
  return "\"" + WithFolderBackslash(windowsFolder) + "vntuninst.exe\" \"" + recordPath + "\" \"" + product + "\"";
}

std::string UninstallRecordPath(const std::string& installDir) { return WithFolderBackslash(installDir) + "uninst.dat"; }

bool RemovalTakesItem(const std::string& itemComponents, const std::string& removed, const std::string& kept,
                      bool wholeProduct) {
  if (wholeProduct) return true;
  std::vector<std::string> names = SplitComponentList(itemComponents);
  if (names.empty()) return false;
  bool named = false;
  for (const auto& name : names) {
    if (ComponentListContains(kept, name)) return false;
    named = named || ComponentListContains(removed, name);
  }
  return named;
}

std::string RegistryRootName(uint8_t root) {
  switch (root) {
    case 0: return "HKEY_CLASSES_ROOT";
    case 1: return "HKEY_CURRENT_USER";
    default: return "HKEY_LOCAL_MACHINE";
  }
}

std::vector<std::string> KeyAndParents(const std::string& key) {
  std::vector<std::string> keys;
  std::string k = key;
  while (!k.empty() && k.back() == '\\') k.pop_back();
  while (!k.empty()) {
    keys.push_back(k);
    size_t cut = k.rfind('\\');
    if (cut == std::string::npos) break;
    k.resize(cut);
    while (!k.empty() && k.back() == '\\') k.pop_back();
  }
  return keys;
}

bool IsSharedSystemKey(const std::string& key) {
  auto SameTextIgnoringCase = [](const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(uint8_t(x)) == std::tolower(uint8_t(y)); });
  };
  std::vector<std::string> levels = KeyAndParents(key);
  if (levels.empty()) return false;
  // levels.back() is the first part; the key's depth is the number of levels.
  if (levels.size() == 1) return SameTextIgnoringCase(levels.back(), "Software");
  return levels.size() <= 5 && SameTextIgnoringCase(levels[levels.size() - 2], "Software\\Microsoft");
}

}  // namespace vnt
