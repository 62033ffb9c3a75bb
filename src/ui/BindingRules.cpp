#include "ui/BindingRules.h"

#include <algorithm>

#include "package/DialogEditorFuncs.h"
#include "package/SizeFormat.h"
#include "package/VarList.h"
#include "ui/ControlRules.h"

namespace vnt {

std::string FolderWithBackslash(const std::string& path) {
  if (path.empty() || path.back() == '\\') return path;
  return path + "\\";
}

bool SameFolderText(const std::string& a, const std::string& b) {
  return CompareTextIgnoringCase(FolderWithBackslash(a), FolderWithBackslash(b)) == 0;
}

std::string DriveRootOf(char letter) { return std::string(1, letter) + ":\\"; }

bool TextOnDrive(const std::string& text, char letter) {
  return !text.empty() && FoldCase(text[0]) == FoldCase(letter);
}

std::optional<std::string> DirListStart(const std::string& value,
                                        const std::function<bool(const std::string&)>& isFolder,
                                        const std::string& windowsFolder) {
  std::string dir = value;
  while (!dir.empty() && dir.back() == '\\' && dir != "\\") dir.pop_back();
  if (dir.empty()) return std::nullopt;
  return NearestExistingFolder(dir, isFolder, windowsFolder);
}

bool BoundAlike(const std::string& binding, const std::string& otherBinding) {
  return !binding.empty() && CompareTextIgnoringCase(binding, otherBinding) == 0;
}

bool EditFollowsFolderPick(uint8_t editRole, const std::string& editBinding, const std::string& pickerBinding) {
  if (editRole == RoleInstallDir && CompareTextIgnoringCase(pickerBinding, "%INSTALLDIR%") == 0) return true;
  return BoundAlike(editBinding, pickerBinding);
}

std::string FreeSpaceText(std::optional<uint64_t> freeBytes, char decimalSeparator) {
  return FormatSize(double(freeBytes.value_or(0) / 1024), SizeInKB, decimalSeparator);
}

std::string RequiredSpaceText(uint64_t bytes, char decimalSeparator) {
  return FormatSize(double(bytes), SizeInBytes, decimalSeparator);
}

std::vector<std::string> SelectionEntries(const std::string& list) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start <= list.size()) {
    size_t bar = list.find('|', start), comma = list.find(", ", start);
    size_t end = std::min(bar, comma);
    if (end == std::string::npos) end = list.size();
    if (end > start) entries.push_back(list.substr(start, end - start));
    start = end + (end == comma ? 2 : 1);
  }
  return entries;
}

bool InSelection(const std::vector<std::string>& entries, const std::string& item) {
  return std::any_of(entries.begin(), entries.end(),
                     [&](const std::string& e) { return CompareTextIgnoringCase(e, item) == 0; });
}

}  // namespace vnt
