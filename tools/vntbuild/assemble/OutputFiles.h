// What the builder writes, written so that nothing of the author's is lost: each file under a
// temporary name beside its place, put in place only when every one is whole; and a private
// folder of its own for intermediate files.
#pragma once

#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "vntbuild/assemble/WriteFile.h"

namespace vnt {

class TOutputFiles {
public:
  TOutputFiles() = default;
  TOutputFiles(const TOutputFiles&) = delete;
  TOutputFiles& operator=(const TOutputFiles&) = delete;

  // A new temporary file beside path, to be written and then put in place with the others;
  // it stays valid as long as this object.
  TWriteFile& Create(const std::string& path);
  // Writes bytes to a new temporary file beside path and answers its name; EBuildError,
  // with nothing left behind, when it cannot be written whole.
  std::string Write(const std::string& path, const std::string& bytes);
  // Closes the files, each once the disk holds it, and renames them onto their places in the
  // order they were made. The files not put in place go with this object, as after a failure.
  void Place();

private:
  std::list<TWriteFile> Pending;
};

// The output's folder, made with the folders above it where missing; unless the build keeps
// them, those made go again (when empty) with this object.
class TOutputFolder {
public:
  explicit TOutputFolder(const std::filesystem::path& folder);
  ~TOutputFolder();
  TOutputFolder(const TOutputFolder&) = delete;
  TOutputFolder& operator=(const TOutputFolder&) = delete;
  void Keep() { Made.clear(); }

private:
  std::vector<std::filesystem::path> Made;  // the deepest last
};

// A new folder under the system's temporary folder with a name nobody can foresee, open to
// its owner only; removed with what it holds when the object goes.
class TPrivateFolder {
public:
  explicit TPrivateFolder(const std::string& prefix);
  ~TPrivateFolder();
  TPrivateFolder(const TPrivateFolder&) = delete;
  TPrivateFolder& operator=(const TPrivateFolder&) = delete;
  const std::filesystem::path& Path() const { return Folder; }

private:
  std::filesystem::path Folder;
};

}  // namespace vnt
