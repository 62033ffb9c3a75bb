// A fresh folder under the system's temporary folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace vnt::test {

class TTestFolder {
public:
  TTestFolder() {
    std::random_device random;
    Root = std::filesystem::temp_directory_path() / ("vnt-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(Root);
  }
  ~TTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
  }
  TTestFolder(const TTestFolder&) = delete;
  TTestFolder& operator=(const TTestFolder&) = delete;

  std::filesystem::path Path(const std::string& relative) const { return Root / relative; }
  // Writes a file (and its folders) and answers its path.
  std::filesystem::path Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::path path = Path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

private:
  std::filesystem::path Root;
};

}  // namespace vnt::test
