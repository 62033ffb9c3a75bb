// The loader window's restore-file handler: names each support file after its record and
// keeps the splash bitmap apart, so start-up can restore it in a pass of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SetupTypes.h"
#include "SetupVNTZip.h"
#include "SetupVariables.h"

namespace vnt {

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
