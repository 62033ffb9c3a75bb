#include "script/DesktopRules.h"

#include <algorithm>
#include <array>
#include <limits>

#include "package/SystemRules.h"
#include "package/VarList.h"
#include "script/ScriptContext.h"

namespace vnt {

namespace {

constexpr char PathDelimiters[] = "\\/:";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

std::optional<TRegRoot> RegRootByKeyword(const std::string& keyword) {
  if (keyword == "HKEY_CLASSES_ROOT") return RootClasses;
  if (keyword == "HKEY_CURRENT_USER") return RootCurrentUser;
  if (keyword == "HKEY_LOCAL_MACHINE") return RootLocalMachine;
  return std::nullopt;
}

std::string NormalRegistryKeyPath(const std::string& key) {
  std::string path = WithoutTrailingBackslash(key);
  if (!path.empty() && path.front() == '\\') path.erase(0, 1);
  return path;
}

bool PassesRegNumberTest(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

uint32_t RegWriteNumber(const std::string& valueName, const std::string& text) {
  const std::string what = "The registry value \"" + valueName + "\" cannot be written: ";
  if (text.empty()) throw EScriptError(what + "the number is empty.");
  // Leading zeros do not count towards the size.
  size_t first = std::min(text.find_first_not_of('0'), text.size());
  std::string digits = text.substr(first);
  const std::string largest = std::to_string(std::numeric_limits<int32_t>::max());
  if (digits.size() > largest.size() || (digits.size() == largest.size() && digits > largest))
    throw EScriptError(what + "\"" + text + "\" is not a number from 0 to " + largest + ".");
  return digits.empty() ? 0 : uint32_t(std::stoul(digits));
}

std::string UninstallEntryKey(const std::string& uninstallRoot, const std::string& companyName,
                              const std::string& softwareName) {
  return WithFolderBackslash(uninstallRoot) + companyName + " " + softwareName;
}

TScriptLine ReadScriptLine(const TNextByte& next) {
  TScriptLine line;
  while (std::optional<char> c = next()) {
    ++line.Consumed;
    if (*c != '\r') {
      line.Text.push_back(*c);
      continue;
    }
    if (next() == std::optional<char>('\n')) ++line.Consumed;
    break;
  }
  return line;
}

TScriptLine ReadScriptLineFromBlocks(const std::function<std::string()>& nextBlock) {
  std::string block;
  size_t used = 0;
  return ReadScriptLine([&]() -> std::optional<char> {
    if (used == block.size()) {
      block = nextBlock();
      used = 0;
      if (block.empty()) return std::nullopt;
    }
    return block[used++];
  });
}

bool SignatureIsChecked(const std::string& signature) { return signature != "0"; }

std::string SignatureAnswer(const std::string& signature, std::optional<int32_t> firstFour) {
  return firstFour && *firstFour == TScriptContext::AsInteger(signature) ? "OK" : "MAGICERROR";
}

uint64_t BytesToRead(int32_t asked, uint64_t position, uint64_t size) {
  if (asked <= 0 || position >= size) return 0;
  return std::min<uint64_t>(uint64_t(asked), size - position);
}

TFileInfoKind FileInfoKindOf(const std::string& keyword) {
  static constexpr std::array<std::pair<const char*, TFileInfoKind>, 7> Kinds{{
      {"NAME", TFileInfoKind::Name}, {"PATH", TFileInfoKind::Path}, {"DRIVE", TFileInfoKind::Drive},
      {"EXTENSION", TFileInfoKind::Extension}, {"EXISTENCE", TFileInfoKind::Existence},
      {"SIZE", TFileInfoKind::Size}, {"VERSION", TFileInfoKind::Version}}};
  for (const auto& [name, kind] : Kinds)
    if (CompareTextIgnoringCase(keyword, name) == 0) return kind;
  return TFileInfoKind::Unknown;
}

std::string FileNameOf(const std::string& path) {
  size_t at = path.find_last_of(PathDelimiters);
  return at == std::string::npos ? path : path.substr(at + 1);
}

std::string FileFolderOf(const std::string& path) {
  size_t at = path.find_last_of(PathDelimiters);
  if (at == std::string::npos) return {};
  std::string folder = path.substr(0, path[at] == ':' ? at + 1 : at);
  while (!folder.empty() && IsSeparator(folder.back())) folder.pop_back();
  return folder;
}

std::string FileDriveOf(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1])) return {};
  // \\server\share: up to the separator after the share name.
  size_t server = path.find_first_of("\\/", 2);
  if (server == std::string::npos) return path;
  size_t share = path.find_first_of("\\/", server + 1);
  return share == std::string::npos ? path : path.substr(0, share);
}

std::string FileExtensionOf(const std::string& path) {
  size_t at = path.find_last_of("\\/:.");
  return at == std::string::npos || path[at] != '.' ? std::string() : path.substr(at);
}

std::string FindFilePattern(const std::string& folder, const std::string& pattern) {
  return WithFolderBackslash(folder) + pattern;
}

std::string ShortcutFilePath(const std::string& folder, const std::string& name) {
  return WithFolderBackslash(folder) + name + ".lnk";
}

std::string WithoutTrailingBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
}

TMessageIcon MessageIconOf(const std::string& keyword) {
  if (keyword == "QUESTION") return TMessageIcon::Question;
  if (keyword == "INFORMATION") return TMessageIcon::Information;
  if (keyword == "ERROR") return TMessageIcon::Error;
  if (keyword == "WARNING") return TMessageIcon::Warning;
  return TMessageIcon::None;
}

bool DefaultAnswerIsNo(const std::string& currentAnswer) {
  return CompareTextIgnoringCase(currentAnswer, "NO") == 0;
}

}  // namespace vnt
