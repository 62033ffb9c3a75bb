#include "vntbuild/assemble/DiskFileSystem.h"

#include <filesystem>
#include <fstream>

#include "archive/ArchiveFormat.h"
#include "vntbuild/assemble/FileFacts.h"
#include "vntbuild/assemble/StdFileStream.h"

namespace vnt {

namespace fs = std::filesystem;

namespace {

class TDiskOutput : public TArchiveOutput {
public:
  TDiskOutput(const std::string& path, bool append)
      : Path(path), Out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc)) {
    std::error_code ec;
    if (append) Pos = fs::file_size(path, ec);
  }
  bool IsOpen() const { return Out.is_open(); }

  size_t Read(void*, size_t) override { return 0; }
  void Write(const void* buffer, size_t count) override {
    if (!Out.write(static_cast<const char*>(buffer), std::streamsize(count))) throw EOutputError("cannot write " + Path);
    Pos += count;
  }
  void Seek(uint64_t position) override {
    Out.seekp(std::streamoff(position));
    Pos = position;
  }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return Pos; }
  // Closes the file first, so that no later write moves its time again.
  bool SetDosDateTime(uint32_t dosDateTime) override {
    Out.close();
    std::error_code ec;
    fs::last_write_time(Path, FileTimeOfDos(dosDateTime), ec);
    return !ec;
  }

private:
  std::string Path;
  std::ofstream Out;
  uint64_t Pos = 0;
};

std::unique_ptr<TArchiveOutput> OpenOutput(const std::string& path, bool append) {
  auto out = std::make_unique<TDiskOutput>(path, append);
  if (!out->IsOpen()) return nullptr;
  return out;
}

}  // namespace

bool TDiskFileSystem::MakeFolders(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  return fs::is_directory(folder, ec);
}

bool TDiskFileSystem::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool TDiskFileSystem::RemoveFile(const std::string& path) {
  std::error_code ec;
  fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ec);
  fs::remove(path, ec);
  return !fs::exists(path, ec);
}

std::unique_ptr<TArchiveOutput> TDiskFileSystem::CreateOutput(const std::string& path) {
  if (FileExists(path)) return nullptr;
  return OpenOutput(path, false);
}

std::unique_ptr<TArchiveOutput> TDiskFileSystem::AppendOutput(const std::string& path) {
  if (!FileExists(path)) return nullptr;
  return OpenOutput(path, true);
}

std::unique_ptr<TStream> TDiskFileSystem::OpenVolume(const std::string& path) { return TStdFileStream::OpenRead(path); }

}  // namespace vnt
