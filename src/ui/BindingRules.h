// Pure decisions of the page binding: how the install-folder controls follow each other, the
// texts of the size labels and the entries of a script's item selection.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "package/SystemRules.h"

namespace vnt {

// The path with exactly one trailing backslash ("" stays "").
std::string FolderWithBackslash(const std::string& path);
// Folder texts naming the same folder: equal ignoring case once both end in a backslash.
bool SameFolderText(const std::string& a, const std::string& b);

// "C:\" for 'C'.
std::string DriveRootOf(char letter);
// Whether a text already starts with the drive letter (ignoring case).
bool TextOnDrive(const std::string& text, char letter);

// Where a directory list bound to a folder value starts: the value without trailing backslash,
// else its nearest existing parent, else the Windows folder; nothing for an empty value.
std::optional<std::string> DirListStart(const std::string& value,
                                        const std::function<bool(const std::string&)>& isFolder,
                                        const std::string& windowsFolder);

// Two controls tied to the same variable (names ignore case); unbound controls are tied to
// nothing.
bool BoundAlike(const std::string& binding, const std::string& otherBinding);
// Whether a text box follows the folder picked in a directory list or drive combo with the
// given binding: the install-folder box (role 7) follows one bound to %InstallDir%, any box
// follows one bound to its own variable.
bool EditFollowsFolderPick(uint8_t editRole, const std::string& editBinding, const std::string& pickerBinding);

// The label of the free space on the install drive; a drive that cannot be read shows 0.
std::string FreeSpaceText(std::optional<uint64_t> freeBytes, char decimalSeparator);
// The label of the size of the selected files.
std::string RequiredSpaceText(uint64_t bytes, char decimalSeparator);

// The entries of an item selection: separated by "|" or by ", "; empty entries are dropped.
std::vector<std::string> SelectionEntries(const std::string& list);
// Whether an item's text is one of the entries, ignoring case.
bool InSelection(const std::vector<std::string>& entries, const std::string& item);

}  // namespace vnt
