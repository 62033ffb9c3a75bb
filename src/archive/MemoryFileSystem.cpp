#include "archive/MemoryFileSystem.h"

#include "archive/ArchiveFormat.h"

namespace vnt {

namespace {

std::string WithoutTrailingSeparators(std::string folder) {
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

class TMemoryOutput : public TArchiveOutput {
public:
  TMemoryOutput(std::shared_ptr<TMemoryFile> file, TMemoryFileSystem& fs)
      : File(std::move(file)), Fs(fs), Pos(File->Data.size()) {
    File->Open = true;
    ++Fs.OutputsOpen;
  }
  ~TMemoryOutput() override {
    File->Open = false;
    --Fs.OutputsOpen;
  }
  size_t Read(void*, size_t) override { return 0; }
  void Write(const void* buffer, size_t count) override {
    Written += count;
    if (Written > Fs.WriteLimit || Pos + count > Fs.MaxFileSize) throw EOutputError("disk full");
    std::string& data = File->Data;
    if (Pos + count > data.size()) data.resize(size_t(Pos + count));
    data.replace(size_t(Pos), count, static_cast<const char*>(buffer), count);
    Pos += count;
  }
  void Seek(uint64_t position) override { Pos = position; }
  uint64_t Position() const override { return Pos; }
  uint64_t Size() const override { return File->Data.size(); }
  bool SetDosDateTime(uint32_t dosDateTime) override {
    File->DosDateTime = dosDateTime;
    return true;
  }

private:
  std::shared_ptr<TMemoryFile> File;
  TMemoryFileSystem& Fs;
  uint64_t Pos;
  uint64_t Written = 0;
};

// Counts its own closing, so tests see that every volume is closed exactly once.
class TMemoryVolume : public TMemoryStream {
public:
  TMemoryVolume(std::string bytes, int& closed) : TMemoryStream(std::move(bytes)), Closed(closed) {}
  ~TMemoryVolume() override { ++Closed; }

private:
  int& Closed;
};

}  // namespace

bool TMemoryFileSystem::MakeFolders(const std::string& folder) {
  std::string f = WithoutTrailingSeparators(folder);
  if (ForbiddenFolders.count(f)) return false;
  Folders.insert(f);
  return true;
}

bool TMemoryFileSystem::RemoveFile(const std::string& path) {
  auto it = Files.find(path);
  if (it == Files.end()) return true;
  if (it->second->Locked || it->second->Open) return false;
  Files.erase(it);
  return true;
}

std::unique_ptr<TArchiveOutput> TMemoryFileSystem::OpenOutput(const std::shared_ptr<TMemoryFile>& file) {
  return std::make_unique<TMemoryOutput>(file, *this);
}

std::unique_ptr<TArchiveOutput> TMemoryFileSystem::CreateOutput(const std::string& path) {
  if (Uncreatable.count(path)) return nullptr;
  if (Files.count(path)) return nullptr;
  auto file = std::make_shared<TMemoryFile>();
  Files[path] = file;
  return OpenOutput(file);
}

std::unique_ptr<TArchiveOutput> TMemoryFileSystem::CreateReplacement(const std::string& path,
                                                                     std::string& outputPath) {
  if (!CanReplaceAtRestart) return nullptr;
  outputPath = path + ".new";
  Files.erase(outputPath);
  Replacements[path] = outputPath;
  return CreateOutput(outputPath);
}

std::unique_ptr<TArchiveOutput> TMemoryFileSystem::AppendOutput(const std::string& path) {
  auto it = Files.find(path);
  if (it == Files.end() || Uncreatable.count(path) || it->second->Locked) return nullptr;
  return OpenOutput(it->second);
}

std::unique_ptr<TStream> TMemoryFileSystem::OpenVolume(const std::string& path) {
  auto it = Files.find(path);
  if (it == Files.end() || it->second->Locked) return nullptr;
  ++VolumesOpened;
  return std::make_unique<TMemoryVolume>(it->second->Data, VolumesClosed);
}

bool TMemoryFileSystem::PlaceStaged(const std::string& staged, const std::string& path) {
  auto it = Files.find(staged);
  if (it == Files.end() || Unplaceable.count(path) || Files.count(path)) return false;
  Files[path] = it->second;
  Files.erase(it);
  return true;
}

bool TMemoryFileSystem::PlaceStagedAtRestart(const std::string& staged, const std::string& path) {
  if (!CanReplaceAtRestart) return false;
  Replacements[path] = staged;
  return true;
}

TMemoryFile& TMemoryFileSystem::Put(const std::string& path, std::string data) {
  auto file = std::make_shared<TMemoryFile>();
  file->Data = std::move(data);
  Files[path] = file;
  return *file;
}

std::string TMemoryFileSystem::Contents(const std::string& path) const {
  auto it = Files.find(path);
  return it == Files.end() ? std::string() : it->second->Data;
}

}  // namespace vnt
