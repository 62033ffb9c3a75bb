// Cost of deciding which listed folders a chosen file uses: 10,000 files in 2,000 nested
// folders, each file with a component and a condition, asked folder by folder and in one pass.
#include <chrono>
#include <cstdio>
#include <string>

#include "FakeBuiltins.h"
#include "package/SetupQueries.h"

using namespace vnt;

namespace {

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main() {
  TSetupDescription desc;
  desc.Components = {{{"Program", "", ""}, 0, 0, 0}};
  desc.FileFolders.push_back("%InstallDir%\\");
  for (int top = 0; top < 40; ++top) {
    std::string t = "%InstallDir%\\Top" + std::to_string(top) + "\\";
    desc.FileFolders.push_back(t);
    for (int sub = 0; sub < 49; ++sub) desc.FileFolders.push_back(t + "Sub" + std::to_string(sub) + "\\");
  }
  for (int i = 0; i < 10000; ++i) {
    TSetupInstallerFile f;
    f.Id = i + 1;
    f.File.SourceName = "f" + std::to_string(i) + ".dat";
    f.File.DestFolder = desc.FileFolders[size_t(2 + (i % 1960) / 49 * 50 + i % 49)];
    f.File.Components = "Program";
    f.File.Condition = "%Always% = 1|";
    desc.ProductFiles.push_back(f);
  }
  // The last folder is used by no file: the folder-by-folder question reads every file for it.
  desc.FileFolders.push_back("%InstallDir%\\Unused\\");
  test::TFakeBuiltins builtins;
  TSetupVariables vars(desc, builtins);
  vars.SetVariable("%Always%", "1");
  vars.SelectedComponents = "Program";
  TSetupQueries queries(desc, vars);

  auto start = std::chrono::steady_clock::now();
  size_t unusedOld = 0;
  for (const auto& folder : desc.FileFolders) unusedOld += queries.FolderIsUnused(folder);
  double old = Milliseconds(start);

  start = std::chrono::steady_clock::now();
  size_t unusedNew = 0;
  for (bool unused : queries.UnusedFolders(desc.FileFolders)) unusedNew += unused;
  double onePass = Milliseconds(start);

  std::printf("Unused folders of %zu, %zu files: folder by folder %.1f ms (%zu unused), one pass %.2f ms (%zu unused)\n",
              desc.FileFolders.size(), desc.ProductFiles.size(), old, unusedOld, onePass, unusedNew);
  return unusedOld == unusedNew ? 0 : 1;
}
