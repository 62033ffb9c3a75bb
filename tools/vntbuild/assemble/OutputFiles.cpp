#include "vntbuild/assemble/OutputFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "vntbuild/assemble/FileFacts.h"

#ifdef _WIN32
#include <direct.h>
#endif

namespace vnt {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
bool MakeFolder(const std::string& path) { return _mkdir(path.c_str()) == 0; }
#else
bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0700) == 0; }
#endif

}  // namespace

TWriteFile& TOutputFiles::Create(const std::string& path) { return Pending.emplace_back(path); }

std::string TOutputFiles::Write(const std::string& path, const std::string& bytes) {
  TWriteFile& file = Create(path);
  try {
    file.Write(bytes.data(), bytes.size());
    file.Close(true);
  } catch (...) {
    Pending.pop_back();
    throw;
  }
  return file.Path();
}

void TOutputFiles::Place() {
  for (auto& file : Pending) file.Close(true);
  while (!Pending.empty()) {
    TWriteFile& file = Pending.front();
    std::error_code ec;
    fs::rename(file.Path(), file.Place(), ec);
    if (ec) throw EWriteError("cannot put " + file.Place() + " in place: " + ec.message());
    file.Keep();
    Pending.pop_front();
  }
}

TOutputFolder::TOutputFolder(const fs::path& folder) {
  std::error_code ec;
  for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
    Made.insert(Made.begin(), p);
    if (p == p.parent_path()) break;
  }
  // A folder that cannot be made shows when the first file cannot be written there.
  fs::create_directories(folder, ec);
}

TOutputFolder::~TOutputFolder() {
  std::error_code ignored;
  for (auto it = Made.rbegin(); it != Made.rend(); ++it) fs::remove(*it, ignored);
}

TPrivateFolder::TPrivateFolder(const std::string& prefix) {
  fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / (prefix + RandomSuffix());
    if (MakeFolder(candidate.string())) {
      Folder = candidate;
      return;
    }
    if (errno != EEXIST) break;
  }
  throw EWriteError("cannot make a folder in " + base.string() + ": " + std::strerror(errno));
}

TPrivateFolder::~TPrivateFolder() {
  std::error_code ignored;
  fs::remove_all(Folder, ignored);
}

}  // namespace vnt
