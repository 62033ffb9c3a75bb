// What the builder writes, written so that nothing of the author's is lost: each file under a
// temporary name beside its place, put in place only when every one is whole; and a private
// folder of its own for intermediate files.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vnt {

class TOutputFiles {
public:
  TOutputFiles() = default;
  TOutputFiles(const TOutputFiles&) = delete;
  TOutputFiles& operator=(const TOutputFiles&) = delete;
  // Removes the temporary files not put in place, as after a failure.
  ~TOutputFiles();

  // Writes bytes to a new temporary file beside path and answers its name; EBuildError,
  // with nothing left behind, when it cannot be written whole.
  std::string Write(const std::string& path, const std::string& bytes);
  // Renames the temporary files onto their places, in the order they were written.
  void Place();

private:
  std::vector<std::pair<std::string, std::string>> Pending;  // temporary, place
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
