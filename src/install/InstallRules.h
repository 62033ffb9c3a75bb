// Pure decisions of the installation and the removal: names it makes, registry data it
// writes, shared-file counts, which recorded items a removal takes, and the lines of the
// not-removed list.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vnt {

// The file-name-safe form of a name: backslash, slash, colon, asterisk, question mark,
// double quote, angle brackets, vertical bar and comma become "_"; full stops and blanks too
// where asked.
std::string FileNameSafe(const std::string& name, bool dots, bool blanks);
// The name of the product icon the package may carry: "<safe software name>.ico".
std::string ProductIconName(const std::string& softwareName);

// Where a packaged file goes: its name (the stored name's folders left out) in its expanded
// destination folder. Problem says why Windows cannot hold it, "" when it can: a name the
// package gives (the file's, or a literal part of its stored folder, variables left out) or
// a whole path longer than the setup's file calls take. What the variables bring, such as
// the folder a person chose, is left to the system. A file with a problem fails as one that
// cannot be written, rather than being skipped, renamed by the system or opened as a device.
struct TFileTarget {
  std::string Path;
  std::string Problem;
};
TFileTarget PackagedFileTarget(const std::string& storedFolder, const std::string& folder,
                               const std::string& sourceName);

// The first drive, by letter, that is to receive more bytes than it has free; a drive missing
// from free has none.
std::optional<char> DriveWithoutRoom(const std::map<char, uint64_t>& need, const std::map<char, uint64_t>& free);

// The progress picture for a percentage among count pictures; none without pictures.
std::optional<int> ProgressBitmapIndex(int percentage, int count);

// Registry data of the four stored types, as the bytes of the value written.
// Binary: hexadecimal byte values, each followed by a blank (a last one without it counts too).
std::string RegistryBinaryData(const std::string& data);
// Multi-string: the parts between ";" each ended by a zero byte, the list by a second one.
std::string RegistryMultiStringData(const std::string& data);

// A shared file's count as the registry holds it: a text, a binary of 1 to 4 bytes, or a
// 32-bit number (registry value types 1, 3 and 4). Anything else counts as unreadable.
enum class TCountForm : uint8_t { Text, Binary, Number };
struct TSharedCount {
  int64_t Count = 0;
  TCountForm Form = TCountForm::Number;
  size_t Width = 4;  // bytes of a binary count
};
std::optional<TSharedCount> ParseSharedCount(uint32_t type, const std::string& bytes);
// The bytes and type that store a count in its form.
std::string SharedCountBytes(const TSharedCount& count);
uint32_t SharedCountType(const TSharedCount& count);

// The Add/Remove Programs command: the uninstaller in the Windows folder with the record and
// the name of the entry (the product) it belongs to.
std::string UninstallCommand(const std::string& windowsFolder, const std::string& recordPath,
                             const std::string& product);
// The record's path: "uninst.dat" in the install folder.
std::string UninstallRecordPath(const std::string& installDir);

// Whether a removal takes a recorded item of the given components. The whole product takes
// every item. Components taken away take an item only when it names one of them and none
// that stays chosen: a file a kept component still needs stays. An item of no component goes
// with the whole product only.
bool RemovalTakesItem(const std::string& itemComponents, const std::string& removed, const std::string& kept,
                      bool wholeProduct);

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE" for roots 0, 1 and 2.
std::string RegistryRootName(uint8_t root);
// The key and each parent below the root, longest first ("A\B\C", "A\B", "A").
std::vector<std::string> KeyAndParents(const std::string& key);
// Keys that Windows keeps for every program ("Software", the Add/Remove Programs key, "Run",
// ...): left in place even when a removal empties them.
bool IsSharedSystemKey(const std::string& key);

}  // namespace vnt
