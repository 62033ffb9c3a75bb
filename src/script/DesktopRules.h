// Decisions of the desktop script commands that need no system call: registry key paths and
// the number test, the line rule of the script's text file, the parts of a file path, and
// the keywords of message boxes and file queries.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "package/SetupTypes.h"

namespace vnt {

// The registry root named by a keyword, compared exactly; none for any other text (the caller
// then keeps the root of the previous registry command).
std::optional<TRegRoot> RegRootByKeyword(const std::string& keyword);
// One trailing backslash removed, then one leading backslash; relative to the root.
std::string NormalRegistryKeyPath(const std::string& key);
// Digits only; the empty text passes too.
bool PassesRegNumberTest(const std::string& text);
// The number written for a text that passed the number test. Raises EScriptError when the
// text is empty or above 2147483647: the statement cannot be carried out.
uint32_t RegWriteNumber(const std::string& valueName, const std::string& text);
// The key under which an installed product is registered for Add/Remove Programs.
std::string UninstallEntryKey(const std::string& uninstallRoot, const std::string& companyName,
                              const std::string& softwareName);

// The next byte of the script's file, none at its end.
using TNextByte = std::function<std::optional<char>()>;
struct TScriptLine {
  std::string Text;
  uint64_t Consumed = 0;  // where the next read starts, counted from where this one began
};
// A line ends at a carriage return, which is dropped together with one line feed directly
// after it; any other byte after it stays for the next read. A lone line feed is text.
TScriptLine ReadScriptLine(const TNextByte& next);
// The same rule over a file read in blocks: nextBlock gives the next bytes, empty at the end.
// Reading goes on past the line, so Consumed says where the caller seeks back to.
TScriptLine ReadScriptLineFromBlocks(const std::function<std::string()>& nextBlock);
// The signature "0" means no check; any other text, the empty one too, is checked.
bool SignatureIsChecked(const std::string& signature);
// "OK" when the file's first four bytes (none when fewer could be read) hold the signature
// as integer, else "MAGICERROR".
std::string SignatureAnswer(const std::string& signature, std::optional<int32_t> firstFour);
// How many bytes a read of "asked" bytes takes at position of a file of size bytes.
uint64_t BytesToRead(int32_t asked, uint64_t position, uint64_t size);

// QueryFileInfo's keywords, ignoring case.
enum class TFileInfoKind { Name, Path, Drive, Extension, Existence, Size, Version, Unknown };
TFileInfoKind FileInfoKindOf(const std::string& keyword);
// "C:\a\b.txt": name "b.txt", folder "C:\a" (never a trailing backslash), drive "C:",
// extension ".txt". A UNC path's drive is "\\server\share".
std::string FileNameOf(const std::string& path);
std::string FileFolderOf(const std::string& path);
std::string FileDriveOf(const std::string& path);
std::string FileExtensionOf(const std::string& path);
// The folder with a backslash added when missing (an empty folder becomes "\"), then the
// name or pattern.
std::string FindFilePattern(const std::string& folder, const std::string& pattern);
// The folder with a backslash added when missing, the name, then ".lnk".
std::string ShortcutFilePath(const std::string& folder, const std::string& name);
// One trailing backslash removed.
std::string WithoutTrailingBackslash(const std::string& path);

// Message box icons by keyword, compared exactly; any other text shows no icon.
enum class TMessageIcon { None, Question, Information, Error, Warning };
TMessageIcon MessageIconOf(const std::string& keyword);
// AskYesNo's default button is No exactly when the answer variable already holds "NO" in any case.
bool DefaultAnswerIsNo(const std::string& currentAnswer);

}  // namespace vnt
