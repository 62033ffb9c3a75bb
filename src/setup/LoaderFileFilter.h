// The loader window's restore-file handler: names each support file after its record and
// keeps the splash bitmap apart, so start-up can restore it in a pass of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/SetupVNTZip.h"
#include "package/SetupTypes.h"
#include "package/SetupVariables.h"

namespace vnt {

// The two passes over the support archive, as the zip's FilterMode: the splash picture
// alone first, so it can show while the rest is restored.
enum TSupportPass : uint32_t { SupportRestPass = 0, SupportSplashPass = 1 };

class TLoaderFileFilter {
public:
  // restoredFiles receives the full path of every support file that will be written.
  TLoaderFileFilter(const std::vector<TSetupInstallerFile>& supportFiles, TSetupVariables& vars,
                    std::string splashFileName, std::vector<std::string>& restoredFiles)
      : SupportFiles(supportFiles), Vars(vars), SplashFileName(std::move(splashFileName)),
        RestoredFiles(restoredFiles) {}

  // The handler for TSetupVNTZip::OnRestoreFile; filterMode is the zip's FilterMode.
  void vntZipFileRestoreFile(uint32_t filterMode, int32_t id, std::string& fileName, bool& restore);
  // Binds the zip's OnRestoreFile to the handler; the filter must outlive the binding.
  void BindTo(TSetupVNTZip& zip);

private:
  const std::vector<TSetupInstallerFile>& SupportFiles;
  TSetupVariables& Vars;
  std::string SplashFileName;
  std::vector<std::string>& RestoredFiles;
};

}  // namespace vnt
