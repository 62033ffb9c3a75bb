// Writes the package fuzzing's starting inputs into a folder: package_seeds <folder>.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "PackageFuzzSeeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: package_seeds <folder>\n";
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  std::vector<std::string> seeds = vnt::test::PackageFuzzSeeds();
  for (size_t i = 0; i < seeds.size(); ++i) {
    std::ofstream out(std::filesystem::path(argv[1]) / ("seed" + std::to_string(i) + ".exe"), std::ios::binary);
    out.write(seeds[i].data(), std::streamsize(seeds[i].size()));
    if (!out) {
      std::cerr << "cannot write seed " << i << " into " << argv[1] << "\n";
      return 1;
    }
  }
  std::cout << "wrote " << seeds.size() << " seeds into " << argv[1] << "\n";
  return 0;
}
