// Files and folders: delete, copy, move, QueryFileInfo, FindFile, CreateFolder, RemoveFolder.
// Failing system calls are silent.
#include "package/SystemRules.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/SystemServices.h"
#include "script/DesktopRules.h"
#include "script/win32/DesktopCommandFamilies.h"

namespace vnt {

namespace {

std::string FileVersionText(const std::string& path) {
  std::optional<VS_FIXEDFILEINFO> version = TSystemInfo::GetFileVersion(path);
  return version ? FixedVersionText(version->dwFileVersionMS, version->dwFileVersionLS) : "0.0.0.0";
}

std::string FileInfo(const std::string& path, const std::string& keyword) {
  switch (FileInfoKindOf(keyword)) {
    case TFileInfoKind::Name: return FileNameOf(path);
    case TFileInfoKind::Path: return FileFolderOf(path);
    case TFileInfoKind::Drive: return FileDriveOf(path);
    case TFileInfoKind::Extension: return FileExtensionOf(path);
    case TFileInfoKind::Existence: return FileExists(path) ? "1" : "0";
    case TFileInfoKind::Size: return std::to_string(FileSizeOf(path));
    case TFileInfoKind::Version: return FileVersionText(path);
    case TFileInfoKind::Unknown: break;
  }
  return {};
}

// "." and ".." match "*" in every folder but are not something found there.
bool AnythingMatches(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool any = false;
  do {
    std::string name = found.cFileName;
    any = name != "." && name != "..";
  } while (!any && FindNextFileA(search, &found));
  FindClose(search);
  return any;
}

}  // namespace

void InstallFileCommands(TDesktopCommands& desktop) {
  TScriptContext& ctx = desktop.Context;
  ctx.SetCommand(OpFileDelete, [&ctx](const ScriptStatement& s) { DeleteFileForce(ctx.Expand(s.F[0])); });
  ctx.SetCommand(OpFileCopy, [&ctx](const ScriptStatement& s) {
    CopyFileA(ctx.Expand(s.F[0]).c_str(), ctx.Expand(s.F[1]).c_str(), FALSE);
  });
  ctx.SetCommand(OpFileMove, [&ctx](const ScriptStatement& s) {
    MoveFileA(ctx.Expand(s.F[0]).c_str(), ctx.Expand(s.F[1]).c_str());
  });
  ctx.SetCommand(OpQueryFileInfo, [&ctx](const ScriptStatement& s) {
    ctx.Assign(s.F[0], FileInfo(ctx.Expand(s.F[1]), s.F[2]));
  });
  ctx.SetCommand(OpFindFile, [&ctx](const ScriptStatement& s) {
    bool found = AnythingMatches(FindFilePattern(ctx.Expand(s.F[2]), ctx.Expand(s.F[1])));
    ctx.Assign(s.F[0], found ? "1" : "0");
  });
  ctx.SetCommand(OpCreateFolder, [&ctx](const ScriptStatement& s) {
    CreateDirectoryA(WithoutTrailingBackslash(ctx.Expand(s.F[0])).c_str(), nullptr);
  });
  ctx.SetCommand(OpRemoveFolder, [&ctx](const ScriptStatement& s) {
    RemoveDirectoryA(WithoutTrailingBackslash(ctx.Expand(s.F[0])).c_str());
  });
}

}  // namespace vnt
