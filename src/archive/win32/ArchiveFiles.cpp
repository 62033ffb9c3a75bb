#include "archive/win32/ArchiveFiles.h"

#include <windows.h>

#include <algorithm>

#include "archive/ArchiveFormat.h"
#include "archive/VolumeNames.h"
#include "package/VarList.h"
#include "platform/win32/FileStream.h"
#include "platform/win32/SystemServices.h"

namespace vnt {

namespace {

// Unbuffered: the reader writes whole blocks, and a write that fails must fail while the
// reader can still tell, not when the file is closed.
class TWin32Output : public TArchiveOutput {
public:
  TWin32Output(HANDLE h, uint64_t position) : Handle(h), Pos(position) {}
  ~TWin32Output() override { CloseHandle(Handle); }
  TWin32Output(const TWin32Output&) = delete;
  TWin32Output& operator=(const TWin32Output&) = delete;

  size_t Read(void* buffer, size_t count) override {
    DWORD got = 0;
    if (!ReadFile(Handle, buffer, DWORD(count), &got, nullptr)) return 0;
    Pos += got;
    return got;
  }
  void Write(const void* buffer, size_t count) override {
    DWORD put = 0;
    if (!WriteFile(Handle, buffer, DWORD(count), &put, nullptr))
      throw EOutputError(SystemErrorText(GetLastError()));
    if (put != count) throw EOutputError(SystemErrorText(ERROR_DISK_FULL));
    Pos += put;
  }
  // The position is kept here: asking the system for it is a round trip.
  void Seek(uint64_t position) override {
    if (position == Pos) return;
    LARGE_INTEGER to;
    to.QuadPart = LONGLONG(position);
    if (!SetFilePointerEx(Handle, to, nullptr, FILE_BEGIN)) throw EOutputError("cannot seek in the output file");
    Pos = position;
  }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override {
    LARGE_INTEGER size{};
    GetFileSizeEx(Handle, &size);
    return uint64_t(size.QuadPart);
  }
  bool SetDosDateTime(uint32_t dosDateTime) override {
    FILETIME local, utc;
    return DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &local) &&
           LocalFileTimeToFileTime(&local, &utc) && SetFileTime(Handle, nullptr, nullptr, &utc);
  }

private:
  HANDLE Handle;
  uint64_t Pos = 0;
};

std::unique_ptr<TArchiveOutput> OpenOutput(const std::string& path, DWORD disposition) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<TWin32Output>(h, 0);
}

std::string WithoutTrailingSeparators(std::string folder) {
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

bool IsFolder(const std::string& path) {
  DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool TWin32ArchiveFileSystem::MakeFolders(const std::string& folder) {
  std::string f = WithoutTrailingSeparators(folder);
  if (f.empty()) return false;
  if (KnownFolders.count(f)) return true;
  bool there = IsFolder(f);
  if (!there) {
    // The parent is always shorter, so the descent ends at the drive or share.
    std::string parent = WithoutTrailingSeparators(FolderPart(f));
    if (!parent.empty() && parent.size() < f.size()) MakeFolders(parent);
    if (CreateDirectoryA(f.c_str(), nullptr)) {
      there = true;
      if (OnFolderMade) OnFolderMade(f);
    } else {
      Failed();
      there = IsFolder(f);  // made meanwhile by someone else
    }
  }
  if (there) KnownFolders.insert(f);
  return there;
}

bool TWin32ArchiveFileSystem::FileExists(const std::string& path) {
  DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32ArchiveFileSystem::RemoveFile(const std::string& path) {
  DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) return true;
  if (attrs & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
  if (DeleteFileA(path.c_str())) return true;
  SetFileAttributesA(path.c_str(), attrs);  // a file that stays keeps its attributes
  return false;
}

// Only a new file: an existing one may be read-only or in use, which its removal finds out.
std::unique_ptr<TArchiveOutput> TWin32ArchiveFileSystem::CreateOutput(const std::string& path) {
  std::unique_ptr<TArchiveOutput> output = OpenOutput(path, CREATE_NEW);
  if (!output) Failed();
  return output;
}

bool TWin32ArchiveFileSystem::Failed() {
  LastFailure = GetLastError();
  return false;
}

std::string TWin32ArchiveFileSystem::FailureText() { return LastFailure ? SystemErrorText(LastFailure) : ""; }

// A short name of its own beside the file, so the rename into place stays on the volume. The
// process and a running count make it one nobody else uses; it is not looked up first, since
// a look-up for a name that is not there costs the most of all on some file systems.
std::string TWin32ArchiveFileSystem::StagingName(const std::string& path) {
  return Staging ? FreeNameBeside(path) : path;
}

std::string TWin32ArchiveFileSystem::FreeNameBeside(const std::string& path) {
  char name[32];
  snprintf(name, sizeof name, "vnt%04lX%05lX.tmp", static_cast<unsigned long>(GetCurrentProcessId() & 0xFFFF),
           static_cast<unsigned long>(++StagingCounter & 0xFFFFF));
  return FolderPart(path) + name;
}

bool TWin32ArchiveFileSystem::PlaceStaged(const std::string& staged, const std::string& path) {
  return MoveFileExA(staged.c_str(), path.c_str(), 0) || Failed();
}

bool TWin32ArchiveFileSystem::PlaceStagedAtRestart(const std::string& staged, const std::string& path) {
  return MoveFileExA(staged.c_str(), path.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) ||
         Failed();
}

void TWin32ArchiveFileSystem::DiscardStaged(const std::string& staged) { DeleteFileForce(staged); }

// Written beside the file in use, on the same volume, so that the move at the next start is a
// rename; the system does it before any program can hold the old file open again.
std::unique_ptr<TArchiveOutput> TWin32ArchiveFileSystem::CreateReplacement(const std::string& path,
                                                                           std::string& outputPath) {
  char temp[MAX_PATH];
  if (!GetTempFileNameA(FolderPart(path).c_str(), "vnt", 0, temp)) return nullptr;
  std::unique_ptr<TArchiveOutput> output = OpenOutput(temp, TRUNCATE_EXISTING);
  if (!output || !MoveFileExA(temp, path.c_str(), MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
    output.reset();
    DeleteFileA(temp);
    return nullptr;
  }
  outputPath = temp;
  return output;
}

std::unique_ptr<TArchiveOutput> TWin32ArchiveFileSystem::AppendOutput(const std::string& path) {
  auto output = OpenOutput(path, OPEN_EXISTING);
  try {
    if (output) output->Seek(output->Size());
  } catch (const EOutputError&) {
    return nullptr;
  }
  return output;
}

std::unique_ptr<TStream> TWin32ArchiveFileSystem::OpenVolume(const std::string& path) {
  return TFileStream::OpenRead(path);
}

}  // namespace vnt
